// The decoder against pictures made by cjpeg/jpegtran/ImageMagick, compared
// with djpeg (-nosmooth -dct fast), plus damaged variants of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <sstream>

#include "assets/input_stream.h"
#include "assets/jpeg_decoder.h"
#include "jpeg_test_support.h"

namespace {

std::string corpusProblem() {
  std::string why;
  jpegCorpusDir(&why);
  return why;
}

#define REQUIRE_CORPUS(dir)                \
  const std::string dir = jpegCorpusDir(); \
  if (dir.empty()) GTEST_SKIP() << "no JPEG corpus: " << corpusProblem()

std::vector<std::string> decodable() {
  std::istringstream names(
      "base_444 base_422 base_440 base_420 synth_420 synth_444_q100 grey grey_from_420 optimized_422 "
      "ext_qt16 ext_q3 restart_1 restart_7 restart_grey_5 prog_420 prog_444 prog_grey prog_sa_422 "
      "prog_spectral_440 prog_restart_3 prog_from_restart seq_scans_420 tiny_1x1 tiny_1x1_grey "
      "odd_7x9_420 odd_17x33_422 odd_17x33_440_prog wide_8192_420 wide_8192_prog");
  return {std::istream_iterator<std::string>(names), {}};
}

class JpegCorpusPicture : public ::testing::TestWithParam<std::string> {};

TEST_P(JpegCorpusPicture, MatchesDjpegAndBothPathsAgree) {
  REQUIRE_CORPUS(dir);
  const std::string name = GetParam();
  const std::vector<std::uint8_t> bytes = readFile(dir + "/" + name + ".jpg");
  Pnm reference;
  ASSERT_TRUE(readPnm(dir + "/" + name + ".pnm", reference));

  const DecodedPicture simd = decodeJpeg(bytes, true);
  ASSERT_EQ(simd.constructError, 0);
  ASSERT_EQ(simd.beginResult, 0) << "errorCode " << simd.errorCode;
  EXPECT_EQ(simd.lastResult, 1) << "errorCode " << simd.errorCode;
  EXPECT_EQ(simd.width, reference.width);
  EXPECT_EQ(simd.height, reference.height);
  EXPECT_EQ(simd.lines, simd.height);
  const bool grey = name.find("grey") != std::string::npos;
  EXPECT_EQ(simd.components, grey ? 1 : 3);
  EXPECT_EQ(simd.lineLength, simd.width * (grey ? 1 : 4));
  EXPECT_EQ(simd.progressive, name.find("prog") != std::string::npos);

  const double db = psnr(simd.rgb, reference.rgb);
  std::printf("PSNR %-20s %dx%d: %.2f dB\n", name.c_str(), simd.width, simd.height, db);
  RecordProperty("psnr_db", std::to_string(db));
  EXPECT_GE(db, 40.0);

  const DecodedPicture scalar = decodeJpeg(bytes, false);
  EXPECT_EQ(scalar.lastResult, 1);
  EXPECT_TRUE(scalar.rgb == simd.rgb) << "scalar and SSE2 paths differ";
}

INSTANTIATE_TEST_SUITE_P(Corpus, JpegCorpusPicture, ::testing::ValuesIn(decodable()),
                         [](const auto& p) { return p.param; });

TEST(JpegCorpus, FindsSoiBehindUpTo511BytesOfGarbage) {
  REQUIRE_CORPUS(dir);
  const std::vector<std::uint8_t> clean = readFile(dir + "/base_422.jpg");
  const DecodedPicture expected = decodeJpeg(clean);
  for (std::size_t garbage : {1u, 100u, 511u}) {
    std::vector<std::uint8_t> bytes(garbage, 0x5A);
    bytes.insert(bytes.end(), clean.begin(), clean.end());
    const DecodedPicture p = decodeJpeg(bytes);
    EXPECT_EQ(p.lastResult, 1) << garbage;
    EXPECT_TRUE(p.rgb == expected.rgb) << garbage;
  }
  std::vector<std::uint8_t> bytes(512, 0x5A);
  bytes.insert(bytes.end(), clean.begin(), clean.end());
  EXPECT_EQ(decodeJpeg(bytes).constructError, kJpegNoSoi);
}

using Codes = std::pair<int, int>;  // a decode's last result, or begin result, and error code

// Offsets of the RST markers inside the entropy-coded data.
std::vector<std::size_t> restartMarkers(const std::vector<std::uint8_t>& b) {
  std::vector<std::size_t> at;
  for (std::size_t i = 0; i + 1 < b.size(); ++i)
    if (b[i] == 0xFF && b[i + 1] >= 0xD0 && b[i + 1] <= 0xD7) at.push_back(i);
  return at;
}

TEST(JpegCorpus, MissingOrMisnumberedRestartMarkerIsReported) {
  REQUIRE_CORPUS(dir);
  const std::vector<std::uint8_t> clean = readFile(dir + "/restart_7.jpg");
  const std::vector<std::size_t> rst = restartMarkers(clean);
  ASSERT_GT(rst.size(), 10u);

  std::vector<std::uint8_t> missing = clean;
  missing.erase(missing.begin() + long(rst[5]), missing.begin() + long(rst[5]) + 2);
  DecodedPicture p = decodeJpeg(missing);
  EXPECT_EQ(std::pair(p.lastResult, p.errorCode), Codes(kJpegCorruptData, kJpegRestartMissing));
  EXPECT_TRUE(p.lines > 0 && p.lines < p.height) << p.lines;

  std::vector<std::uint8_t> misnumbered = clean;
  misnumbered[rst[3] + 1] = std::uint8_t(0xD0 + ((misnumbered[rst[3] + 1] - 0xD0 + 1) & 7));
  p = decodeJpeg(misnumbered);
  EXPECT_EQ(std::pair(p.lastResult, p.errorCode), Codes(kJpegCorruptData, kJpegRestartMissing));

  // Progressive: the scans are all read by beginDecoding.
  std::vector<std::uint8_t> prog = readFile(dir + "/prog_restart_3.jpg");
  const std::vector<std::size_t> progRst = restartMarkers(prog);
  ASSERT_GT(progRst.size(), 3u);
  prog[progRst[2] + 1] = std::uint8_t(0xD0 + ((prog[progRst[2] + 1] - 0xD0 + 3) & 7));
  p = decodeJpeg(prog);
  EXPECT_EQ(std::pair(p.beginResult, p.errorCode), Codes(-1, kJpegRestartMissing));
}

TEST(JpegCorpus, TruncatedFilesEndCleanly) {
  REQUIRE_CORPUS(dir);
  for (const char* name : {"base_420", "prog_sa_422", "restart_1", "grey"}) {
    const std::vector<std::uint8_t> full = readFile(dir + "/" + name + ".jpg");
    std::vector<std::size_t> cuts;
    for (std::size_t n = 0; n < 700 && n < full.size(); n += 3) cuts.push_back(n);
    for (std::size_t n = 700; n < full.size(); n += full.size() / 40 + 1) cuts.push_back(n);
    cuts.push_back(full.size() - 2);  // only EOI missing
    for (std::size_t n : cuts) {
      SCOPED_TRACE(std::string(name) + " cut at " + std::to_string(n));
      const std::vector<std::uint8_t> bytes(full.begin(), full.begin() + long(n));
      const DecodedPicture p = decodeJpeg(bytes);
      const bool refused = p.constructError != 0 || p.beginResult != 0;
      EXPECT_TRUE(refused ? p.errorCode < 0 : p.lastResult == 1 || p.lastResult == kJpegCorruptData) << p.lastResult;
      if (p.lastResult == 1) {
        EXPECT_EQ(p.lines, p.height);
      }
      if (n == full.size() - 2) {
        EXPECT_EQ(p.lastResult, 1);
      }
    }
  }
}

TEST(JpegCorpus, DecodeAfterTheLastLineReturnsOneAndDeliversNothing) {
  REQUIRE_CORPUS(dir);
  const std::vector<std::uint8_t> bytes = readFile(dir + "/odd_7x9_420.jpg");
  MemoryInputStream stream(bytes.data(), bytes.size());
  JpegDecoder decoder(stream, true);
  ASSERT_EQ(decoder.beginDecoding(), 0);
  EXPECT_EQ(decoder.beginDecoding(), 0);  // a second call changes nothing
  const std::uint8_t* line = nullptr;
  int length = 0;
  for (int y = 0; y < 9; ++y) ASSERT_EQ(decoder.decode(line, length), 0) << y;
  const std::uint8_t* sentinel = reinterpret_cast<const std::uint8_t*>(&length);
  line = sentinel;
  length = -5;
  EXPECT_EQ(decoder.decode(line, length), 1);
  EXPECT_EQ(decoder.decode(line, length), 1);
  EXPECT_EQ(line, sentinel);
  EXPECT_EQ(length, -5);
}

}  // namespace
