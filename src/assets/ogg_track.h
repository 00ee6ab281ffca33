#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A whole music track decoded into memory: interleaved signed 16-bit frames.
struct PcmTrack {
  int rate = 0;
  int channels = 0;
  std::vector<int16_t> samples;  // frames x channels
  int holes = 0;                 // damaged stretches the decoder skipped

  size_t frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
};

// Decodes an OGG Vorbis file. False, with a reason, when the file is
// missing, is not OGG Vorbis or breaks off in a way the decoder cannot pass.
// A file cut short decodes to the part that is there. libvorbisfile decodes
// on Linux, stb_vorbis on Windows.
bool decodeOggTrack(const std::string& path, PcmTrack& track, std::string& error);

// The same with stb_vorbis, on every platform, so that the two decoders can
// be held together. It finds no holes: a damaged stretch ends the track.
bool decodeOggTrackWithStbVorbis(const std::string& path, PcmTrack& track, std::string& error);
