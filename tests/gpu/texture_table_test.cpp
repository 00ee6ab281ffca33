#include "gpu/texture_table.h"

#include <array>
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

std::string quadrantPicture(int width = 16, int height = 16) {
  const std::string path = tempPath(std::to_string(width) + "x" + std::to_string(height) + ".jpg");
  writeTestJpeg(path, quadrantTestPicture(width, height));
  return path;
}

struct Texels {
  int width = 0;
  int height = 0;
  int channels = 4;
  std::vector<std::uint8_t> data;
  std::array<int, 4> at(int x, int y) const {
    const std::uint8_t* p = &data[(std::size_t(y) * width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
  }
};

// Level 0 of the texture as RGBA, texel (0, 0) first.
Texels readBack(GLuint texture) {
  Texels t;
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &t.width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &t.height);
  t.data.resize(std::size_t(t.width) * t.height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, t.data.data());
  return t;
}

void expectRgb(std::array<int, 4> got, std::array<int, 3> want, const std::string& where) {
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], want[c], 3) << where << ", channel " << c;
}

constexpr std::array<int, 3> kRed{255, 0, 0}, kBlue{0, 0, 255}, kGreen{0, 255, 0}, kWhite{255, 255, 255};

class TextureTableTest : public GlSuite<> {
 protected:
  void SetUp() override {
    GlSuite::SetUp();
    table = std::make_unique<TextureTable>();
    setMessageRoute(MessageRoute::Stderr);
  }
  std::unique_ptr<TextureTable> table;
};

TEST_F(TextureTableTest, ColourTextureStandsUprightWithLinearFilteringAndStaysBound) {
  table->loadJpegTexture(quadrantPicture(), 7);
  const GLuint name = table->textures[7];
  ASSERT_NE(name, 0u);
  GLint bound = 0, minFilter = 0, magFilter = 0, format = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(GLuint(bound), name);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
  EXPECT_EQ(minFilter, GL_LINEAR);
  EXPECT_EQ(magFilter, GL_LINEAR);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
  EXPECT_TRUE(format == 3 || format == GL_RGB || format == GL_RGB8) << format;

  const Texels t = readBack(name);
  ASSERT_EQ(t.width, 16);
  ASSERT_EQ(t.height, 16);
  expectRgb(t.at(0, 15), kRed, "top left");
  expectRgb(t.at(15, 15), kBlue, "top right");
  expectRgb(t.at(0, 0), kGreen, "bottom left");
  expectRgb(t.at(15, 0), kWhite, "bottom right");
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

  // The same picture as pixels: bottom row first and mirrored.
  int width = 0, height = 0;
  const std::vector<std::uint8_t> pixels = table->loadJpegPixels(quadrantPicture(), width, height);
  ASSERT_EQ(pixels.size(), 16u * 16u * 3u);
  const auto px = [&](int x, int row) {
    const std::uint8_t* p = &pixels[(std::size_t(row) * 16 + x) * 3];
    return std::array<int, 4>{p[0], p[1], p[2], 0};
  };
  expectRgb(px(0, 15), kBlue, "pixels, last row start");
  expectRgb(px(15, 15), kRed, "pixels, last row end");
  expectRgb(px(0, 0), kWhite, "pixels, first row start");
}

TEST_F(TextureTableTest, WidthsOfAnyByteCountLoadUnskewed) {
  // 21 RGB texels make rows of 63 bytes, not a multiple of four.
  TestPicture p(21, 16);
  p.fill(0, 0, 21, 16, 128, 128, 128);
  p.fill(0, 0, 8, 8, 255, 0, 0);
  p.fill(16, 0, 21, 8, 0, 0, 255);
  p.fill(0, 8, 8, 16, 0, 255, 0);
  p.fill(16, 8, 21, 16, 255, 255, 255);
  const std::string path = tempPath("odd-width.jpg");
  writeTestJpeg(path, p);
  table->loadJpegTexture(path, 1);
  const Texels t = readBack(table->textures[1]);
  ASSERT_EQ(t.width, 21);
  for (int row : {8, 15}) {
    const std::string at = "row " + std::to_string(row);
    expectRgb(t.at(0, row), kRed, at + " start");
    expectRgb(t.at(7, row), kRed, at + ", end of the red block");
    expectRgb(t.at(20, row), kBlue, at + " end");
  }
  expectRgb(t.at(0, 0), kGreen, "bottom left");
  expectRgb(t.at(20, 0), kWhite, "bottom right");
}

