#pragma once
#include <cstdint>
#include <string>

#include "assets/ogg_track.h"

// What the frame driver asks of the music: the heard position, its rate,
// the volume of all channels.
struct MusicChannel {
  virtual uint32_t position() = 0;         // samples of the track heard so far
  virtual int frequency() = 0;             // Hz
  virtual void setVolume(int volume) = 0;  // 0..255
  // Samples in the whole track; the largest value when it is not known.
  virtual uint32_t length() { return UINT32_MAX; }

 protected:
  ~MusicChannel() = default;
};

// The demo's track, decoded into memory and played on the sound device.
class MusicPlayback final : public MusicChannel {
 public:
  static constexpr const char* kTrackPath = "music//velmora.ogg";

  // Opens the sound device at 44100 Hz.
  bool init(std::string& error);
  // Decodes the whole track; it plays once and does not loop.
  bool load(const std::string& path, std::string& error);
  // Plays from `fromSeconds` into the track (0: its start).
  void play(double fromSeconds = 0.0);
  // Stops the sound where it is; play goes on from any point.
  void pause();
  void close();

  uint32_t position() override;
  int frequency() override;
  void setVolume(int volume) override;
  uint32_t length() override;

  const PcmTrack& track() const { return track_; }

 private:
  PcmTrack track_;
  bool open_ = false;
};
