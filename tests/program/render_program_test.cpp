// Rendering chosen moments from the command line: shots and captures are
// reproducible byte for byte, meet the live run's frames, and fail loudly
// without leaving a result that looks complete.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <stb/stb_image.h>

#include "child_process.h"
#include "run_folder.h"
#include "virtual_display.h"

namespace fs = std::filesystem;

namespace {
using Env = std::vector<std::pair<std::string, std::string>>;

std::vector<std::string> names(const std::string& folder) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(folder)) found.push_back(entry.path().filename().string());
  std::sort(found.begin(), found.end());
  return found;
}

// Width and height from a PNG's header.
std::pair<int, int> pngSize(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
  const auto at = [&](size_t i) {
    return (static_cast<unsigned char>(bytes[i]) << 24) | (static_cast<unsigned char>(bytes[i + 1]) << 16) |
           (static_cast<unsigned char>(bytes[i + 2]) << 8) | static_cast<unsigned char>(bytes[i + 3]);
  };
  return {at(16), at(20)};
}

std::string probe(const std::string& video, const std::string& entries) {
  const std::string cmd = "ffprobe -v error -count_frames -of default=nw=1 -show_entries " + entries + " " + video;
  std::string text;
  if (std::FILE* p = popen(cmd.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, p) != nullptr) text += buffer;
    pclose(p);
  }
  return text;
}

class RenderProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(display.ok()); }

  std::unique_ptr<ChildProcess> start(std::vector<std::string> args, const Env& extraEnv = {},
                                      const std::string& data = VELMORA_DATA_DIR) {
    args.insert(args.begin(), {"--data", data});
    Env env{{"DISPLAY", display.name()}, {"SDL_AUDIODRIVER", "dummy"}};
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    return std::make_unique<ChildProcess>(VELMORA_EXECUTABLE, args, env);
  }

  // Runs to its end; the exit code (nothing when it hung).
  std::optional<int> render(const std::vector<std::string>& args, const Env& env = {}, std::string* err = nullptr) {
    auto p = start(args, env);
    // A whole run with every layer takes minutes on a loaded software renderer.
    const std::optional<int> code = p->waitExit(400.0);
    if (err != nullptr) *err = p->err();
    EXPECT_TRUE(code.has_value()) << p->err();
    return code;
  }

  // Nothing under the result's name and no temporary leftovers beside it.
  void expectNothingLeftFor(const std::string& name) {
    EXPECT_FALSE(fs::exists(run.path(name)));
    for (const std::string& n : names(run.path(""))) EXPECT_EQ(n.find(".partial"), std::string::npos) << n;
  }

  VirtualDisplay display;
  RunFolder run;
};

TEST_F(RenderProgramTest, ShotsAndCapturesAreTheSameBytesEveryTime) {
  std::string err;
  for (const char* name : {"a.png", "b.png"}) {
    ASSERT_EQ(render({"--shot", "12.5", run.path(name)}, {}, &err), 0) << err;
    EXPECT_EQ(err, "");  // no dialog, no message, no progress for a shot
  }
  const std::string a = readFile(run.path("a.png"));
  EXPECT_EQ(pngSize(a), std::make_pair(800, 600));
  EXPECT_EQ(a, readFile(run.path("b.png")));

  for (const char* name : {"one", "two"}) {
    ASSERT_EQ(render({"--capture", run.path(name), "--fps", "10", "--start", "5", "--end", "6"}, {}, &err), 0) << err;
    EXPECT_NE(err.find("frame 10 of 10 (100 %)"), std::string::npos) << err;
  }
  const std::vector<std::string> frames = names(run.path("one"));
  ASSERT_EQ(frames.size(), 10u);
  EXPECT_EQ(frames.front(), "frame_00000.png");
  EXPECT_EQ(frames.back(), "frame_00009.png");
  EXPECT_EQ(names(run.path("two")), frames);
  for (const std::string& f : frames) {
    EXPECT_EQ(readFile(run.path("one/" + f)), readFile(run.path("two/" + f))) << f;
  }
  // The moving picture moves (compared as bools: a failure must not print
  // two PNGs).
  EXPECT_TRUE(readFile(run.path("one/" + frames[0])) != readFile(run.path("one/" + frames[9])));
}

