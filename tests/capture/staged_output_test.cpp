#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "capture/staged_output.h"

namespace fs = std::filesystem;

namespace {
class StagedOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("velmora-staged-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::vector<std::string> listing() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string at(const std::string& name) const { return (dir / name).string(); }
  fs::path dir;
};

TEST_F(StagedOutputTest, AResultAppearsOnlyWhenCommittedAndNothingStaysWhenItIsNot) {
  std::string error;
  {
    StagedOutput file;
    ASSERT_TRUE(file.begin(at("shot.png"), StagedOutput::Kind::File, error)) << error;
    ASSERT_TRUE(writeWholeFile(file.stagingPath(), {1, 2, 3}, error)) << error;
    const std::string scratch = file.scratchPath(".pcm");
    ASSERT_TRUE(writeWholeFile(scratch, {4}, error));
    EXPECT_FALSE(fs::exists(at("shot.png")));
    ASSERT_TRUE(file.commit(error)) << error;
    EXPECT_FALSE(fs::exists(scratch));
  }
  EXPECT_EQ(listing(), std::vector<std::string>{"shot.png"});
  EXPECT_EQ(fs::file_size(at("shot.png")), 3u);

  {
    StagedOutput abandoned;
    ASSERT_TRUE(abandoned.begin(at("frames"), StagedOutput::Kind::Folder, error));
    ASSERT_TRUE(writeWholeFile(abandoned.stagingPath() + "/frame_00000.png", {1}, error));
    abandoned.scratchPath(".pcm");
  }
  EXPECT_EQ(listing(), std::vector<std::string>{"shot.png"});
}

TEST_F(StagedOutputTest, AFolderResultTakesTheNameOfAnEmptyFolderButNeverMixesWithOtherFiles) {
  std::string error;
  fs::create_directories(dir / "empty");
  StagedOutput frames;
  ASSERT_TRUE(frames.begin(at("empty/"), StagedOutput::Kind::Folder, error)) << error;
  ASSERT_TRUE(writeWholeFile(frames.stagingPath() + "/frame_00000.png", {1}, error));
  ASSERT_TRUE(frames.commit(error)) << error;
  EXPECT_TRUE(fs::exists(dir / "empty" / "frame_00000.png"));

  StagedOutput again;
  EXPECT_FALSE(again.begin(at("empty"), StagedOutput::Kind::Folder, error));
  EXPECT_NE(error.find("not an empty folder"), std::string::npos) << error;
  StagedOutput onAFolder;
  EXPECT_FALSE(onAFolder.begin(at("empty"), StagedOutput::Kind::File, error));
  StagedOutput nowhere;
  EXPECT_FALSE(nowhere.begin(at("no/such/place.png"), StagedOutput::Kind::File, error));
  EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
  EXPECT_FALSE(writeWholeFile("/dev/full", {1, 2, 3}, error));
  EXPECT_NE(error.find("No space left"), std::string::npos) << error;
}
}  // namespace
