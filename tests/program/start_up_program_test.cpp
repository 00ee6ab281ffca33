// The start-up as a user sees it: the loading picture fading in and out,
// the run that follows from demo time 0, and the ways start-up ends early.
// A small preloaded library (shim/swap_watch.cpp) watches the buffer swaps
// from outside and can hold the program still on a chosen frame.
#include <gtest/gtest.h>
#include <signal.h>
#include <stb/stb_image.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "child_process.h"
#include "run_folder.h"
#include "virtual_display.h"

namespace {
constexpr int kFadeFrames = 11;  // each way

struct Swap {
  int number = 0;
  double time = 0.0;        // seconds since the epoch
  double brightness = 0.0;  // mean R + G + B of the frame shown
};

class StartUpProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(display.ok()); }

  std::unique_ptr<ChildProcess> start(const std::string& data, std::vector<std::string> extraArgs = {},
                                      std::vector<std::pair<std::string, std::string>> extraEnv = {}) {
    std::vector<std::string> args{"--run",  "--windowed", "--messages",  "stderr",
                                  "--data", data,         "--frame-log", run.path("frames.log")};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<std::pair<std::string, std::string>> env{{"DISPLAY", display.name()},
                                                         {"SDL_AUDIODRIVER", "dummy"},
                                                         {"LD_PRELOAD", VELMORA_SWAP_WATCH},
                                                         {"ASAN_OPTIONS", asanOptions()},
                                                         {"VELMORA_SWAP_LOG", run.path("swaps.log")}};
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    return std::make_unique<ChildProcess>(VELMORA_EXECUTABLE, args, env);
  }

  // The sanitizer build's runtime must accept the watcher loaded before it.
  static std::string asanOptions() {
    const char* given = std::getenv("ASAN_OPTIONS");
    return (given != nullptr && *given != '\0' ? std::string(given) + ":" : std::string()) + "verify_asan_link_order=0";
  }

  std::vector<Swap> swaps() const {
    std::istringstream log(readFile(run.path("swaps.log")));
    std::vector<Swap> out;
    Swap s;
    while (log >> s.number >> s.time >> s.brightness) out.push_back(s);
    return out;
  }

  // Runs until it has shown `frames` frames, then closes its window.
  void closeAfter(ChildProcess& p, const WindowBox& window, std::size_t frames) {
    waitUntil([&] { return run.frameTimes().size() >= frames; }, 30.0);
    display.requestClose(window);
    EXPECT_EQ(p.waitExit(20.0), 0) << p.err();
  }

  // Holds Escape down until two more frames are logged, so a frame sees it.
  void pressEscape(const WindowBox& window) {
    const size_t frames = run.frameTimes().size();
    display.xdotool("keydown --window " + std::to_string(window.id) + " Escape");
    waitUntil([&] { return run.frameTimes().size() >= frames + 2; }, 30.0);
    display.xdotool("keyup --window " + std::to_string(window.id) + " Escape");
  }

  VirtualDisplay display;
  RunFolder run;
};

