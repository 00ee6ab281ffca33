#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/message_box.h"
#include "platform/system.h"
#include "platform/virtual_keys.h"

TEST(VirtualKeys, KeysTheFramesReadHaveTheirWin32Codes) {
  EXPECT_EQ(virtualKeyFromSdlKeycode(SDLK_ESCAPE), 0x1B);
  EXPECT_EQ(virtualKeyFromSdlKeycode(SDLK_LEFT), 0x25);
  EXPECT_EQ(virtualKeyFromSdlKeycode(SDLK_UP), 0x26);
  EXPECT_EQ(virtualKeyFromSdlKeycode(SDLK_RIGHT), 0x27);
  EXPECT_EQ(virtualKeyFromSdlKeycode(SDLK_DOWN), 0x28);
  EXPECT_EQ(virtualKeyFromSdlKeycode(SDLK_a), 'A');
  EXPECT_EQ(virtualKeyFromSdlKeycode(SDLK_z), 'Z');
  EXPECT_EQ(virtualKeyFromSdlKeycode(SDLK_5), '5');
  EXPECT_EQ(virtualKeyFromSdlKeycode(SDLK_F12), 0x7B);
  EXPECT_EQ(virtualKeyFromSdlKeycode(SDLK_KP_0), 0x60);
  EXPECT_EQ(virtualKeyFromSdlKeycode(SDLK_KP_9), 0x69);
  EXPECT_EQ(virtualKeyFromSdlKeycode(SDLK_RETURN), 0x0D);
  EXPECT_EQ(virtualKeyFromSdlKeycode(SDLK_SPACE), 0x20);
  EXPECT_EQ(virtualKeyFromSdlKeycode(SDLK_VOLUMEUP), 0);
}

TEST(MessageBox, StderrRouteAnswersYes) {
  setMessageRoute(MessageRoute::Stderr);
  testing::internal::CaptureStderr();
  EXPECT_TRUE(askYesNo("Q", "Go on?", MessageIcon::Exclamation));
  showMessage("ERROR", "Line one\nline two", MessageIcon::Stop);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err, "Q: Go on?\nERROR: Line one\\nline two\n");
  setMessageRoute(MessageRoute::Box);
}

TEST(PerformanceCounter, RunsForwardAtItsStatedRate) {
  ASSERT_GT(performanceFrequency(), 0);
  const int64_t a = performanceCounter();
  sleepMilliseconds(20);
  const int64_t b = performanceCounter();
  const double seconds = static_cast<double>(b - a) / static_cast<double>(performanceFrequency());
  EXPECT_GE(seconds, 0.015);
  EXPECT_LT(seconds, 5.0);  // generous: a loaded machine may oversleep
}

TEST(Clipboard, TextRoundTripsThroughTheSystemClipboard) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  const std::string text = "Cam :0.,0.,0.  \nPnt :0.,0.,0.  \n \n";
  ASSERT_TRUE(setClipboardText(text));
  // The text may be served by a helper that takes the selection a moment later.
  std::string back;
  for (int attempt = 0; attempt < 100 && back != text; ++attempt) {
    char* got = SDL_GetClipboardText();
    back = got;
    SDL_free(got);
    if (back != text) sleepMilliseconds(20);
  }
  EXPECT_EQ(back, text);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