TEST_F(TextureTableTest, AlphaTextureTakesGreenAsAlphaAndKeepsItsBottomRowTransparentBlack) {
  TestPicture alpha(16, 16);
  alpha.fill(0, 0, 16, 8, 0, 96, 0);
  alpha.fill(0, 8, 16, 16, 255, 255, 255);  // white at the bottom
  const std::string alphaPath = tempPath("alpha.jpg");
  writeTestJpeg(alphaPath, alpha);

  table->loadJpegTextureWithAlpha(quadrantPicture(), alphaPath, 3);
  const Texels t = readBack(table->textures[3]);
  ASSERT_EQ(t.width, 16);
  for (int x = 0; x < 16; ++x) EXPECT_EQ(t.at(x, 0), (std::array<int, 4>{0, 0, 0, 0})) << x;
  expectRgb(t.at(0, 1), kGreen, "row 1");
  EXPECT_NEAR(t.at(0, 1)[3], 255, 3);
  expectRgb(t.at(0, 15), kRed, "top left");
  EXPECT_NEAR(t.at(0, 15)[3], 96, 3);
  expectRgb(t.at(15, 15), kBlue, "top right");

  // The same picture as colour and alpha: its own green becomes alpha.
  table->loadJpegTextureWithAlpha(alphaPath, alphaPath, 4);
  const Texels self = readBack(table->textures[4]);
  EXPECT_NEAR(self.at(5, 15)[1], 96, 3);
  EXPECT_NEAR(self.at(5, 15)[3], 96, 3);
}

// The normals themselves are the pixel tests' business; this is the upload.
TEST_F(TextureTableTest, NormalMapOfABrightColumnTiltsTheFarEdgeToo) {
  TestPicture ridge(16, 8);
  ridge.fill(0, 0, 8, 8, 255, 255, 255);  // one bright block column at the left
  const std::string path = tempPath("ridge.jpg");
  writeTestJpeg(path, ridge);
  table->loadNormalMapTexture(path, 10);
  const Texels t = readBack(table->textures[10]);
  ASSERT_EQ(t.width, 16);
  ASSERT_EQ(t.height, 8);
  // Across the wrap, the right edge sees the bright left edge as its right
  // neighbour: the normal leans toward -x.
  EXPECT_LT(t.at(15, 4)[0], 20);
  EXPECT_GT(t.at(8, 4)[0], 235);  // and the inner edge toward +x
  EXPECT_EQ(t.at(12, 4), (std::array<int, 4>{127, 127, 255, 255}));
}

TEST_F(TextureTableTest, BlankTextureIsBlackAtItsSize) {
  table->createBlankTexture(20, 128, 64);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(GLuint(bound), table->textures[20]);
  const Texels t = readBack(table->textures[20]);
  EXPECT_EQ(t.width, 128);
  EXPECT_EQ(t.height, 64);
  for (int y = 0; y < 64; y += 9)
    for (int x = 0; x < 128; x += 7) ASSERT_EQ(t.at(x, y), (std::array<int, 4>{0, 0, 0, 255}));
}

