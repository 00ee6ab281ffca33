#pragma once
#include <array>
#include <cstdint>

// One cue of the demo: current from `start` to `end`, both inclusive.
struct TimelineSegment {
  double start = 0.0;
  double end = 0.0;
  int32_t id = 0;
};

// The fixed cue table and the lookup that tells the frame driver which cue
// is current and when it changed.
struct Timeline {
  static constexpr int32_t kCapacity = 31;

  std::array<TimelineSegment, kCapacity> segments{};
  int32_t count = 0;
  int32_t lastIndex = -1;
  int32_t currentIndex = 0;

  void fill();

  // The id of the cue current at demo time t, 0 when none is. `changed`
  // tells the caller to restart its cue pulse: set when a different cue is
  // found, and on every lookup that finds none.
  int32_t findSegment(double t, bool& changed);
};
