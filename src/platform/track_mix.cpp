#include "platform/track_mix.h"

namespace {
constexpr int kOutputChannels = 2;

int16_t trackSample(const TrackMix& m, size_t frame, int channel) {
  if (frame >= m.frames) return 0;
  const int source = m.channels == 1 ? 0 : channel;
  return m.samples[frame * static_cast<size_t>(m.channels) + static_cast<size_t>(source)];
}
}  // namespace

void TrackMix::start(const int16_t* trackSamples, size_t trackFrames, int trackChannels, int rate, int deviceRate,
                     size_t from) {
  samples = trackSamples;
  frames = trackFrames;
  channels = trackChannels;
  step = static_cast<double>(rate) / static_cast<double>(deviceRate);
  cursor = static_cast<double>(from);
}

void TrackMix::mixInto(int16_t* out, int count, int volume) {
  for (int i = 0; i < count; ++i) {
    const auto frame = static_cast<size_t>(cursor);
    for (int c = 0; c < kOutputChannels; ++c) {
      int32_t v = trackSample(*this, frame, c);
      if (step != 1.0) {
        const double t = cursor - static_cast<double>(frame);
        v = static_cast<int32_t>(v + (trackSample(*this, frame + 1, c) - v) * t);
      }
      out[i * kOutputChannels + c] = static_cast<int16_t>(v * volume / 255);
    }
    cursor += step;
  }
}
