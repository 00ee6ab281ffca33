#include "platform/sound.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/track_mix.h"
#include "platform/win32/win32_common.h"
// After windows.h, which it needs.
#include <mmsystem.h>

// The music through waveOut: a feeder thread keeps a ring of small buffers
// queued, mixing into each one the device hands back; the heard position
// is the device's own count of the frames it has played.
namespace {
constexpr int kOutputChannels = 2;
constexpr int kBufferFrames = 1024;
constexpr int kBuffers = 4;
constexpr DWORD kDrainMs = 250;

struct SoundDevice {
  HWAVEOUT out = nullptr;
  HANDLE bufferDone = nullptr;  // signalled by the device for each buffer it hands back
  std::thread feeder;
  std::atomic<bool> stopping{false};
  int deviceRate = 0;
  std::atomic<int> volume{255};

  std::mutex lock;  // between the feeder and the main thread: all below
  std::array<WAVEHDR, kBuffers> headers{};
  std::array<std::vector<int16_t>, kBuffers> memory;
  int next = 0;  // the buffer that plays after the last one queued
  TrackMix track;
  int rate = 0;
  bool playing = false;
  size_t startFrame = 0;      // track frame playback started from
  uint64_t mixedFrames = 0;   // device frames queued since then
  uint64_t lastReported = 0;  // keeps the position monotonic
};

SoundDevice g_sound;

std::string waveOutErrorText(MMRESULT code) {
  char text[MAXERRORLENGTH] = {};
  if (waveOutGetErrorTextA(code, text, sizeof text) != MMSYSERR_NOERROR) return "error " + std::to_string(code);
  return text;
}

// Refills the buffers the device has handed back, in the order they play.
void refill(SoundDevice& s) {
  while ((s.headers[s.next].dwFlags & WHDR_INQUEUE) == 0) {
    WAVEHDR& header = s.headers[s.next];
    s.track.mixInto(s.memory[s.next].data(), kBufferFrames, s.volume.load(std::memory_order_relaxed));
    header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
    if (waveOutWrite(s.out, &header, sizeof header) != MMSYSERR_NOERROR) return;
    s.mixedFrames += kBufferFrames;
    s.next = (s.next + 1) % kBuffers;
  }
}

void feed(SoundDevice& s) {
  while (!s.stopping.load()) {
    WaitForSingleObject(s.bufferDone, 50);
    const std::lock_guard<std::mutex> guard(s.lock);
    if (s.playing) refill(s);
  }
}

bool anyQueued(const SoundDevice& s) {
  return std::any_of(s.headers.begin(), s.headers.end(),
                     [](const WAVEHDR& h) { return (h.dwFlags & WHDR_INQUEUE) != 0; });
}
}  // namespace

bool soundOpen(int mixRate, std::string& error) {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = kOutputChannels;
  format.nSamplesPerSec = static_cast<DWORD>(mixRate);
  format.wBitsPerSample = 16;
  format.nBlockAlign = static_cast<WORD>(kOutputChannels * sizeof(int16_t));
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  g_sound.bufferDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  const MMRESULT opened = waveOutOpen(&g_sound.out, WAVE_MAPPER, &format,
                                      reinterpret_cast<DWORD_PTR>(g_sound.bufferDone), 0, CALLBACK_EVENT);
  if (opened != MMSYSERR_NOERROR) {
    error = waveOutErrorText(opened);
    CloseHandle(g_sound.bufferDone);
    g_sound.bufferDone = nullptr;
    g_sound.out = nullptr;
    return false;
  }
  g_sound.deviceRate = mixRate;
  for (int i = 0; i < kBuffers; ++i) {
    g_sound.memory[i].assign(static_cast<size_t>(kBufferFrames * kOutputChannels), 0);
    WAVEHDR& header = g_sound.headers[i];
    header = WAVEHDR{};
    header.lpData = reinterpret_cast<LPSTR>(g_sound.memory[i].data());
    header.dwBufferLength = static_cast<DWORD>(g_sound.memory[i].size() * sizeof(int16_t));
    waveOutPrepareHeader(g_sound.out, &header, sizeof header);
  }
  g_sound.stopping = false;
  g_sound.feeder = std::thread(feed, std::ref(g_sound));
  return true;
}

void soundPlay(const int16_t* samples, size_t frames, int channels, int rate, size_t from) {
  if (g_sound.out == nullptr) return;
  const std::lock_guard<std::mutex> guard(g_sound.lock);
  // Hands every queued buffer back and counts the position from 0 again.
  waveOutReset(g_sound.out);
  g_sound.track.start(samples, frames, channels, rate, g_sound.deviceRate, from);
  g_sound.rate = rate;
  g_sound.startFrame = from;
  g_sound.mixedFrames = 0;
  g_sound.lastReported = from;
  g_sound.next = 0;
  g_sound.playing = true;
  refill(g_sound);
}

void soundPause() {
  if (g_sound.out == nullptr) return;
  const std::lock_guard<std::mutex> guard(g_sound.lock);
  g_sound.playing = false;
  waveOutReset(g_sound.out);
}

uint64_t soundPosition() {
  if (g_sound.out == nullptr || g_sound.rate == 0) return 0;
  const std::lock_guard<std::mutex> guard(g_sound.lock);
  if (!g_sound.playing) return g_sound.lastReported;
  MMTIME played{};
  played.wType = TIME_SAMPLES;
  if (waveOutGetPosition(g_sound.out, &played, sizeof played) != MMSYSERR_NOERROR) return g_sound.lastReported;
  uint64_t frames = 0;
  if (played.wType == TIME_SAMPLES) {
    frames = played.u.sample;
  } else if (played.wType == TIME_BYTES) {
    frames = played.u.cb / (kOutputChannels * sizeof(int16_t));
  }
  frames = std::min(frames, g_sound.mixedFrames);
  const auto position = g_sound.startFrame + static_cast<uint64_t>(static_cast<double>(frames) * g_sound.track.step);
  g_sound.lastReported = std::max(g_sound.lastReported, position);
  return g_sound.lastReported;
}

int soundFrequency() { return g_sound.rate; }

void soundSetVolume(int volume) { g_sound.volume.store(std::clamp(volume, 0, 255)); }

void soundClose() {
  if (g_sound.out == nullptr) return;
  g_sound.stopping = true;
  SetEvent(g_sound.bufferDone);
  g_sound.feeder.join();
  // The buffers already mixed reach the ear, so that a fade to silence
  // ends in silence rather than in a cut.
  const ULONGLONG deadline = GetTickCount64() + kDrainMs;
  while (g_sound.playing && anyQueued(g_sound) && GetTickCount64() < deadline) Sleep(2);
  waveOutReset(g_sound.out);
  for (WAVEHDR& header : g_sound.headers) waveOutUnprepareHeader(g_sound.out, &header, sizeof header);
  waveOutClose(g_sound.out);
  CloseHandle(g_sound.bufferDone);
  g_sound.out = nullptr;
  g_sound.bufferDone = nullptr;
  g_sound.track = TrackMix{};
  g_sound.rate = 0;
  g_sound.playing = false;
  g_sound.volume.store(255);
}
