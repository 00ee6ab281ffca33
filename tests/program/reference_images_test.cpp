// Moments of both renditions against small reference pictures, so that a
// layer that breaks (draws nothing, draws black, draws in the wrong place)
// fails here. The references are 80 x 60 averages of the 800 x 600 shots;
// after a deliberate change of the picture, rewrite them with
// VELMORA_WRITE_REFERENCES=1 and look at what changed before committing.
#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "child_process.h"
#include "run_folder.h"
#include "virtual_display.h"

namespace {
constexpr int kScale = 10;
constexpr int kWidth = 800 / kScale;
constexpr int kHeight = 600 / kScale;
// Mean difference per channel (0..255) a moment may show against its
// reference: rendering is exact on one driver, but a newer Mesa may round
// a little differently.
constexpr double kTolerance = 3.0;

const char* const kMoments[] = {"2", "3", "6", "8", "9.5", "10", "12", "16", "19", "22", "25", "29", "30", "31"};

// The shot averaged over kScale x kScale blocks; empty if it cannot be read.
std::vector<unsigned char> shrink(const std::string& png) {
  int w = 0, h = 0, n = 0;
  unsigned char* pixels = stbi_load(png.c_str(), &w, &h, &n, 3);
  std::vector<unsigned char> small;
  if (pixels == nullptr || w != 800 || h != 600) {
    stbi_image_free(pixels);
    return small;
  }
  small.resize(kWidth * kHeight * 3);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int dy = 0; dy < kScale; ++dy)
          for (int dx = 0; dx < kScale; ++dx) sum += pixels[((y * kScale + dy) * w + x * kScale + dx) * 3 + c];
        small[(y * kWidth + x) * 3 + c] = static_cast<unsigned char>(sum / (kScale * kScale));
      }
  stbi_image_free(pixels);
  return small;
}

std::vector<unsigned char> readReference(const std::string& path) {
  int w = 0, h = 0, n = 0;
  unsigned char* pixels = stbi_load(path.c_str(), &w, &h, &n, 3);
  std::vector<unsigned char> image;
  if (pixels != nullptr && w == kWidth && h == kHeight) image.assign(pixels, pixels + kWidth * kHeight * 3);
  stbi_image_free(pixels);
  return image;
}

class ReferenceImages : public ::testing::TestWithParam<bool> {
 protected:
  VirtualDisplay display;
  RunFolder run;
};

TEST_P(ReferenceImages, EachMomentLooksAsItsReference) {
  ASSERT_TRUE(display.ok());
  const bool fixedFunction = GetParam();
  const std::string rendition = fixedFunction ? "beta" : "alpha";
  const bool write = std::getenv("VELMORA_WRITE_REFERENCES") != nullptr;
  for (const char* moment : kMoments) {
    SCOPED_TRACE(rendition + " at " + moment + " s");
    const std::string shot = run.path(rendition + ".png");
    std::vector<std::string> args{"--data", VELMORA_DATA_DIR, "--shot", moment, shot};
    if (fixedFunction) args.push_back("--slow-gpu");
    ChildProcess p(VELMORA_EXECUTABLE, args, {{"DISPLAY", display.name()}, {"SDL_AUDIODRIVER", "dummy"}});
    ASSERT_EQ(p.waitExit(120.0), std::optional<int>(0)) << p.err();
    const std::vector<unsigned char> small = shrink(shot);
    ASSERT_FALSE(small.empty());
    const std::string reference =
        std::string(VELMORA_SOURCE_DIR "/tests/program/reference/") + rendition + "-" + moment + ".png";
    if (write) {
      ASSERT_TRUE(stbi_write_png(reference.c_str(), kWidth, kHeight, 3, small.data(), kWidth * 3));
      continue;
    }
    const std::vector<unsigned char> expected = readReference(reference);
    ASSERT_EQ(expected.size(), small.size()) << "no reference " << reference;
    double difference = 0.0;
    for (size_t i = 0; i < small.size(); ++i) difference += std::abs(int(small[i]) - int(expected[i]));
    EXPECT_LT(difference / double(small.size()), kTolerance);
  }
}

INSTANTIATE_TEST_SUITE_P(BothRenditions, ReferenceImages, ::testing::Values(false, true),
                         [](const auto& test) { return test.param ? "FixedFunction" : "Shader"; });
}  // namespace
