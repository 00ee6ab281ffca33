#include <gtest/gtest.h>

#include <cmath>

#include "app/message_loop.h"
#include "app/window_proc.h"
#include "platform/virtual_keys.h"

namespace {
class WindowProcTest : public ::testing::Test {
 protected:
  void send(EventKind kind, int key = 0, double dt = 0.1, int wheel = 0, bool repeat = false, bool minimized = false) {
    PlatformEvent e;
    e.kind = kind, e.virtualKey = key, e.wheelDelta = wheel, e.repeat = repeat, e.minimized = minimized;
    windowProc(shell, inputs, e, dt);
  }
  std::pair<double, double> arrows() const {
    return {std::round(inputs.arrowVertical * 1e9) / 1e9, std::round(inputs.arrowHorizontal * 1e9) / 1e9};
  }
  ShellState shell;
  FrameInputs inputs;
};

// Keys are kept by virtual-key code; window events set the shell; the
// arrows act only on messages with default processing (not keys, not the
// wheel), 1.5 a second vertically and 1 horizontally, opposites cancelling.
TEST_F(WindowProcTest, KeysWindowEventsAndArrowsActAsTheMessagesSay) {
  send(EventKind::KeyDown, vk::Escape);
  send(EventKind::KeyDown, vk::Up);
  send(EventKind::KeyDown, vk::Right);
  EXPECT_TRUE(shell.keys[0x1B] && shell.keys[0x26]);
  EXPECT_EQ(arrows(), std::pair(0.0, 0.0));
  send(EventKind::Other, 0, 0.2);  // a mouse move, say
  EXPECT_EQ(arrows(), std::pair(0.3, 0.2));
  send(EventKind::KeyDown, vk::Down);
  send(EventKind::KeyDown, vk::Left);
  send(EventKind::LeftButtonDown, 0, 0.2);
  EXPECT_EQ(arrows(), std::pair(0.3, 0.2));
  EXPECT_TRUE(shell.leftButtonDown);
  send(EventKind::KeyUp, vk::Up);
  send(EventKind::KeyUp, vk::Right);
  send(EventKind::LeftButtonUp, 0, 0.1);
  EXPECT_FALSE(shell.keys[0x26] || shell.leftButtonDown);
  EXPECT_EQ(arrows(), std::pair(0.15, 0.1));
  send(EventKind::MouseWheel, 0, 0.1, 120);  // a fifth a notch, in single precision
  EXPECT_EQ(shell.wheel, static_cast<double>(120.0f * 0.0016666667f));
  send(EventKind::MouseWheel, 0, 0.1, -240);
  EXPECT_NEAR(shell.wheel, -0.2, 1e-6);
  EXPECT_EQ(arrows(), std::pair(0.15, 0.1));
  send(EventKind::Activate, 0, 0.1, 0, false, true);
  EXPECT_FALSE(shell.active);
  send(EventKind::Activate);
  EXPECT_TRUE(shell.active);
  send(EventKind::Close);
  EXPECT_TRUE(shell.quitPosted && shell.quitCode == 0);
}

TEST_F(WindowProcTest, MiddleButtonAppendsEachRecordAndPlaybackKeysCountOncePerPress) {
  send(EventKind::MiddleButtonDown);
  EXPECT_EQ(shell.clipboardText, "Cam :0.,0.,0.  \nPnt :0.,0.,0.  \n \n");
  inputs.cameraX = (600 - 400) * 0.0175;
  inputs.cameraY = (150 - 300) * 0.023333333333333334;
  inputs.cameraZ = 0.2;
  inputs.pointX = 1.5, inputs.pointY = -2.0, inputs.pointZ = 0.25;
  send(EventKind::MiddleButtonDown);
  send(EventKind::MiddleButtonDown);
  const std::string one = "Cam :3.5,-3.5,0.2  \nPnt :1.5,-2.,0.25  \n \n";
  EXPECT_EQ(shell.clipboardText, "Cam :0.,0.,0.  \nPnt :0.,0.,0.  \n \n" + one + one);
  ASSERT_EQ(inputs.recordedPoints.size(), 3u);
  const FlagVec3 p = inputs.recordedPoints[2];
  EXPECT_TRUE(p.flag == 1 && p.x == 1.5f && p.y == -2.0f && p.z == 0.25f);
  for (bool repeat : {false, true, true}) send(EventKind::KeyDown, vk::Space, 0.1, 0, repeat);  // held: no flicker
  for (int key : {vk::OemPeriod, vk::OemPeriod, vk::OemPeriod, vk::OemComma, vk::OemSlash, vk::OemSlash})
    send(EventKind::KeyDown, key);
  send(EventKind::KeyUp, vk::OemSlash);  // releases ask for nothing
  EXPECT_TRUE(shell.playback.togglePause);
  EXPECT_EQ(shell.playback.steps, 3);
  EXPECT_EQ(shell.playback.jumpSeconds, 1);
  EXPECT_TRUE(shell.keys[vk::OemComma]);  // and the key table still sees them
}

TEST(EndRequest, EscapeLatchesOnceWithTheTimeOfTheFirstPress) {
  ShellState shell;
  latchEndRequest(shell, 3.0);
  EXPECT_FALSE(shell.endRequested);
  shell.keys[vk::Escape] = true;
  for (double t : {4.0, 4.5, 6.0}) latchEndRequest(shell, t);
  EXPECT_TRUE(shell.endRequested);
  EXPECT_EQ(shell.endStartTime, 4.0);
}

// A tap whose press and release both arrive between two slow frames still
// ends the run, once; the next frame no longer sees it.
TEST_F(WindowProcTest, ATapBetweenTwoFramesIsNotLost) {
  send(EventKind::KeyDown, vk::Escape);
  send(EventKind::KeyUp, vk::Escape);
  EXPECT_FALSE(shell.keys[vk::Escape]);
  latchEndRequest(shell, 9.0);
  EXPECT_TRUE(shell.endRequested);
  EXPECT_EQ(shell.endStartTime, 9.0);
  EXPECT_FALSE(shell.pressedSinceFrame[vk::Escape]);
}
}  // namespace
