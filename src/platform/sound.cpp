#include "platform/sound.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>

#include "platform/track_mix.h"

namespace {
constexpr int kOutputChannels = 2;
constexpr int kBufferFrames = 1024;

struct SoundDevice {
  SDL_AudioDeviceID id = 0;
  int deviceRate = 0;
  int bufferFrames = 0;

  // The track; written before the device is unpaused, read by the callback.
  TrackMix track;
  int rate = 0;
  size_t startFrame = 0;  // track frame playback started from

  std::atomic<int> volume{255};

  // Written by the callback under the device lock.
  uint64_t mixedFrames = 0;      // device frames handed over before the last callback
  uint64_t callbackCounter = 0;  // performance counter at the last callback

  uint64_t lastReported = 0;  // main thread: keeps the position monotonic
};

SoundDevice g_sound;

void mix(void* user, Uint8* stream, int bytes) {
  auto& s = *static_cast<SoundDevice*>(user);
  const int count = bytes / static_cast<int>(sizeof(int16_t) * kOutputChannels);
  s.track.mixInto(reinterpret_cast<int16_t*>(stream), count, s.volume.load(std::memory_order_relaxed));
  s.callbackCounter = SDL_GetPerformanceCounter();
  s.mixedFrames += static_cast<uint64_t>(count);
}
}  // namespace

bool soundOpen(int mixRate, std::string& error) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error = SDL_GetError();
    return false;
  }
  SDL_AudioSpec want{};
  want.freq = mixRate;
  want.format = AUDIO_S16SYS;
  want.channels = kOutputChannels;
  want.samples = kBufferFrames;
  want.callback = mix;
  want.userdata = &g_sound;
  SDL_AudioSpec have{};
  g_sound.id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (g_sound.id == 0) {
    error = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  g_sound.deviceRate = have.freq;
  g_sound.bufferFrames = have.samples;
  return true;
}

void soundPlay(const int16_t* samples, size_t frames, int channels, int rate, size_t from) {
  if (g_sound.id == 0) return;
  SDL_LockAudioDevice(g_sound.id);
  g_sound.track.start(samples, frames, channels, rate, g_sound.deviceRate, from);
  g_sound.rate = rate;
  g_sound.startFrame = from;
  g_sound.mixedFrames = 0;
  g_sound.callbackCounter = SDL_GetPerformanceCounter();
  g_sound.lastReported = from;
  SDL_UnlockAudioDevice(g_sound.id);
  SDL_PauseAudioDevice(g_sound.id, 0);
}

uint64_t soundPosition() {
  if (g_sound.id == 0 || g_sound.rate == 0) return 0;
  SDL_LockAudioDevice(g_sound.id);
  const uint64_t mixed = g_sound.mixedFrames;
  const uint64_t at = g_sound.callbackCounter;
  SDL_UnlockAudioDevice(g_sound.id);
  // What was handed over before the device's buffer, plus the time since
  // then: the device plays one buffer while the next one waits.
  const double since =
      static_cast<double>(SDL_GetPerformanceCounter() - at) / static_cast<double>(SDL_GetPerformanceFrequency());
  const double behind = static_cast<double>(mixed) - 2.0 * g_sound.bufferFrames;
  double heard = behind + since * g_sound.deviceRate;
  heard = std::clamp(heard, 0.0, std::max(0.0, static_cast<double>(mixed) - g_sound.bufferFrames));
  const auto position = g_sound.startFrame + static_cast<uint64_t>(heard * g_sound.track.step);
  g_sound.lastReported = std::max(g_sound.lastReported, position);
  return g_sound.lastReported;
}

void soundPause() {
  if (g_sound.id != 0) SDL_PauseAudioDevice(g_sound.id, 1);
}

int soundFrequency() { return g_sound.rate; }

void soundSetVolume(int volume) { g_sound.volume.store(std::clamp(volume, 0, 255)); }

// Lets the buffers already mixed reach the ear before the device closes, so
// that a fade to silence ends in silence rather than in a cut.
static void drainMixedBuffers() {
  const auto mixedNow = [] {
    SDL_LockAudioDevice(g_sound.id);
    const uint64_t mixed = g_sound.mixedFrames;
    SDL_UnlockAudioDevice(g_sound.id);
    return mixed;
  };
  const uint64_t target = mixedNow() + 2 * static_cast<uint64_t>(g_sound.bufferFrames);
  const uint64_t deadline = SDL_GetTicks64() + 250;
  while (mixedNow() < target && SDL_GetTicks64() < deadline) SDL_Delay(2);
}

void soundClose() {
  if (g_sound.id == 0) return;
  if (g_sound.rate != 0 && SDL_GetAudioDeviceStatus(g_sound.id) == SDL_AUDIO_PLAYING) {
    drainMixedBuffers();
  }
  SDL_CloseAudioDevice(g_sound.id);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  g_sound.id = 0;
  g_sound.track = TrackMix{};
  g_sound.rate = 0;
  g_sound.volume.store(255);
}