// Mean difference per channel (0..255) of two PNGs of one size; 255 when
// either cannot be read.
double meanDifference(const std::string& a, const std::string& b) {
  int w[2] = {0, 0}, h[2] = {0, 0}, n = 0;
  unsigned char* p = stbi_load(a.c_str(), &w[0], &h[0], &n, 3);
  unsigned char* q = stbi_load(b.c_str(), &w[1], &h[1], &n, 3);
  double sum = 255.0;
  if (p != nullptr && q != nullptr && w[0] == w[1] && h[0] == h[1]) {
    const size_t size = size_t(w[0]) * size_t(h[0]) * 3;
    sum = 0.0;
    for (size_t i = 0; i < size; ++i) sum += std::abs(int(p[i]) - int(q[i]));
    sum /= double(size);
  }
  stbi_image_free(p);
  stbi_image_free(q);
  return sum;
}

TEST_F(RenderProgramTest, AShotIsTheCapturesFrameAtTheSameMoment) {
  // At 2 frames a second a capture from 0 reaches 17.5 s (part time runs
  // faster by then) in 36 frames; the shot takes the same steps. The fixed
  // function draws nothing from earlier frames, so all three agree byte for
  // byte.
  ASSERT_EQ(render({"--slow-gpu", "--capture", run.path("run"), "--fps", "2", "--end", "18"}), 0);
  ASSERT_EQ(render({"--slow-gpu", "--shot", "17.5", run.path("shot.png"), "--fps", "2"}), 0);
  ASSERT_EQ(render({"--slow-gpu", "--capture", run.path("late"), "--fps", "2", "--start", "17.5", "--end", "18"}), 0);
  const std::string frame35 = readFile(run.path("run/frame_00035.png"));
  EXPECT_TRUE(readFile(run.path("shot.png")) == frame35);
  EXPECT_TRUE(readFile(run.path("late/frame_00000.png")) == frame35);

  // The shader rendition's glow and ripples feed on the frames before: a
  // shot and a late start draw the same half second first, so they agree
  // byte for byte, and both look as a capture that has run for seconds
  // does (0.03 of 255 on average, measured).
  ASSERT_EQ(render({"--shot", "17.5", run.path("glow.png"), "--fps", "10"}), 0);
  ASSERT_EQ(render({"--capture", run.path("glowing"), "--fps", "10", "--start", "17.5", "--end", "17.6"}), 0);
  ASSERT_EQ(render({"--capture", run.path("long"), "--fps", "10", "--start", "14", "--end", "17.6"}), 0);
  EXPECT_TRUE(readFile(run.path("glow.png")) == readFile(run.path("glowing/frame_00000.png")));
  EXPECT_LT(meanDifference(run.path("glow.png"), run.path("long/frame_00035.png")), 0.5);
}

// The fixed function opens no shader file: with the shader folder empty it
// plays without a word. The shader rendition names each missing file and
// still plays.
TEST_F(RenderProgramTest, NoShaderFileIsNeededByTheFixedFunctionAndNoneStopsTheShaderRendition) {
  const std::string data = run.dataWithOwn("cgeffects");
  auto beta = start({"--slow-gpu", "--shot", "20", run.path("beta.png")}, {}, data);
  ASSERT_EQ(beta->waitExit(120.0), std::optional<int>(0)) << beta->err();
  EXPECT_EQ(beta->err(), "");
  EXPECT_EQ(pngSize(readFile(run.path("beta.png"))), std::make_pair(800, 600));

  auto alpha = start({"--shot", "20", run.path("alpha.png")}, {}, data);
  ASSERT_EQ(alpha->waitExit(120.0), std::optional<int>(0)) << alpha->err();
  EXPECT_NE(alpha->err().find("cgeffects/fragment_Blur256.cpp"), std::string::npos) << alpha->err();
  EXPECT_NE(alpha->err().find("cgeffects/vertex_projection_anisotropic_water.cpp"), std::string::npos);
  EXPECT_EQ(pngSize(readFile(run.path("alpha.png"))), std::make_pair(800, 600));
}