TEST_F(StartUpProgramTest, LoadingPictureFadesInAndOutAsACentredSquareThenTheRunStartsAtZero) {
  auto p =
      start(VELMORA_DATA_DIR, {},
            {{"VELMORA_FREEZE_AT_SWAP", std::to_string(kFadeFrames)}, {"VELMORA_FREEZE_MARK", run.path("frozen")}});
  ASSERT_TRUE(waitUntil([&] { return std::filesystem::exists(run.path("frozen")); }, 60.0)) << p->err();
  const pid_t pid = std::stoi(readFile(run.path("frozen")));

  // Held on the last fade-in frame: the picture at full brightness.
  // Everything lit inside the window lies in one 520 x 520 square in its
  // middle, the picture's own dark edge reaching the square's corners.
  const auto window = display.findWindow(kDemoTitle);
  const std::string shot = run.path("loading-screen.png");
  const bool shotTaken = display.screenshot(shot);
  kill(pid, SIGCONT);
  ASSERT_TRUE(window.has_value() && shotTaken) << p->err();
  int width = 0, height = 0, channels = 0;
  unsigned char* screen = stbi_load(shot.c_str(), &width, &height, &channels, 3);
  ASSERT_NE(screen, nullptr);
  auto lit = [&](int x, int y) {
    const unsigned char* q = &screen[(size_t(window->y + y) * width + window->x + x) * 3];
    return q[0] + q[1] + q[2] > 0;
  };
  int left = window->width, right = -1, top = window->height, bottom = -1;
  for (int y = 0; y < window->height; ++y)
    for (int x = 0; x < window->width; ++x)
      if (lit(x, y))
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
  EXPECT_NEAR(left, 140, 1);
  EXPECT_NEAR(right, 659, 1);
  EXPECT_NEAR(top, 40, 1);
  EXPECT_NEAR(bottom, 559, 1);
  for (auto [x, y] : {std::pair{142, 42}, {657, 42}, {142, 557}, {657, 557}}) EXPECT_TRUE(lit(x, y)) << x << ", " << y;
  stbi_image_free(screen);

  closeAfter(*p, *window, 20);

  const std::vector<Swap> s = swaps();
  ASSERT_GE(s.size(), std::size_t(2 * kFadeFrames + 1));
  // Black at the start and the end of the fades, full brightness twice in a
  // row in the middle, strictly brighter and then darker in between.
  EXPECT_EQ(s[0].brightness, 0.0);
  EXPECT_EQ(s[2 * kFadeFrames - 1].brightness, 0.0);
  EXPECT_DOUBLE_EQ(s[kFadeFrames - 1].brightness, s[kFadeFrames].brightness);
  for (int i = 1; i < kFadeFrames; ++i) {
    EXPECT_GT(s[i].brightness, s[i - 1].brightness) << "fade-in frame " << i;
    EXPECT_LT(s[kFadeFrames + i].brightness, s[kFadeFrames + i - 1].brightness) << "fade-out frame " << i;
  }
  // Then the part's frames follow (the piece itself opens from black).
  EXPECT_GT(s.size(), std::size_t(2 * kFadeFrames + 1));

  const std::vector<double> times = run.frameTimes();
  ASSERT_FALSE(times.empty());
  EXPECT_GE(times.front(), 0.0);
  EXPECT_LT(times.front(), 0.25);
}

TEST_F(StartUpProgramTest, MissingOrForeignLoadingPictureNamesItAndEndsWithZero) {
  {
    auto p = start(run.dataWithOwn("textures"));
    EXPECT_EQ(p->waitExit(30.0), 0) << p->err();
    EXPECT_NE(p->err().find("Jpg: textures/loading.jpg\n"), std::string::npos) << p->err();
    EXPECT_TRUE(run.frameTimes().empty());
    EXPECT_TRUE(swaps().empty());  // not a single loading frame
  }
  const std::string data = run.dataWithOwn("textures");
  std::ofstream(data + "/textures/loading.jpg", std::ios::binary) << "GIF89a, not a JPEG at all";
  auto p = start(data);
  EXPECT_EQ(p->waitExit(30.0), 0) << p->err();
  EXPECT_NE(p->err().find("Jpg !: textures/loading.jpg\n"), std::string::npos) << p->err();
  EXPECT_TRUE(run.frameTimes().empty());
}

// The set-up's pictures are decoded ahead, on worker threads, yet a failure
// is told where the loading meets it: the first picture to fail in load
// order is the one named, after the loading picture has faded in, and the
// run ends with 0 before the production's first frame.
TEST_F(StartUpProgramTest, FirstSetUpPictureToFailInLoadOrderIsTheOneNamed) {
  namespace fs = std::filesystem;
  const std::string data = run.dataWithOwn("textures");
  for (const auto& entry : fs::directory_iterator(fs::path(VELMORA_DATA_DIR) / "textures"))
    fs::create_symlink(entry.path(), fs::path(data) / "textures" / entry.path().filename());
  const fs::path early = fs::path(data) / "textures/blob41b.jpg";     // among the first pictures
  const fs::path late = fs::path(data) / "textures/1night_negy.jpg";  // the sky, near the end
  fs::remove(late);
  fs::remove(early);
  std::ofstream(early, std::ios::binary) << "GIF89a, not a JPEG at all";
  {
    auto p = start(data);
    EXPECT_EQ(p->waitExit(30.0), 0) << p->err();
    EXPECT_NE(p->err().find("Jpg !: textures/blob41b.jpg\n"), std::string::npos) << p->err();
    EXPECT_EQ(p->err().find("1night_negy"), std::string::npos) << p->err();
    EXPECT_TRUE(run.frameTimes().empty());
    EXPECT_EQ(swaps().size(), std::size_t(kFadeFrames));  // faded in, never out
  }
  fs::remove(early);
  fs::create_symlink(fs::path(VELMORA_DATA_DIR) / "textures/blob41b.jpg", early);
  auto p = start(data, {"--slow-gpu"});
  EXPECT_EQ(p->waitExit(30.0), 0) << p->err();
  EXPECT_NE(p->err().find("Jpg: textures/1night_negy.jpg\n"), std::string::npos) << p->err();
  EXPECT_TRUE(run.frameTimes().empty());
}

