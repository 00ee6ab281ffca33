#include "gpu/texture_table.h"

#include <array>
#include <functional>
#include <tuple>
#include <vector>

#include "gl_test_context.h"
#include "platform/message_box.h"
#include "support/test_jpeg.h"

namespace {
// Per test: ctest runs tests side by side, and they must not share files.
std::string tempPath(const std::string& name) {
  return ::testing::TempDir() + "texture_table_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
         "_" + name;
}

// Top-left red, top-right blue, bottom-left green, bottom-right white.
std::string quadrantPicture(int width = 16, int height = 16) {
  const std::string path = tempPath(std::to_string(width) + "x" + std::to_string(height) + ".jpg");
  writeTestJpeg(path, quadrantTestPicture(width, height));
  return path;
}

using Rgba = std::array<int, 4>;
constexpr Rgba kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255}, kGreen{0, 255, 0, 255}, kWhite{255, 255, 255, 255};

class TextureTableTest : public GlSuite<> {
 protected:
  void SetUp() override {
    GlSuite::SetUp();
    setMessageRoute(MessageRoute::Stderr);
  }
  // Texel (x, y) of texture number `number`, (0, 0) the first uploaded.
  Rgba at(int number, int x, int y, int* width = nullptr, int* height = nullptr) {
    int w = 0;
    const std::vector<unsigned char> t = texels(table->textures[size_t(number)], 4, &w, height);
    if (width) *width = w;
    const unsigned char* p = &t[(size_t(y) * w + x) * 4];
    return {p[0], p[1], p[2], p[3]};
  }
  // Each channel within three steps of the JPEG round trip.
  static void expectNear(Rgba got, Rgba want, const std::string& where, int channels = 4) {
    for (int c = 0; c < channels; ++c) EXPECT_NEAR(got[c], want[c], 3) << where << ", channel " << c;
  }
  std::unique_ptr<TextureTable> table = std::make_unique<TextureTable>();
};

// Rows of any byte count (21 RGB texels are 63 bytes) arrive upright and
// unskewed, linearly filtered and left bound; as pixels, bottom row first
// and mirrored.
TEST_F(TextureTableTest, ColourTexturesStandUprightUnskewedAndStayBound) {
  TestPicture p = quadrantTestPicture(21, 16);
  p.fill(8, 0, 16, 16, 128, 128, 128);
  const std::string path = tempPath("odd-width.jpg");
  writeTestJpeg(path, p);
  table->loadJpegTexture(path, 7);
  GLint state[3] = {};
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &state[0]);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &state[1]);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &state[2]);
  EXPECT_EQ(std::vector<GLint>(state, state + 3),
            (std::vector<GLint>{GLint(table->textures[7]), GL_LINEAR, GL_LINEAR}));
  int width = 0, height = 0;
  expectNear(at(7, 0, 15, &width, &height), kRed, "top left");
  EXPECT_EQ(width, 21);
  EXPECT_EQ(height, 16);
  for (int row : {8, 15}) expectNear(at(7, 7, row), kRed, "end of the red block, row " + std::to_string(row));
  expectNear(at(7, 20, 15), kBlue, "top right");
  expectNear(at(7, 0, 0), kGreen, "bottom left");
  expectNear(at(7, 20, 0), kWhite, "bottom right");
  const std::vector<std::uint8_t> pixels = table->loadJpegPixels(quadrantPicture(), width, height);
  ASSERT_EQ(pixels.size(), 16u * 16u * 3u);
  auto px = [&](int x, int row) {
    return Rgba{pixels[(row * 16 + x) * 3], pixels[(row * 16 + x) * 3 + 1], pixels[(row * 16 + x) * 3 + 2], 255};
  };
  expectNear(px(0, 15), kBlue, "pixels, last row start");
  expectNear(px(15, 15), kRed, "pixels, last row end");
  expectNear(px(0, 0), kWhite, "pixels, first row start");
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Green becomes alpha, the bottom row transparent black; a normal map's far
// edge leans across the wrap.
TEST_F(TextureTableTest, AlphaNormalAndBlankTexturesHoldWhatTheyShould) {
  TestPicture alpha(16, 16);
  alpha.fill(0, 0, 16, 8, 0, 96, 0);
  alpha.fill(0, 8, 16, 16, 255, 255, 255);
  const std::string alphaPath = tempPath("alpha.jpg");
  writeTestJpeg(alphaPath, alpha);
  table->loadJpegTextureWithAlpha(quadrantPicture(), alphaPath, 3);
  for (int x = 0; x < 16; ++x) EXPECT_EQ(at(3, x, 0), (Rgba{0, 0, 0, 0})) << x;
  expectNear(at(3, 0, 1), kGreen, "row 1");
  expectNear(at(3, 0, 15), Rgba{255, 0, 0, 96}, "top left");
  expectNear(at(3, 15, 15), Rgba{0, 0, 255, 96}, "top right");

  TestPicture ridge(16, 8);
  ridge.fill(0, 0, 8, 8, 255, 255, 255);  // one bright block column at the left
  const std::string ridgePath = tempPath("ridge.jpg");
  writeTestJpeg(ridgePath, ridge);
  table->loadNormalMapTexture(ridgePath, 10);
  EXPECT_LT(at(10, 15, 4)[0], 20);  // sees the bright left edge as its right neighbour
  EXPECT_GT(at(10, 8, 4)[0], 235);
  EXPECT_EQ(at(10, 12, 4), (Rgba{127, 127, 255, 255}));
}