TEST_F(RenderProgramTest, WholeRunAsMp4HasEveryFrameAndTheTrackInStep) {
  std::string err;
  ASSERT_EQ(render({"--capture", run.path("demo.mp4"), "--fps", "30"}, {}, &err), 0) << err;
  EXPECT_NE(
      probe(run.path("demo.mp4"), "stream=codec_type,nb_read_frames").find("codec_type=video\nnb_read_frames=1005"),
      std::string::npos);
  const std::string audio = probe(run.path("demo.mp4"), "stream=duration -select_streams a");
  ASSERT_EQ(audio.rfind("duration=", 0), 0u) << audio;
  EXPECT_NEAR(std::stod(audio.substr(9)), 33.5, 0.1);
  expectNothingLeftFor("no-such-name");
}

// The whole run measured at 2 steps a second: figures on stdout, the same
// as JSON, every frame of the run counted, the layers named.
TEST_F(RenderProgramTest, BenchMeasuresEveryFrameAndEachLayer) {
  for (const char* rendition : {"alpha", "beta"}) {
    SCOPED_TRACE(rendition);
    const std::string json = run.path(std::string(rendition) + ".json");
    auto p = start({"--bench", "--fps", "2", "--rendition", rendition, "--bench-json", json});
    ASSERT_EQ(p->waitExit(120.0), std::optional<int>(0)) << p->err();
    EXPECT_NE(p->out().find(std::string("rendition ") + rendition + ", 67 frames of 800 x 600 at 2 steps a second"),
              std::string::npos)
        << p->out();
    EXPECT_NE(p->out().find("slowest moments:"), std::string::npos);
    const std::string figures = readFile(json);
    EXPECT_NE(figures.find("\"frames\": 67"), std::string::npos) << figures;
    EXPECT_NE(figures.find("\"name\": \"base mesh\""), std::string::npos) << figures;
    EXPECT_EQ(figures.find("\"name\": \"water\"") != std::string::npos, std::string(rendition) == "alpha");
  }
}

TEST_F(RenderProgramTest, FailuresNameTheCauseEndWithOneAndLeaveNoResult) {
  const std::string fakes = run.path("bin");
  fs::create_directories(fakes);
  // An encoder that takes a few frames, complains and dies.
  const std::string dying = fakes + "/ffmpeg";
  std::ofstream(dying) << "#!/bin/sh\nhead -c 3000000 >/dev/null\necho 'encoder on fire' >&2\nexit 3\n";
  fs::permissions(dying, fs::perms::owner_all);
  fs::create_directories(run.path("busy"));
  std::ofstream(run.path("busy/keep.txt")) << "mine";
  std::ofstream(run.path("plain-file")) << "not a folder";

  struct Case {
    const char* what;
    std::vector<std::string> args;
    Env env;
    std::string says;
    std::string result;
  };
  const std::vector<Case> cases = {
      {"no ffmpeg",
       {"--capture", run.path("v.mp4"), "--end", "1"},
       {{"PATH", "/nonexistent"}},
       "\"ffmpeg\" was not found",
       "v.mp4"},
      {"ffmpeg dies", {"--capture", run.path("v.mkv"), "--end", "2"}, {{"PATH", fakes}}, "encoder on fire", "v.mkv"},
      {"folder in use", {"--capture", run.path("busy"), "--end", "1"}, {}, "not an empty folder", ""},
      {"no such folder", {"--shot", "1", run.path("plain-file/x.png")}, {}, "cannot write", "plain-file/x.png"},
      {"too large",
       {"--shot", "1", run.path("huge.png"), "--size", "16000x12000", "--supersample", "4"},
       {},
       "a picture of 64000 x 48000 pixels is more than this graphics driver can draw",
       "huge.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string err;
    EXPECT_EQ(render(c.args, c.env, &err), 1);
    EXPECT_NE(err.find(c.says), std::string::npos) << err;
    if (!c.result.empty()) expectNothingLeftFor(c.result);
  }
  EXPECT_EQ(names(run.path("busy")), std::vector<std::string>{"keep.txt"});
}

TEST_F(RenderProgramTest, AFullDiskStopsTheCaptureWithoutAResult) {
  // A file size limit stands in for the full disk: writes beyond it fail,
  // for us with the first picture, for the encoder part of the way through.
  for (const auto& [out, blocks] : {std::pair{"frames", "4"}, {"full.mkv", "8"}}) {
    SCOPED_TRACE(out);
    ChildProcess p("/bin/sh",
                   {"-c", std::string("ulimit -f ") + blocks + "; trap '' XFSZ; exec \"$0\" \"$@\"", VELMORA_EXECUTABLE,
                    "--data", VELMORA_DATA_DIR, "--no-music", "--capture", run.path(out), "--fps", "30", "--end", "4"},
                   {{"DISPLAY", display.name()}, {"SDL_AUDIODRIVER", "dummy"}});
    EXPECT_EQ(p.waitExit(120.0), 1) << p.err();
    EXPECT_NE(p.err().find("File too large"), std::string::npos) << p.err();
    expectNothingLeftFor(out);
  }
}

TEST_F(RenderProgramTest, CtrlCStopsCleanly) {
  for (const char* out : {"frames", "cut.webm"}) {
    SCOPED_TRACE(out);
    auto p = start({"--capture", run.path(out), "--fps", "30"});
    ASSERT_TRUE(waitUntil([&] { return p->err().find("frame ") != std::string::npos; }, 60.0)) << p->err();
    p->signal(SIGINT);
    EXPECT_EQ(p->waitExit(30.0), 1);
    EXPECT_NE(p->err().find("interrupted"), std::string::npos) << p->err();
    expectNothingLeftFor(out);
  }
}

TEST_F(RenderProgramTest, LiveRunStartsLateWithTheMusicThere) {
  auto p =
      start({"--run", "--windowed", "--messages", "stderr", "--start", "31", "--frame-log", run.path("frames.log")});
  EXPECT_EQ(p->waitExit(60.0), 0) << p->err();
  std::istringstream log(readFile(run.path("frames.log")));
  double demo = 0, music = 0, step = 0;
  ASSERT_TRUE(log >> demo >> music >> step);
  EXPECT_GE(demo, 31.0);
  EXPECT_LT(demo, 31.3);
  EXPECT_NEAR(music, 31.0, 0.3);  // heard from there, not from the start
  const std::vector<double> times = run.frameTimes();
  EXPECT_GT(times.back(), 33.5);
}
}  // namespace

