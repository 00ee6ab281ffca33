#include "assets/ogg_track.h"

#include <vorbis/vorbisfile.h>

namespace {
std::string vorbisError(int code) {
  switch (code) {
    case OV_EREAD:
      return "read error";
    case OV_ENOTVORBIS:
      return "not an OGG Vorbis file";
    case OV_EVERSION:
      return "unsupported Vorbis version";
    case OV_EBADHEADER:
      return "damaged Vorbis header";
    case OV_EFAULT:
      return "decoder fault";
    case OV_EBADLINK:
      return "damaged stream";
    default:
      return "cannot decode (" + std::to_string(code) + ")";
  }
}
}  // namespace

bool decodeOggTrack(const std::string& path, PcmTrack& track, std::string& error) {
  OggVorbis_File file;
  const int opened = ov_fopen(path.c_str(), &file);
  if (opened != 0) {
    error = opened == OV_EREAD ? "cannot read the file" : vorbisError(opened);
    return false;
  }
  const vorbis_info* info = ov_info(&file, -1);
  if (info == nullptr || info->channels < 1 || info->channels > 2 || info->rate <= 0) {
    ov_clear(&file);
    error = "unsupported channel layout";
    return false;
  }
  track.rate = static_cast<int>(info->rate);
  track.channels = info->channels;
  track.samples.clear();
  track.holes = 0;
  const ogg_int64_t total = ov_pcm_total(&file, -1);
  if (total > 0) track.samples.reserve(static_cast<size_t>(total) * static_cast<size_t>(info->channels));

  char buffer[16384];
  int section = 0;
  for (;;) {
    const long got = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section);
    if (got == 0) break;
    if (got == OV_HOLE) {  // a gap in the data: keep what follows
      ++track.holes;
      continue;
    }
    if (got < 0) {
      ov_clear(&file);
      error = vorbisError(static_cast<int>(got));
      return false;
    }
    // A chained stream that changes its layout cannot be played as one track.
    const vorbis_info* now = ov_info(&file, section);
    if (now == nullptr || now->channels != track.channels) break;
    const auto* pcm = reinterpret_cast<const int16_t*>(buffer);
    track.samples.insert(track.samples.end(), pcm, pcm + got / 2);
  }
  ov_clear(&file);
  if (track.frames() == 0) {
    error = "the track holds no sound";
    return false;
  }
  return true;
}
