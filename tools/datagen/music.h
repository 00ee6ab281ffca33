#pragma once
// The music track: synthesised, loudness-normalised, Vorbis-encoded.
#include <vector>

#include "datagen.h"

namespace datagen {

struct Track {
  int rate = 44100;
  std::vector<float> left, right;
};

constexpr double kTrackSeconds = 36.0;
constexpr double kTargetLufs = -16.0;
constexpr double kPeakCeiling = 0.7;  // about -3 dBFS before encoding: Vorbis overshoots

// The finished mix: structure timed to the choreography, normalised to
// kTargetLufs, peaks held under kPeakCeiling.
Track renderTrack();

// ITU-R BS.1770 integrated loudness (gated), in LUFS; -inf for silence.
double integratedLoudness(const Track& t);
// Loudness of one stretch (ungated mean square of the K-weighted signal).
double stretchLoudness(const Track& t, double fromS, double toS);
double samplePeak(const Track& t);

// Ogg Vorbis, quality about 160 kbit/s, fixed stream serial.
Bytes encodeOgg(const Track& t);

}  // namespace datagen
