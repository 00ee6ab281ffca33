#include "run_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <sstream>
#include <thread>

#include "child_process.h"

namespace fs = std::filesystem;

RunFolder::RunFolder()
    : dir_(fs::temp_directory_path() / ("velmora-run-" + std::to_string(getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
  fs::create_directories(dir_);
}

RunFolder::~RunFolder() {
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
}

std::string RunFolder::dataWithOwn(const std::string& own) const {
  const fs::path data = dir_ / "data";
  fs::remove_all(data);
  fs::create_directories(data / own);
  for (const auto& entry : fs::directory_iterator(VELMORA_DATA_DIR)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_directory() && name != own) fs::create_directory_symlink(entry.path(), data / name);
  }
  return data.string();
}

std::vector<double> RunFolder::frameTimes() const {
  std::istringstream log(readFile(path("frames.log")));
  std::vector<double> times;
  std::string line;
  while (std::getline(log, line)) {
    std::istringstream fields(line);
    double demo = 0, music = 0, step = 0;
    if (fields >> demo >> music >> step) times.push_back(demo);
  }
  return times;
}

std::vector<std::int16_t> readRaw(const std::string& path) {
  const std::string bytes = readFile(path);
  std::vector<std::int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

bool waitUntil(const std::function<bool()>& done, double seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}
