#pragma once
#include <cstddef>
#include <cstdint>

// The music channel's mixing, shared by every sound back end: one track of
// interleaved 16-bit frames (mono or stereo) read at `step` track frames per
// output frame into stereo 16-bit output.
struct TrackMix {
  const int16_t* samples = nullptr;
  size_t frames = 0;
  int channels = 0;
  double step = 1.0;    // track frames per output frame
  double cursor = 0.0;  // track frame of the next output frame

  // Plays `frames` interleaved frames of `channels` at `rate` on a device
  // running at `deviceRate`, from track frame `from` on.
  void start(const int16_t* trackSamples, size_t trackFrames, int trackChannels, int rate, int deviceRate, size_t from);

  // Writes `count` stereo frames at `volume` (0 .. 255): silence past the
  // track's end, linear interpolation when the rates differ.
  void mixInto(int16_t* out, int count, int volume);
};
