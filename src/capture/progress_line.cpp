#include "capture/progress_line.h"

#include <cmath>
#include <cstdio>

namespace {
constexpr double kTerminalInterval = 0.2;  // seconds between rewrites
}

std::string progressText(int64_t done, int64_t total, double elapsedSeconds) {
  const double rate = elapsedSeconds > 0.0 ? static_cast<double>(done) / elapsedSeconds : 0.0;
  const int64_t percent = total > 0 ? done * 100 / total : 100;
  char text[160];
  if (rate > 0.0) {
    const double left = static_cast<double>(total - done) / rate;
    std::snprintf(text, sizeof text, "frame %lld of %lld (%lld %%), %.1f fps, %.0f s left",
                  static_cast<long long>(done), static_cast<long long>(total), static_cast<long long>(percent), rate,
                  std::ceil(left));
  } else {
    std::snprintf(text, sizeof text, "frame %lld of %lld (%lld %%)", static_cast<long long>(done),
                  static_cast<long long>(total), static_cast<long long>(percent));
  }
  return text;
}

std::string ProgressLine::update(int64_t done, double elapsedSeconds) {
  const bool last = done >= total_;
  if (terminal_) {
    if (!last && shownAt_ >= 0.0 && elapsedSeconds - shownAt_ < kTerminalInterval) return {};
    shownAt_ = elapsedSeconds;
    open_ = !last;
    // The blanks wipe what a longer earlier line left.
    return "\r" + label_ + progressText(done, total_, elapsedSeconds) + "   " + (last ? "\n" : "");
  }
  const int tenths = total_ > 0 ? static_cast<int>(done * 10 / total_) : 10;
  if (tenths <= shownTenths_) return {};
  shownTenths_ = tenths;
  return label_ + progressText(done, total_, elapsedSeconds) + "\n";
}

std::string ProgressLine::breakOff() {
  if (!open_) return {};
  open_ = false;
  return "\n";
}