// A picture that cannot be opened says "Jpg" with its name, any other
// failure "Jpg !" with the file that failed; the first stops all loading.
TEST_F(TextureTableTest, TheFirstFailureNamesItsFileOnceAndStopsTheLoading) {
  const std::string good = quadrantPicture(), missing = tempPath("absent.jpg"), foreign = tempPath("foreign.jpg"),
                    wide = quadrantPicture(32, 16);
  writeBytes(foreign, {'G', 'I', 'F', '8', '9', 'a'});
  const std::vector<std::tuple<const char*, std::function<void(TextureTable&)>, std::string>> cases = {
      {"colour, missing", [&](TextureTable& t) { t.loadJpegTexture(missing, 1); }, "Jpg: " + missing},
      {"colour, not a JPEG", [&](TextureTable& t) { t.loadJpegTexture(foreign, 1); }, "Jpg !: " + foreign},
      {"alpha, colour missing", [&](TextureTable& t) { t.loadJpegTextureWithAlpha(missing, good, 1); },
       "Jpg !: " + missing},
      {"alpha, alpha missing", [&](TextureTable& t) { t.loadJpegTextureWithAlpha(good, missing, 1); },
       "Jpg !: " + missing},
      {"alpha, sizes differ", [&](TextureTable& t) { t.loadJpegTextureWithAlpha(good, wide, 1); }, "Jpg !: " + wide},
      {"normal map, missing", [&](TextureTable& t) { t.loadNormalMapTexture(missing, 1); }, "Jpg !: " + missing},
      {"pixels, not a JPEG",
       [&](TextureTable& t) {
         int w, h;
         EXPECT_TRUE(t.loadJpegPixels(foreign, w, h).empty());
       },
       "Jpg !: " + foreign},
  };
  for (const auto& [what, load, said] : cases) {
    TextureTable fresh;
    ::testing::internal::CaptureStderr();
    load(fresh);
    fresh.loadJpegTexture(good, 2);
    fresh.loadNormalMapTexture(missing, 3);
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(fresh.loadingFailed()) << what;
    EXPECT_EQ(fresh.textures[1] + fresh.textures[2], 0u) << what;
    EXPECT_NE(log.find(said + "\n"), std::string::npos) << what << ": " << log;
    EXPECT_EQ(log.find("Jpg", log.find("Jpg") + 1), std::string::npos) << what << ", said once: " << log;
  }
}
}  // namespace
