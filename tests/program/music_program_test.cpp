// The whole run with sound: SDL's disk audio driver writes what would be
// heard to a file, at the real-time rate, and the tests read it back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <thread>

#include "assets/ogg_track.h"
#include "child_process.h"
#include "run_folder.h"
#include "virtual_display.h"

namespace {
constexpr int kRate = 44100;
const std::string kTrack = std::string(VELMORA_DATA_DIR) + "/music/velmora.ogg";

size_t firstSound(const std::vector<int16_t>& s) {
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != 0) return i;
  }
  return s.size();
}

int peak(const std::vector<int16_t>& s, size_t from, size_t to) {
  int p = 0;
  for (size_t i = from; i < to && i < s.size(); ++i) p = std::max(p, std::abs(int{s[i]}));
  return p;
}

const PcmTrack& generatedTrack() {
  static const PcmTrack track = [] {
    PcmTrack t;
    std::string error;
    EXPECT_TRUE(decodeOggTrack(kTrack, t, error)) << error;
    return t;
  }();
  return track;
}

class MusicProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(display.ok()); }

  std::unique_ptr<ChildProcess> start(const std::string& data, const std::string& audioDriver = "disk") {
    return std::make_unique<ChildProcess>(
        VELMORA_EXECUTABLE,
        std::vector<std::string>{"--run", "--windowed", "--messages", "stderr", "--data", data, "--frame-log",
                                 run.path("frames.log")},
        std::vector<std::pair<std::string, std::string>>{{"DISPLAY", display.name()},
                                                         {"SDL_AUDIODRIVER", audioDriver},
                                                         {"SDL_DISKAUDIOFILE", run.path("heard.raw")}});
  }

  // What was heard, from where the track's first sound lines up with it.
  std::vector<int16_t> heard(size_t& lead) const {
    std::vector<int16_t> samples = readRaw(run.path("heard.raw"));
    lead = firstSound(samples) - firstSound(generatedTrack().samples);
    return samples;
  }

  VirtualDisplay display;
  RunFolder run;
};

TEST_F(MusicProgramTest, PlaysToItsOwnEndWithTheTrackHeardInOrder) {
  auto p = start(VELMORA_DATA_DIR);
  EXPECT_EQ(p->waitExit(120.0), 0) << p->err();

  const std::vector<double> times = run.frameTimes();
  ASSERT_FALSE(times.empty());
  // The run ends in the first frame past 33.5 s, however long that frame
  // took on a loaded machine.
  EXPECT_GT(times.back(), 33.5);
  for (size_t i = 0; i + 1 < times.size(); ++i) ASSERT_LT(times[i], 33.5) << "frame " << i;
  RecordProperty("frames", static_cast<int>(times.size()));
  std::printf("frames: %zu, end at demo time %.4f s\n", times.size(), times.back());

  const PcmTrack& track = generatedTrack();
  ASSERT_EQ(track.channels, 2);
  size_t lead = 0;
  const std::vector<int16_t> sound = heard(lead);
  ASSERT_LT(lead, sound.size());
  const size_t played = sound.size() - lead;
  // About the whole run was heard, sample for sample.
  EXPECT_GT(played, static_cast<size_t>(33.0 * kRate * 2));
  size_t mismatches = 0;
  for (size_t i = 0; i < played && i < track.samples.size(); ++i) {
    if (sound[lead + i] != track.samples[i]) ++mismatches;
  }
  EXPECT_EQ(mismatches, 0u);
}

TEST_F(MusicProgramTest, ShortTrackGoesSilentAndTheRunStillEnds) {
  // Three seconds of the real track, encoded again.
  const std::string raw = run.path("short.raw");
  std::ofstream(raw, std::ios::binary)
      .write(reinterpret_cast<const char*>(generatedTrack().samples.data()), 3 * kRate * 2 * 2);
  const std::string data = run.dataWithOwn("music");
  const std::string cmd = "oggenc -Q -r -B 16 -C 2 -R 44100 -o " + data + "/music/velmora.ogg " + raw;
  ASSERT_EQ(std::system(cmd.c_str()), 0);

  auto p = start(data);
  EXPECT_EQ(p->waitExit(120.0), 0) << p->err();
  const std::vector<double> times = run.frameTimes();
  ASSERT_FALSE(times.empty());
  EXPECT_GT(times.back(), 33.5);
  const std::vector<int16_t> sound = readRaw(run.path("heard.raw"));
  EXPECT_EQ(peak(sound, firstSound(sound) + 4 * kRate * 2, sound.size()), 0);  // silence after the track
}

