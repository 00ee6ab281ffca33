#include "director/step_clock.h"

#include <cmath>

namespace {
// A time typed in decimals is "on the grid" when it is the grid time up to
// the rounding of the decimal.
constexpr double kOnGridTolerance = 1e-7;
}  // namespace

FrameGrid::FrameGrid(double origin, int fps) : origin_(origin), fps_(fps) {
  const double index = origin * fps;
  if (std::fabs(index - std::nearbyint(index)) < kOnGridTolerance) {
    gridIndex_ = static_cast<int64_t>(std::nearbyint(index));
  }
}

double FrameGrid::time(int64_t n) const {
  if (gridIndex_ >= 0) return static_cast<double>(gridIndex_ + n) / fps_;
  return origin_ + static_cast<double>(n) / fps_;
}

int64_t FrameGrid::framesBefore(double end) const {
  const double span = (end - origin_) * fps_;
  if (span <= 0.0) return 0;
  auto count = static_cast<int64_t>(std::ceil(span - kOnGridTolerance));
  // The tolerance may count one too many or few against the exact times.
  while (count > 0 && time(count - 1) >= end) --count;
  while (time(count) < end) ++count;
  return count;
}

double FixedStepClock::nextStep(DirectorState& state) {
  const double now = grid_.time(next_++);
  // Both are grid times a frame or less apart: the difference is exact and
  // demo time lands on `now` itself.
  const double step = now - state.lastClock;
  state.lastClock = now;
  return step;
}
