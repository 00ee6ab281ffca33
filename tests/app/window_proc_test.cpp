#include <gtest/gtest.h>

#include "app/message_loop.h"
#include "app/window_proc.h"
#include "platform/virtual_keys.h"

namespace {
PlatformEvent eventOf(EventKind kind) {
  PlatformEvent e;
  e.kind = kind;
  return e;
}

PlatformEvent key(EventKind kind, int code) {
  PlatformEvent e = eventOf(kind);
  e.virtualKey = code;
  return e;
}

PlatformEvent wheel(int units) {
  PlatformEvent e = eventOf(EventKind::MouseWheel);
  e.wheelDelta = units;
  return e;
}

class WindowProcTest : public ::testing::Test {
 protected:
  void send(const PlatformEvent& e, double dt = 0.1) { windowProc(shell, inputs, e, dt); }
  ShellState shell;
  FrameInputs inputs;
};

TEST_F(WindowProcTest, KeysAreKeptByVirtualKeyCodeAndWindowEventsSetTheShell) {
  send(key(EventKind::KeyDown, vk::Escape));
  send(key(EventKind::KeyDown, vk::Up));
  send(key(EventKind::KeyUp, vk::Up));
  EXPECT_TRUE(shell.keys[0x1B]);
  EXPECT_FALSE(shell.keys[0x26]);

  PlatformEvent minimise = eventOf(EventKind::Activate);
  minimise.minimized = true;
  send(minimise);
  EXPECT_FALSE(shell.active);
  send(eventOf(EventKind::Activate));
  EXPECT_TRUE(shell.active);

  send(eventOf(EventKind::Close));
  EXPECT_TRUE(shell.quitPosted);
  EXPECT_EQ(shell.quitCode, 0);
}

TEST_F(WindowProcTest, ArrowKeysActOnlyOnMessagesWithDefaultProcessing) {
  send(key(EventKind::KeyDown, vk::Up));
  send(key(EventKind::KeyDown, vk::Right));
  // Key messages themselves are handled without default processing.
  EXPECT_EQ(inputs.arrowVertical, 0.0);
  EXPECT_EQ(inputs.arrowHorizontal, 0.0);
  send(eventOf(EventKind::Other), 0.2);  // a mouse move, say
  EXPECT_DOUBLE_EQ(inputs.arrowVertical, 0.3);
  EXPECT_DOUBLE_EQ(inputs.arrowHorizontal, 0.2);
  send(key(EventKind::KeyDown, vk::Down));
  send(key(EventKind::KeyDown, vk::Left));
  send(eventOf(EventKind::LeftButtonDown), 0.2);
  // Up and down, left and right cancel each other.
  EXPECT_DOUBLE_EQ(inputs.arrowVertical, 0.3);
  EXPECT_DOUBLE_EQ(inputs.arrowHorizontal, 0.2);
  EXPECT_TRUE(shell.leftButtonDown);
  send(key(EventKind::KeyUp, vk::Up));
  send(key(EventKind::KeyUp, vk::Right));
  send(eventOf(EventKind::LeftButtonUp), 0.1);
  EXPECT_DOUBLE_EQ(inputs.arrowVertical, 0.15);
  EXPECT_DOUBLE_EQ(inputs.arrowHorizontal, 0.1);
  EXPECT_FALSE(shell.leftButtonDown);
}

TEST_F(WindowProcTest, WheelAddsAFifthPerNotchInSinglePrecision) {
  send(wheel(120));
  EXPECT_EQ(shell.wheel, static_cast<double>(120.0f * 0.0016666667f));
  EXPECT_NEAR(shell.wheel, 0.2, 1e-7);
  send(wheel(-240));
  EXPECT_NEAR(shell.wheel, -0.2, 1e-6);
  // Wheel messages get no default processing: the arrows stay.
  shell.keys[vk::Up] = true;
  send(wheel(120));
  EXPECT_EQ(inputs.arrowVertical, 0.0);
}

TEST_F(WindowProcTest, MiddleButtonAppendsEachRecord) {
  send(eventOf(EventKind::MiddleButtonDown));
  EXPECT_EQ(shell.clipboardText, "Cam :0.,0.,0.  \nPnt :0.,0.,0.  \n \n");
  ASSERT_EQ(inputs.recordedPoints.size(), 1u);
  EXPECT_EQ(inputs.recordedPoints[0].flag, 1);

  shell.clipboardText.clear();
  inputs.recordedPoints.clear();
  inputs.cameraX = (600 - 400) * 0.0175;
  inputs.cameraY = (150 - 300) * 0.023333333333333334;
  inputs.cameraZ = 0.2;
  inputs.pointX = 1.5;
  inputs.pointY = -2.0;
  inputs.pointZ = 0.25;
  send(eventOf(EventKind::MiddleButtonDown));
  send(eventOf(EventKind::MiddleButtonDown));
  const std::string one = "Cam :3.5,-3.5,0.2  \nPnt :1.5,-2.,0.25  \n \n";
  EXPECT_EQ(shell.clipboardText, one + one);
  ASSERT_EQ(inputs.recordedPoints.size(), 2u);
  EXPECT_EQ(inputs.recordedPoints[1].x, 1.5f);
  EXPECT_EQ(inputs.recordedPoints[1].y, -2.0f);
  EXPECT_EQ(inputs.recordedPoints[1].z, 0.25f);
}

TEST(EndRequest, EscapeLatchesOnceWithTheTimeOfTheFirstPress) {
  ShellState shell;
  latchEndRequest(shell, 3.0);
  EXPECT_FALSE(shell.endRequested);
  shell.keys[vk::Escape] = true;
  latchEndRequest(shell, 4.0);
  latchEndRequest(shell, 4.5);
  shell.keys[vk::Escape] = false;
  shell.keys[vk::Escape] = true;
  latchEndRequest(shell, 6.0);
  EXPECT_TRUE(shell.endRequested);
  EXPECT_EQ(shell.endStartTime, 4.0);
}

// A tap whose press and release both arrive between two slow frames still
// ends the run, once; the next frame no longer sees it.
TEST(EndRequest, ATapBetweenTwoFramesIsNotLost) {
  ShellState shell;
  FrameInputs inputs;
  windowProc(shell, inputs, key(EventKind::KeyDown, vk::Escape), 0.1);
  windowProc(shell, inputs, key(EventKind::KeyUp, vk::Escape), 0.1);
  EXPECT_FALSE(shell.keys[vk::Escape]);
  latchEndRequest(shell, 9.0);
  EXPECT_TRUE(shell.endRequested);
  EXPECT_EQ(shell.endStartTime, 9.0);
  EXPECT_FALSE(shell.pressedSinceFrame[vk::Escape]);
}
}  // namespace

namespace {
TEST_F(WindowProcTest, PlaybackKeysAreCountedOncePerPressAndAHeldSpaceDoesNotFlicker) {
  PlatformEvent space = key(EventKind::KeyDown, vk::Space);
  send(space);
  space.repeat = true;
  send(space);
  send(space);
  for (int i = 0; i < 3; ++i) send(key(EventKind::KeyDown, vk::OemPeriod));
  send(key(EventKind::KeyDown, vk::OemComma));
  send(key(EventKind::KeyDown, vk::OemSlash));
  send(key(EventKind::KeyDown, vk::OemSlash));
  send(key(EventKind::KeyUp, vk::OemSlash));  // releases ask for nothing
  EXPECT_TRUE(shell.playback.togglePause);
  EXPECT_EQ(shell.playback.steps, 3);
  EXPECT_EQ(shell.playback.jumpSeconds, 1);
  EXPECT_TRUE(shell.keys[vk::OemComma]);  // and the key table still sees them
}
}  // namespace
