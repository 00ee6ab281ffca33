// The data generator gives the same bytes every run, however many threads
// make them: the reference pictures rely on it.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "datagen.h"

using namespace datagen;
namespace fs = std::filesystem;

namespace {
// A scratch path of this process's own: several build folders may test at once.
fs::path scratchPath(const std::string& name) {
  return fs::temp_directory_path() / ("velmora_datagen_" + std::to_string(getpid()) + "_" + name);
}

TEST(Generate, TwoRunsGiveTheSameBytes) {
  const fs::path base = scratchPath("generate");
  fs::remove_all(base);
  const int n1 = generateAll(base / "a", 1), n2 = generateAll(base / "b", 3);  // threads change nothing
  ASSERT_EQ(n1, n2);
  int compared = 0;
  for (const auto& e : fs::recursive_directory_iterator(base / "a")) {
    if (!e.is_regular_file()) continue;
    std::ifstream a(e.path(), std::ios::binary), b(base / "b" / fs::relative(e.path(), base / "a"), std::ios::binary);
    const std::string sa((std::istreambuf_iterator<char>(a)), {}), sb((std::istreambuf_iterator<char>(b)), {});
    EXPECT_TRUE(!sa.empty() && sa == sb) << e.path();
    ++compared;
  }
  EXPECT_EQ(compared, n1);
  fs::remove_all(base);
}

}  // namespace