// Fragment programs without separable programs cannot bind a program pair
// by stage: that card plays the fixed-function rendition, told the same.
TEST_F(StartUpProgramTest, CardWithoutSeparableProgramsIsToldItHasNoFragmentPrograms) {
  auto p = start(
      VELMORA_DATA_DIR, {},
      {{"MESA_GL_VERSION_OVERRIDE", "3.3COMPAT"}, {"MESA_EXTENSION_OVERRIDE", "-GL_ARB_separate_shader_objects"}});
  const auto window = display.waitForWindow(kDemoTitle, 30.0);
  ASSERT_TRUE(window.has_value()) << p->err();
  closeAfter(*p, *window, 3);
  EXPECT_NE(p->err().find("Graphics card does not support fragment programs."), std::string::npos) << p->err();
}

// Escape fades the picture to black over its 1.25 s, whatever projection
// the part left behind, before the window closes. The key is held until
// two frames have seen it.
TEST_F(StartUpProgramTest, EscapeFadesThePictureToBlack) {
  auto p = start(VELMORA_DATA_DIR, {"--start", "9"}, {{"VELMORA_SWAP_LOG_FRAMES", "100000"}});
  const auto window = display.waitForWindow(kDemoTitle, 30.0);
  ASSERT_TRUE(window.has_value()) << p->err();
  ASSERT_TRUE(waitUntil([&] { return run.frameTimes().size() >= 10; }, 60.0)) << p->err();
  pressEscape(*window);
  ASSERT_EQ(p->waitExit(30.0), 0) << p->err();
  const std::vector<Swap> s = swaps();
  ASSERT_GT(s.size(), std::size_t(2 * kFadeFrames + 4));
  double brightest = 0.0;
  for (size_t i = 2 * kFadeFrames; i + 3 < s.size(); ++i) brightest = std::max(brightest, s[i].brightness);
  EXPECT_GT(brightest, 20.0);  // the scene was there
  // and is nearly gone in the last frame shown: the frame that would reach
  // full black ends the run instead of being shown, so a slow machine's last
  // frame keeps a few percent of the light.
  EXPECT_LT(s.back().brightness, 0.15 * brightest);
}

TEST_F(StartUpProgramTest, CardWithoutFragmentProgramsIsToldSoAndStillPlays) {
  const std::string told = kDemoTitle +
                           ": Graphics card does not support fragment programs. \\n \\nCards supported are: "
                           "\\n-------------------------- \\n NVidia Geforce FX+ \\n Radeon 9500+ \\n \\n The demo "
                           "will play using OpenGL 1.0.";
  const std::pair<std::string, std::string> noFragmentPrograms{
      "MESA_EXTENSION_OVERRIDE", "-GL_ARB_fragment_program -GL_ARB_fragment_program_shadow"};
  for (bool slow : {false, true}) {
    SCOPED_TRACE(slow ? "slow graphics card" : "fast graphics card");
    std::filesystem::remove(run.path("frames.log"));
    auto p = start(VELMORA_DATA_DIR, slow ? std::vector<std::string>{"--slow-gpu"} : std::vector<std::string>{},
                   {noFragmentPrograms});
    const auto window = display.waitForWindow(kDemoTitle, 30.0);
    ASSERT_TRUE(window.has_value()) << p->err();
    closeAfter(*p, *window, 5);
    EXPECT_GE(run.frameTimes().size(), 5u);
    // "Slow graphics card" never asks the card.
    EXPECT_EQ(p->err().find(told) != std::string::npos, !slow) << p->err();
  }
}

}  // namespace
