#pragma once
#include <cstdint>
#include <string>
#include <utility>

// "frame 120 of 1005 (11 %), 41.3 fps, 21 s left": how far a capture is,
// from the frames written and the seconds spent.
std::string progressText(int64_t done, int64_t total, double elapsedSeconds);

// When to show it: on a terminal the line is rewritten in place (a few
// times a second at most); in a log, one line each tenth of the job.
class ProgressLine {
 public:
  // Each line starts with `label`.
  ProgressLine(int64_t total, bool terminal, std::string label)
      : total_(total), terminal_(terminal), label_(std::move(label)) {}

  // What to write now; empty when nothing is due.
  std::string update(int64_t done, double elapsedSeconds);
  // What ends a line left open on a terminal, before another message.
  std::string breakOff();

 private:
  int64_t total_;
  bool terminal_;
  std::string label_;
  bool open_ = false;
  int shownTenths_ = 0;
  double shownAt_ = -1.0;
};
