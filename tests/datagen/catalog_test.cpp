#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "test_support.h"

using namespace datagen;
namespace fs = std::filesystem;

namespace {

// Every file the demo opens, by the names its set-up code uses.
std::vector<std::string> filesTheDemoLoads() {
  std::vector<std::string> v{"textures/loading.jpg", "music/velmora.ogg"};
  for (int k = 0; k <= 30; k += 2) {
    char n[32];
    std::snprintf(n, sizeof n, "textures/caust%02d.jpg", k);
    v.push_back(n);
  }
  for (const char* f : {"posx", "negx", "posy", "negy", "posz", "negz"})
    v.push_back(std::string("textures/1night_") + f + ".jpg");
  for (const char* f :
       {"shadowman", "drov", "blob41b", "blob", "clouds3", "cloud3alpha", "blood1", "bg03", "horse", "horsea", "pcb",
        "pcb2", "fteri", "fteri2", "cardinal", "drovtrace", "flower", "horse3", "cave1"})
    v.push_back(std::string("textures/") + f + ".jpg");
  for (const char* f : {"man", "heart", "man_gon", "thequad", "edafos2"})
    v.push_back(std::string("meshes/") + f + ".3ds");
  v.push_back("meshes/edafos.jpg");
  v.push_back("meshes/man_goni.jpg");
  return v;
}

bool powerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

TEST(Catalog, HoldsEveryFileTheDemoLoadsOnce) {
  std::set<std::string> names;
  for (const DataFile& f : catalog()) EXPECT_TRUE(names.insert(f.path).second) << "twice: " << f.path;
  for (const std::string& want : filesTheDemoLoads()) EXPECT_TRUE(names.count(want)) << "missing: " << want;
}

TEST(Catalog, PicturesAreColourJpegsOfTextureSizes) {
  std::map<std::string, std::pair<int, int>> size;
  bool progressive = false, restarts = false;
  std::set<std::pair<int, int>> layouts;
  for (const DataFile& f : catalog()) {
    if (f.path.ends_with(".3ds") || f.path.ends_with(".ogg")) continue;
    const auto d = datagen_test::decodeJpeg(f.make());
    EXPECT_EQ(d.components, 3) << f.path;  // the demo's loaders take colour only
    EXPECT_TRUE(powerOfTwo(d.width) && powerOfTwo(d.height)) << f.path;
    EXPECT_GE(std::min(d.width, d.height), 256) << f.path;
    EXPECT_LE(std::max(d.width, d.height), 1024) << f.path;
    size[f.path] = {d.width, d.height};
    progressive |= d.progressive;
    restarts |= d.restartInterval > 0;
    layouts.insert({d.hSamp, d.vSamp});
  }
  // the demo's decoder meets every path it supports in the real data
  EXPECT_TRUE(progressive);
  EXPECT_TRUE(restarts);
  EXPECT_EQ(layouts.size(), 4u);
  // colour and alpha pictures are loaded together and must match in size
  for (auto [colour, alpha] :
       std::vector<std::pair<std::string, std::string>>{{"textures/clouds3.jpg", "textures/cloud3alpha.jpg"},
                                                        {"textures/horse.jpg", "textures/horsea.jpg"},
                                                        {"textures/pcb.jpg", "textures/pcb2.jpg"},
                                                        {"meshes/FATBLEND.JPG", "meshes/alphaFATBLEND.JPG"}})
    EXPECT_EQ(size.at(colour), size.at(alpha)) << colour;
}

TEST(Catalog, CausticFramesLoopWithoutAJump) {
  // frame 16 would equal frame 0: the step from the last frame back to the
  // first is no larger than the steps between neighbours
  auto pixels = [](int k) {
    char n[32];
    std::snprintf(n, sizeof n, "textures/caust%02d.jpg", 2 * k);
    for (const DataFile& f : catalog())
      if (f.path == n) return datagen_test::decodeJpeg(f.make()).rgb;
    return std::vector<std::uint8_t>{};
  };
  auto diff = [](const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    double s = 0;
    for (std::size_t i = 0; i < a.size(); ++i) s += std::abs(int(a[i]) - int(b[i]));
    return s / a.size();
  };
  const auto f0 = pixels(0), f1 = pixels(1), f14 = pixels(14), f15 = pixels(15);
  const double wrap = diff(f15, f0), step = std::max(diff(f0, f1), diff(f14, f15));
  EXPECT_LT(wrap, step * 1.5);
  EXPECT_GT(diff(f0, pixels(8)), 0.5 * step);  // and it does move
}

TEST(Generate, TwoRunsGiveTheSameBytes) {
  const fs::path base = datagen_test::scratchPath("generate");
  fs::remove_all(base);
  // one run single-threaded, one parallel: the bytes do not depend on it
  const int n1 = generateAll(base / "a", 1);
  const int n2 = generateAll(base / "b", 3);
  ASSERT_EQ(n1, n2);
  int compared = 0;
  for (const auto& e : fs::recursive_directory_iterator(base / "a")) {
    if (!e.is_regular_file()) continue;
    const fs::path other = base / "b" / fs::relative(e.path(), base / "a");
    std::ifstream a(e.path(), std::ios::binary), b(other, std::ios::binary);
    const std::string sa((std::istreambuf_iterator<char>(a)), {}), sb((std::istreambuf_iterator<char>(b)), {});
    EXPECT_FALSE(sa.empty()) << e.path();
    EXPECT_EQ(sa == sb, true) << e.path();
    ++compared;
  }
  EXPECT_EQ(compared, n1);
  fs::remove_all(base);
}

}  // namespace
