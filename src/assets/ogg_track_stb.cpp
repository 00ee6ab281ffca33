#include "assets/ogg_track.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <memory>

namespace {
std::string stbVorbisError(int code) {
  switch (code) {
    case VORBIS_file_open_failure:
      return "cannot read the file";
    case VORBIS_missing_capture_pattern:
    case VORBIS_invalid_first_page:
    case VORBIS_invalid_stream_structure_version:
    case VORBIS_continued_packet_flag_invalid:
    case VORBIS_incorrect_stream_serial_number:
    case VORBIS_cant_find_last_page:
      return "not an OGG Vorbis file";
    case VORBIS_invalid_setup:
    case VORBIS_invalid_stream:
    case VORBIS_unexpected_eof:
      return "damaged Vorbis header";
    case VORBIS_outofmem:
      return "decoder fault";
    default:
      return "cannot decode (" + std::to_string(code) + ")";
  }
}

struct CloseStbVorbis {
  void operator()(stb_vorbis* v) const { stb_vorbis_close(v); }
};
}  // namespace

bool decodeOggTrackWithStbVorbis(const std::string& path, PcmTrack& track, std::string& error) {
  int opened = 0;
  const std::unique_ptr<stb_vorbis, CloseStbVorbis> file(stb_vorbis_open_filename(path.c_str(), &opened, nullptr));
  if (file == nullptr) {
    error = stbVorbisError(opened);
    return false;
  }
  const stb_vorbis_info info = stb_vorbis_get_info(file.get());
  if (info.channels < 1 || info.channels > 2 || info.sample_rate == 0) {
    error = "unsupported channel layout";
    return false;
  }
  track.rate = static_cast<int>(info.sample_rate);
  track.channels = info.channels;
  track.samples.clear();
  track.holes = 0;
  const unsigned total = stb_vorbis_stream_length_in_samples(file.get());
  if (total > 0) track.samples.reserve(static_cast<size_t>(total) * static_cast<size_t>(info.channels));

  short buffer[8192];
  const int capacity = static_cast<int>(sizeof buffer / sizeof buffer[0]);
  for (;;) {
    const int frames = stb_vorbis_get_samples_short_interleaved(file.get(), info.channels, buffer, capacity);
    if (frames <= 0) break;
    track.samples.insert(track.samples.end(), buffer, buffer + frames * info.channels);
  }
  if (track.frames() == 0) {
    error = "the track holds no sound";
    return false;
  }
  return true;
}
