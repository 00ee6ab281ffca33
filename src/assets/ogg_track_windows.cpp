#include "assets/ogg_track.h"

// The Windows build has no libvorbisfile: stb_vorbis decodes the track.
bool decodeOggTrack(const std::string& path, PcmTrack& track, std::string& error) {
  return decodeOggTrackWithStbVorbis(path, track, error);
}
