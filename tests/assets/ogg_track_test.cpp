#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "assets/ogg_track.h"

namespace {
namespace fs = std::filesystem;

// Short tracks made with sox and oggenc, once for the whole suite.
class OggTrackTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = fs::temp_directory_path() / ("velmora-ogg-" + std::to_string(getpid()));
    fs::create_directories(dir);
    encode("stereo", "-c 2", "synth 2 pinknoise vol 0.5");
    encode("mono", "-c 1 -r 22050", "synth 1 sine 220");
  }
  static void TearDownTestSuite() { fs::remove_all(dir); }

  static void encode(const std::string& name, const std::string& format, const std::string& effect) {
    const std::string wav = (dir / (name + ".wav")).string();
    const std::string ogg = (dir / (name + ".ogg")).string();
    const std::string rate = format.find("-r") == std::string::npos ? " -r 44100" : "";
    const std::string cmd =
        "sox -n" + rate + " " + format + " -b 16 " + wav + " " + effect + " && oggenc -Q -o " + ogg + " " + wav;
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  }

  static std::string path(const std::string& name) { return (dir / name).string(); }

  static std::string bytesOf(const std::string& name) {
    std::ifstream in(path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  static void write(const std::string& name, const std::string& bytes) {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }

  static inline fs::path dir;
};

TEST_F(OggTrackTest, DecodesTheWholeTrackIntoMemoryKeepingItsRateAndLayout) {
  PcmTrack track;
  std::string error;
  ASSERT_TRUE(decodeOggTrack(path("stereo.ogg"), track, error)) << error;
  EXPECT_EQ(track.rate, 44100);
  EXPECT_EQ(track.channels, 2);
  EXPECT_EQ(track.frames(), 88200u);
  int16_t peak = 0;
  for (int16_t s : track.samples) peak = std::max<int16_t>(peak, static_cast<int16_t>(std::abs(s)));
  EXPECT_GT(peak, 3000);  // noise, not silence
  ASSERT_TRUE(decodeOggTrack(path("mono.ogg"), track, error)) << error;
  EXPECT_EQ(track.rate, 22050);
  EXPECT_EQ(track.channels, 1);
  EXPECT_EQ(track.frames(), 22050u);
}

TEST_F(OggTrackTest, MissingAndForeignFilesFailWithAReason) {
  write("notogg.ogg", "RIFF....WAVEfmt this is not a vorbis stream at all");
  write("empty.ogg", "");
  for (const char* name : {"nothere.ogg", "notogg.ogg", "empty.ogg", "stereo.wav"}) {
    PcmTrack track;
    std::string error;
    EXPECT_FALSE(decodeOggTrack(path(name), track, error)) << name;
    EXPECT_FALSE(error.empty()) << name;
  }
}

TEST_F(OggTrackTest, TruncatedTrackEitherDecodesWhatIsThereOrFails) {
  const std::string whole = bytesOf("stereo.ogg");
  for (size_t cut : {size_t{30}, size_t{200}, size_t{4000}, whole.size() / 2, whole.size() - 1}) {
    write("cut.ogg", whole.substr(0, cut));
    PcmTrack track;
    std::string error;
    const bool decoded = decodeOggTrack(path("cut.ogg"), track, error);
    if (decoded) {
      EXPECT_GT(track.frames(), 0u) << cut;
      EXPECT_LE(track.frames(), 88200u) << cut;
    } else {
      EXPECT_FALSE(error.empty()) << cut;
    }
    // Half a track is what there is of it, not a failure.
    if (cut == whole.size() / 2) {
      EXPECT_TRUE(decoded) << error;
      EXPECT_LT(track.frames(), 88200u);
    }
  }
}
}  // namespace