TEST_F(TextureTableTest, NumbersBelowTheAbsoluteRangeFollowTheBaseAndNothingLandsOutsideTheTable) {
  const std::string path = quadrantPicture();
  table->textureBase = 100;
  table->loadJpegTexture(path, 5);
  EXPECT_EQ(table->textures[5], 0u);
  ASSERT_NE(table->textures[105], 0u);
  EXPECT_EQ(table->name(5), table->textures[105]);

  table->loadJpegTexture(path, 85000);  // stored at base + index, read back absolute
  EXPECT_NE(table->textures[85100], 0u);
  EXPECT_EQ(table->name(85100), table->textures[85100]);
  EXPECT_EQ(table->name(85000), table->textures[85000]);

  ::testing::internal::CaptureStderr();
  table->loadJpegTexture(path, TextureTable::kSize);
  table->createBlankTexture(-200, 8, 8);
  const std::string log = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("outside the table"), std::string::npos) << log;
  EXPECT_EQ(table->name(TextureTable::kSize + 5), 0u);
  EXPECT_EQ(table->name(-1000), 0u);
  EXPECT_FALSE(table->loadingFailed());
}

TEST_F(TextureTableTest, MissingPictureNamesTheFileOnceAndStopsAllLaterLoading) {
  const std::string missing = tempPath("missing.jpg");
  ::testing::internal::CaptureStderr();
  table->loadJpegTexture(missing, 1);
  table->loadJpegTexture(quadrantPicture(), 2);
  table->loadNormalMapTexture(missing, 3);
  const std::string log = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(table->loadingFailed());
  EXPECT_EQ(table->textures[1], 0u);
  EXPECT_EQ(table->textures[2], 0u);
  EXPECT_NE(log.find("Jpg: " + missing + "\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("Jpg: ", log.find("Jpg: ") + 1), std::string::npos) << "one message only: " << log;
}

TEST_F(TextureTableTest, EveryOtherFailureSaysJpgBangWithTheFileThatFailed) {
  const std::string good = quadrantPicture();
  const std::string missing = tempPath("absent.jpg");
  const std::string foreign = tempPath("foreign.jpg");
  writeBytes(foreign, {'G', 'I', 'F', '8', '9', 'a'});
  const std::string wide = quadrantPicture(32, 16);

  struct Case {
    const char* what;
    std::function<void(TextureTable&)> load;
    std::string named;
  };
  const std::vector<Case> cases = {
      {"colour texture, not a JPEG", [&](TextureTable& t) { t.loadJpegTexture(foreign, 1); }, foreign},
      {"alpha texture, colour missing", [&](TextureTable& t) { t.loadJpegTextureWithAlpha(missing, good, 1); },
       missing},
      {"alpha texture, alpha missing", [&](TextureTable& t) { t.loadJpegTextureWithAlpha(good, missing, 1); }, missing},
      {"alpha texture, sizes differ", [&](TextureTable& t) { t.loadJpegTextureWithAlpha(good, wide, 1); }, wide},
      {"normal map, missing", [&](TextureTable& t) { t.loadNormalMapTexture(missing, 1); }, missing},
      {"pixels, not a JPEG",
       [&](TextureTable& t) {
         int w, h;
         EXPECT_TRUE(t.loadJpegPixels(foreign, w, h).empty());
       },
       foreign},
  };
  for (const Case& c : cases) {
    TextureTable fresh;
    ::testing::internal::CaptureStderr();
    c.load(fresh);
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(fresh.loadingFailed()) << c.what;
    EXPECT_EQ(fresh.textures[1], 0u) << c.what;
    EXPECT_NE(log.find("Jpg !: " + c.named + "\n"), std::string::npos) << c.what << ": " << log;
  }
}

// The start-up's loading: the pictures decoded ahead on worker threads,
// taken in load order. Textures, pixels, messages and the point where the
// loading stops are those of the loading that decodes each picture itself.
TEST_F(TextureTableTest, PrefetchedLoadingMatchesInlineLoadingUpToTheFirstFailure) {
  TestPicture heights(24, 10);
  for (int x = 0; x < 24; ++x) heights.fill(x, 0, x + 1, 10, std::uint8_t(x * 10), 0, 0);
  const std::string ramp = tempPath("ramp.jpg");
  writeTestJpeg(ramp, heights);
  const std::string colour = quadrantPicture(32, 16);
  const std::string alpha = quadrantPicture(32, 17);  // one row more: the alpha picture is named
  const std::string good = quadrantPicture(20, 12);
  // Restart markers every block, one dropped: the picture loads, named on stderr.
  TestPicture grey(16, 64);
  grey.fill(0, 0, 16, 64, 200, 200, 200);
  std::vector<std::uint8_t> bytes = encodeTestJpeg(grey, 1);
  for (std::size_t i = 0, seen = 0; i + 1 < bytes.size(); ++i)
    if (bytes[i] == 0xFF && bytes[i + 1] >= 0xD0 && bytes[i + 1] <= 0xD7 && ++seen == 8) {
      bytes.erase(bytes.begin() + long(i), bytes.begin() + long(i) + 2);
      break;
    }
  const std::string damaged = tempPath("damaged.jpg");
  writeBytes(damaged, bytes);
  const std::string foreign = tempPath("foreign.jpg");
  writeBytes(foreign, {'G', 'I', 'F', '8', '9', 'a'});
  const std::string missing = tempPath("missing.jpg");

  struct Loaded {
    std::string log;
    std::vector<Texels> textures;
    std::vector<std::uint8_t> pixels;
    bool failed = false;
  };
  const auto load = [&](TextureTable& t) {
    Loaded out;
    ::testing::internal::CaptureStderr();
    t.loadJpegTexture(good, 1);
    t.loadJpegTextureWithAlpha(colour, colour, 2);
    t.loadNormalMapTexture(ramp, 3);
    int w = 0, h = 0;
    out.pixels = t.loadJpegPixels(good, w, h);
    t.loadJpegTexture(damaged, 4);
    t.loadJpegTextureWithAlpha(colour, alpha, 5);  // sizes differ: the loading stops here
    t.loadJpegTexture(foreign, 6);
    t.loadJpegTexture(missing, 7);
    out.log = ::testing::internal::GetCapturedStderr();
    for (int i = 1; i <= 4; ++i) out.textures.push_back(readBack(t.textures[std::size_t(i)]));
    out.failed = t.loadingFailed();
    EXPECT_EQ(t.textures[5], 0u);
    return out;
  };

  const Loaded direct = load(*table);
  TextureTable prefetched;
  // Listed as the loading will ask, the failing ones included.
  prefetched.prefetch({{good},
                       {colour},
                       {colour, RowOrder::TopFirst},
                       {ramp, RowOrder::TopFirst},
                       {good, RowOrder::BottomFirst, true},
                       {damaged},
                       {colour},
                       {alpha, RowOrder::TopFirst},
                       {foreign},
                       {missing}});
  const Loaded ahead = load(prefetched);

  EXPECT_TRUE(direct.failed);
  EXPECT_TRUE(ahead.failed);
  EXPECT_EQ(ahead.log, direct.log);
  EXPECT_NE(direct.log.find(damaged), std::string::npos) << direct.log;
  EXPECT_NE(direct.log.find("Jpg !: " + alpha + "\n"), std::string::npos) << direct.log;
  EXPECT_EQ(direct.log.find(foreign), std::string::npos) << direct.log;
  EXPECT_EQ(direct.log.find(missing), std::string::npos) << direct.log;
  EXPECT_TRUE(ahead.pixels == direct.pixels);
  ASSERT_EQ(ahead.textures.size(), direct.textures.size());
  for (std::size_t i = 0; i < direct.textures.size(); ++i) {
    EXPECT_GT(direct.textures[i].width, 0) << "texture " << i + 1;
    EXPECT_EQ(ahead.textures[i].width, direct.textures[i].width) << "texture " << i + 1;
    EXPECT_TRUE(ahead.textures[i].data == direct.textures[i].data) << "texture " << i + 1;
  }
  // The two pictures after the stop were never taken; ending frees them.
  ASSERT_NE(prefetched.prefetched(), nullptr);
  EXPECT_EQ(prefetched.prefetched()->untaken(), 2u);
  prefetched.endPrefetch();
  EXPECT_EQ(prefetched.prefetched(), nullptr);
}

}  // namespace