TEST_F(MusicProgramTest, EscapeFadesTheSoundOutAndLeavesTheRecordOnTheClipboard) {
  auto p = start(VELMORA_DATA_DIR);
  const auto window = display.waitForWindow(kDemoTitle, 30.0);
  ASSERT_TRUE(window.has_value()) << p->err();
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  const std::string w = std::to_string(window->id);
  display.xdotool("mousemove --window " + w + " 400 300 click 2");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  display.xdotool("keydown --window " + w + " Escape");
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  display.xdotool("keyup --window " + w + " Escape");
  EXPECT_EQ(p->waitExit(30.0), 0) << p->err();

  const std::vector<double> times = run.frameTimes();
  ASSERT_FALSE(times.empty());
  EXPECT_LT(times.back(), 10.0);  // ended by the fade, long before the run's end

  // The heard sound is the track times the volume: their ratio per block is the fade.
  const PcmTrack& track = generatedTrack();
  size_t lead = 0;
  const std::vector<int16_t> sound = heard(lead);
  const size_t played = sound.size() - lead;
  const size_t block = kRate * 2 / 20;  // 50 ms
  std::vector<double> gains;
  for (size_t from = 0; from + block <= played; from += block) {
    const int reference = peak(track.samples, from, from + block);
    gains.push_back(reference > 0 ? peak(sound, lead + from, lead + from + block) / double(reference) : 1.0);
  }
  ASSERT_GT(gains.size(), 60u);
  const size_t fadeBlocks = 25;                           // 1.25 s
  EXPECT_GT(gains[gains.size() - fadeBlocks - 8], 0.98);  // full volume before the fade
  for (size_t i = gains.size() - fadeBlocks + 1; i < gains.size(); ++i) {
    EXPECT_LE(gains[i], gains[i - 1] + 0.02) << "block " << i;
  }
  EXPECT_LT(gains[gains.size() - fadeBlocks / 2], 0.7);
  EXPECT_EQ(peak(sound, sound.size() - kRate * 2 * 30 / 1000, sound.size()), 0);  // ends silent

  const std::string clip =
      "DISPLAY=" + display.name() + " xclip -o -selection clipboard > " + run.path("clipboard.txt");
  ASSERT_EQ(std::system(clip.c_str()), 0);
  const std::string text = readFile(run.path("clipboard.txt"));
  EXPECT_EQ(text.rfind("Cam :", 0), 0u) << text;
  EXPECT_NE(text.find("  \nPnt :0.,0.,0.  \n \n"), std::string::npos) << text;
}

TEST_F(MusicProgramTest, MissingOrForeignTrackSaysNoSoundFileAndEndsWithZero) {
  const std::string expected = "Drov Velmora  : Problem initializing FMod. \\nNo sound file.";
  for (const std::optional<std::string>& bytes :
       {std::optional<std::string>(), std::optional<std::string>("this is not music\n"),
        std::optional<std::string>(readFile(kTrack).substr(0, 300))}) {
    const std::string data = run.dataWithOwn("music");
    if (bytes) std::ofstream(data + "/music/velmora.ogg", std::ios::binary) << *bytes;
    auto p = start(data);
    EXPECT_EQ(p->waitExit(30.0), 0);
    EXPECT_NE(p->err().find(expected), std::string::npos) << p->err();
  }
}

TEST_F(MusicProgramTest, NoSoundDeviceEndsWithOne) {
  auto p = start(VELMORA_DATA_DIR, "no-such-audio-driver");
  EXPECT_EQ(p->waitExit(30.0), 1);
  EXPECT_NE(p->err().find("Project effect 3. Fairmoot !  : Problem initializing FMod. \\nProgram will "
                          "now exit."),
            std::string::npos)
      << p->err();
}
}  // namespace
