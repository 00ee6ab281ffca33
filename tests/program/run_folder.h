#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

inline const std::string kDemoTitle = "  = Velmora. Drov 2006 = ";

// A private folder for one test's run, named after the process and the
// test, so that tests run side by side never share files; removed at the end.
class RunFolder {
 public:
  RunFolder();
  ~RunFolder();
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;

  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  // A data folder whose `own` sub-folder is empty and the test's to fill;
  // every other sub-folder links to the generated data.
  std::string dataWithOwn(const std::string& own) const;

  // The demo time of every frame the run logged to path("frames.log").
  std::vector<double> frameTimes() const;

 private:
  std::filesystem::path dir_;
};

// 16-bit samples as SDL's disk audio driver writes them.
std::vector<std::int16_t> readRaw(const std::string& path);

// Polls until `done` holds or the time is up; says which.
bool waitUntil(const std::function<bool()>& done, double seconds);