namespace {
class LiveKeysProgramTest : public RenderProgramTest {
 protected:
  double lastTime() const {
    const std::vector<double> t = run.frameTimes();
    return t.empty() ? -1.0 : t.back();
  }
  void press(const std::string& window, const char* key) { display.xdotool("key --window " + window + " " + key); }
  // Waits (a loaded machine may be slow to take the key) until the latest
  // frame is at `expected`; says whether it came.
  bool reaches(double expected, double tolerance) {
    return waitUntil([&] { return std::fabs(lastTime() - expected) <= tolerance; }, 20.0);
  }
  // The frames go on, all at one moment: five frames logged in a row at
  // the same demo time. That moment.
  double heldMoment() {
    double held = -1.0;
    waitUntil(
        [&] {
          const std::vector<double> t = run.frameTimes();
          if (t.size() < 5) return false;
          held = t.back();
          return std::all_of(t.end() - 5, t.end(), [&](double x) { return x == held; });
        },
        20.0);
    return held;
  }
};

TEST_F(LiveKeysProgramTest, SpacePausesDotStepsAndCommaSlashJump) {
  auto p = start({"--run", "--windowed", "--messages", "stderr", "--frame-log", run.path("frames.log")});
  const auto window = display.waitForWindow(kDemoTitle, 30.0);
  ASSERT_TRUE(window.has_value()) << p->err();
  ASSERT_TRUE(waitUntil([&] { return lastTime() > 1.0; }, 30.0));
  const std::string w = std::to_string(window->id);

  press(w, "space");
  const double paused = heldMoment();
  ASSERT_GT(paused, 1.0) << "the frames never held still";

  press(w, "period");
  press(w, "period");
  EXPECT_TRUE(reaches(paused + 2.0 / 60, 1e-6)) << lastTime();
  // Jumps land on the 1/60 s grid of a run from 0.
  press(w, "slash");
  EXPECT_TRUE(reaches(paused + 2.0 / 60 + 1.0, 1.0 / 60)) << lastTime();
  press(w, "comma");
  press(w, "comma");
  EXPECT_TRUE(reaches(paused + 2.0 / 60 - 1.0, 1.0 / 60)) << lastTime();
  const double back = lastTime();

  press(w, "space");
  EXPECT_TRUE(waitUntil([&] { return lastTime() > back + 0.1; }, 20.0));  // playing again
  display.requestClose(*window);
  EXPECT_EQ(p->waitExit(20.0), 0) << p->err();
}
}  // namespace
