#include "director/music.h"

#include <algorithm>

#include "platform/sound.h"

namespace {
constexpr int kMixRate = 44100;
}

bool MusicPlayback::init(std::string& error) {
  open_ = soundOpen(kMixRate, error);
  return open_;
}

bool MusicPlayback::load(const std::string& path, std::string& error) { return decodeOggTrack(path, track_, error); }

void MusicPlayback::play(double fromSeconds) {
  const auto from = static_cast<size_t>(std::max(0.0, fromSeconds) * track_.rate);
  soundPlay(track_.samples.data(), track_.frames(), track_.channels, track_.rate, from);
}

void MusicPlayback::pause() { soundPause(); }

void MusicPlayback::close() {
  if (!open_) return;
  soundClose();
  open_ = false;
}

// The position is taken as an unsigned 32-bit sample count, as the frame
// driver reads it: past 2^31 it stays a large positive number.
uint32_t MusicPlayback::position() { return static_cast<uint32_t>(soundPosition()); }

int MusicPlayback::frequency() { return soundFrequency(); }

void MusicPlayback::setVolume(int volume) { soundSetVolume(volume); }

uint32_t MusicPlayback::length() { return static_cast<uint32_t>(std::min<size_t>(track_.frames(), UINT32_MAX)); }
