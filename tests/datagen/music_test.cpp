#include <cmath>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "assets/ogg_track.h"
#include "datagen.h"
#include "music.h"
#include "test_support.h"

using namespace datagen;

namespace {

Track sine(double dbfs, double seconds) {
  Track t;
  const std::size_t n = static_cast<std::size_t>(seconds * t.rate);
  const double a = std::pow(10.0, dbfs / 20.0);
  for (std::size_t i = 0; i < n; ++i) {
    const float v = static_cast<float>(a * std::sin(2 * kPi * 997.0 * i / t.rate));
    t.left.push_back(v);
    t.right.push_back(v);
  }
  return t;
}

TEST(Loudness, ReferenceSineReadsItsLevel) {
  // a stereo 997 Hz sine at -23 dBFS is -23 LUFS by the standard's definition
  EXPECT_NEAR(integratedLoudness(sine(-23.0, 5.0)), -23.0, 0.1);
  EXPECT_NEAR(integratedLoudness(sine(-10.0, 5.0)), -10.0, 0.1);
}

TEST(Loudness, GateIgnoresSilence) {
  Track t = sine(-20.0, 4.0);
  const std::size_t n = t.left.size();
  t.left.resize(3 * n, 0.0f);
  t.right.resize(3 * n, 0.0f);
  EXPECT_NEAR(integratedLoudness(t), -20.0, 0.2);
  EXPECT_TRUE(std::isinf(integratedLoudness(Track{44100, std::vector<float>(44100), std::vector<float>(44100)})));
}

// The encoded track as the demo's player decodes it.
Track decode(const Bytes& ogg, int& channels, long& rate) {
  const auto path = datagen_test::scratchPath("velmora.ogg");
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(ogg.data()), std::streamsize(ogg.size()));
  PcmTrack pcm;
  std::string error;
  const bool decoded = decodeOggTrack(path.string(), pcm, error);
  std::filesystem::remove(path);
  if (!decoded) throw std::runtime_error(error);
  channels = pcm.channels;
  rate = pcm.rate;
  Track t;
  t.rate = pcm.rate;
  for (std::size_t i = 0; i < pcm.frames(); ++i) {
    t.left.push_back(pcm.samples[i * std::size_t(channels)] / 32768.0f);
    t.right.push_back(pcm.samples[i * std::size_t(channels) + (channels > 1 ? 1 : 0)] / 32768.0f);
  }
  return t;
}

class TrackTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const DataFile& f : catalog())
      if (f.path == "music/velmora.ogg") bytes_ = new Bytes(f.make());
    ASSERT_NE(bytes_, nullptr);
    track_ = new Track(decode(*bytes_, channels_, rate_));
  }
  static void TearDownTestSuite() {
    delete bytes_;
    delete track_;
  }
  static double at(double a, double b) { return stretchLoudness(*track_, a, b); }
  static inline Bytes* bytes_ = nullptr;
  static inline Track* track_ = nullptr;
  static inline int channels_ = 0;
  static inline long rate_ = 0;
};

TEST_F(TrackTest, FormatAndLength) {
  EXPECT_EQ(channels_, 2);
  EXPECT_EQ(rate_, 44100);
  EXPECT_NEAR(track_->left.size() / 44100.0, kTrackSeconds, 0.01);
  // about 160 kbit/s
  const double kbps = bytes_->size() * 8.0 / kTrackSeconds / 1000.0;
  EXPECT_GT(kbps, 130.0);
  EXPECT_LT(kbps, 190.0);
}

TEST_F(TrackTest, LoudnessNearTargetWithoutClipping) {
  EXPECT_NEAR(integratedLoudness(*track_), kTargetLufs, 0.7);
  EXPECT_LT(samplePeak(*track_), 0.95);
}

TEST_F(TrackTest, StructureFollowsTheCues) {
  // quiet opening pad, well below the full entry
  EXPECT_LT(at(0.5, 5.5), at(18.5, 23.5) - 6.0);
  // the build grows
  EXPECT_LT(at(6.2, 9.0), at(13.0, 16.0));
  // each accent is a jump over the moment before it
  for (double cue : {9.2, 12.3, 16.2, 18.0, 27.6})
    EXPECT_GT(at(cue, cue + 0.25), at(cue - 0.35, cue - 0.05) + 3.0) << cue;
  // the dip before the entry
  EXPECT_LT(at(17.3, 17.9), at(18.1, 18.7) - 6.0);
  // the break from 24.5 to 26.0 drops the rhythm section
  EXPECT_LT(at(24.7, 25.4), at(22.5, 24.4) - 2.0);
  // silent once the demo has ended
  EXPECT_LT(at(33.6, 36.0), -60.0);
}

}  // namespace
