#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "assets/ogg_track.h"
#include "core/picture_size.h"

// Where rendered frames go: every frame once, in order, then finish. A sink
// that is destroyed unfinished leaves nothing behind under the result's name.
class FrameSink {
 public:
  virtual ~FrameSink() = default;
  // `rgb`: width x height pixels, rows top first. False, with the cause.
  virtual bool write(const uint8_t* rgb, int width, int height, std::string& error) = 0;
  // Completes the result and gives it its name.
  virtual bool finish(std::string& error) = 0;
};

// What a capture is written as, from the name given for it.
enum class CaptureFormat { PngFolder, Mp4, Matroska, WebM };
CaptureFormat captureFormatOf(const std::string& out);

struct VideoSettings {
  int width = kPictureWidth;
  int height = kPictureHeight;
  int fps = 60;
  // The stretch of the track to mux, in frames of the track; no sound when
  // `track` is null.
  const PcmTrack* track = nullptr;
  size_t trackFrom = 0;
  size_t trackFrames = 0;
};

// One PNG file (a shot).
std::unique_ptr<FrameSink> openPngFileSink(const std::string& path, std::string& error);
// Numbered PNGs "frame_00000.png", "frame_00001.png", ... in a new folder.
std::unique_ptr<FrameSink> openPngFolderSink(const std::string& folder, std::string& error);
// A video encoded by the ffmpeg program, fed raw frames through a pipe.
std::unique_ptr<FrameSink> openVideoSink(const std::string& path, CaptureFormat format, const VideoSettings& settings,
                                         std::string& error);

// The name of frame n in a PNG folder.
std::string pngFrameName(int64_t n);
