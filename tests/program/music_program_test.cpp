// The whole run with sound: SDL's disk audio driver writes what would be
// heard to a file, at the real-time rate, and the tests read it back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <optional>

#include "assets/ogg_track.h"
#include "child_process.h"
#include "run_folder.h"
#include "virtual_display.h"

namespace {
constexpr int kRate = 44100;
const std::string kTrack = std::string(VELMORA_DATA_DIR) + "/music/velmora.ogg";

size_t firstSound(const std::vector<int16_t>& s) {
  return size_t(std::find_if(s.begin(), s.end(), [](int16_t v) { return v != 0; }) - s.begin());
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
  const PcmTrack& track = generatedTrack();
  ASSERT_EQ(track.channels, 2);
  size_t lead = 0;
  const std::vector<int16_t> sound = heard(lead);
  ASSERT_LT(lead, sound.size());
  const size_t played = sound.size() - lead;
  // About the whole run was heard, sample for sample.
  EXPECT_GT(played, static_cast<size_t>(33.0 * kRate * 2));
  const size_t n = std::min(played, track.samples.size());
  EXPECT_TRUE(std::equal(sound.begin() + long(lead), sound.begin() + long(lead + n), track.samples.begin()));
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

// Played past 2.5 s, a middle click records the camera, and Escape fades
// the sound out. Each input is held until two more frames are logged, so
// that a frame sees it however slow the machine.
TEST_F(MusicProgramTest, EscapeFadesTheSoundOutAndLeavesTheRecordOnTheClipboard) {
  auto p = start(VELMORA_DATA_DIR);
  const auto window = display.waitForWindow(kDemoTitle, 30.0);
  ASSERT_TRUE(window.has_value()) << p->err();
  ASSERT_TRUE(waitUntil([&] { return !run.frameTimes().empty() && run.frameTimes().back() > 2.5; }, 120.0));
  const std::string w = std::to_string(window->id);
  auto hold = [&](const std::string& down, const std::string& up) {
    const size_t frames = run.frameTimes().size();
    display.xdotool(down);
    waitUntil([&] { return run.frameTimes().size() >= frames + 2; }, 30.0);
    display.xdotool(up);
  };
  hold("mousemove --window " + w + " 400 300 mousedown 2", "mouseup 2");
  hold("keydown --window " + w + " Escape", "keyup --window " + w + " Escape");
  EXPECT_EQ(p->waitExit(60.0), 0) << p->err();
  EXPECT_LT(run.frameTimes().back(), 10.0);  // ended by the fade, long before the run's end

  // The heard sound is the track times the volume: their ratio per 50 ms
  // block is the fade. From the last block at full volume it falls, over
  // about its 1.25 s, to silence.
  const PcmTrack& track = generatedTrack();
  size_t lead = 0;
  const std::vector<int16_t> sound = heard(lead);
  const size_t block = kRate * 2 / 20;
  std::vector<double> gains;
  for (size_t from = 0; from + block <= sound.size() - lead; from += block) {
    const int reference = peak(track.samples, from, from + block);
    gains.push_back(reference > 0 ? peak(sound, lead + from, lead + from + block) / double(reference) : 1.0);
  }
  size_t full = gains.size();
  while (full > 0 && gains[full - 1] < 0.98) --full;
  EXPECT_GE(full, 20u) << "a second at full volume before the fade";
  size_t silent = full;
  while (silent < gains.size() && gains[silent] >= 0.02) ++silent;
  EXPECT_GE(silent - full, 10u) << "the fade from full volume to silence";
  EXPECT_LE(silent - full, 40u) << "the fade from full volume to silence";
  for (size_t i = full + 1; i < gains.size(); ++i) EXPECT_LE(gains[i], gains[i - 1] + 0.02) << "block " << i;
  EXPECT_LT(gains[full + (silent - full) / 2], 0.7);
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

// The Windows build decodes the track with stb_vorbis, this one with
// libvorbisfile: the same frames, each sample within 1 of the other's (the
// two round the decoded floats to 16 bits each their own way), and the
// same files refused.
TEST_F(MusicProgramTest, StbVorbisDecodesTheTrackAsLibvorbisfileDoes) {
  PcmTrack stb;
  std::string error;
  ASSERT_TRUE(decodeOggTrackWithStbVorbis(kTrack, stb, error)) << error;
  const PcmTrack& vorbisfile = generatedTrack();
  EXPECT_EQ(stb.rate, vorbisfile.rate);
  EXPECT_EQ(stb.channels, vorbisfile.channels);
  ASSERT_EQ(stb.samples.size(), vorbisfile.samples.size());
  int worst = 0;
  size_t differing = 0;
  for (size_t i = 0; i < stb.samples.size(); ++i) {
    const int difference = std::abs(stb.samples[i] - vorbisfile.samples[i]);
    worst = std::max(worst, difference);
    differing += difference != 0 ? 1 : 0;
  }
  EXPECT_LE(worst, 1) << differing << " samples differ";

  for (const std::string& bytes : {std::string("this is not music\n"), readFile(kTrack).substr(0, 300)}) {
    std::ofstream(run.path("refused.ogg"), std::ios::binary) << bytes;
    PcmTrack t;
    EXPECT_FALSE(decodeOggTrack(run.path("refused.ogg"), t, error));
    EXPECT_FALSE(decodeOggTrackWithStbVorbis(run.path("refused.ogg"), t, error)) << bytes.size();
  }
  PcmTrack t;
  EXPECT_FALSE(decodeOggTrackWithStbVorbis(run.path("missing.ogg"), t, error));
  EXPECT_EQ(error, "cannot read the file");
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
