#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "capture/frame_sink.h"
#include "capture/staged_output.h"
#include "platform/child_pipe.h"

namespace {
bool endsWith(std::string text, const std::string& suffix) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Codecs every common player reads for each container.
std::vector<std::string> codecArguments(CaptureFormat format, bool withSound) {
  std::vector<std::string> args;
  if (format == CaptureFormat::WebM) {
    args = {"-c:v", "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "8",        "-row-mt",
            "1",    "-crf",       "30",        "-b:v",     "0",         "-pix_fmt", "yuv420p"};
    if (withSound) args.insert(args.end(), {"-c:a", "libopus", "-b:a", "160k"});
    args.insert(args.end(), {"-f", "webm"});
    return args;
  }
  args = {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18", "-pix_fmt", "yuv420p"};
  if (withSound) args.insert(args.end(), {"-c:a", "aac", "-b:a", "192k"});
  if (format == CaptureFormat::Mp4) {
    args.insert(args.end(), {"-movflags", "+faststart", "-f", "mp4"});
  } else {
    args.insert(args.end(), {"-f", "matroska"});
  }
  return args;
}

// The stretch of the track as raw samples, silence past its end (the music
// is silent there too).
std::vector<uint8_t> soundStretch(const VideoSettings& v) {
  const size_t channels = static_cast<size_t>(v.track->channels);
  std::vector<int16_t> samples(v.trackFrames * channels, 0);
  const size_t have = v.track->frames();
  if (v.trackFrom < have) {
    const size_t frames = std::min(v.trackFrames, have - v.trackFrom);
    std::copy_n(v.track->samples.begin() + static_cast<std::ptrdiff_t>(v.trackFrom * channels), frames * channels,
                samples.begin());
  }
  const auto* bytes = reinterpret_cast<const uint8_t*>(samples.data());
  return std::vector<uint8_t>(bytes, bytes + samples.size() * sizeof(int16_t));
}

class VideoSink final : public FrameSink {
 public:
  bool open(const std::string& path, CaptureFormat format, const VideoSettings& v, std::string& error) {
    if (!output_.begin(path, StagedOutput::Kind::File, error)) return false;
    // ffmpeg ends with 0 after a failed write of the file's end (a full
    // disk) unless told to stop at errors; the error log is checked as well.
    std::vector<std::string> args = {"-hide_banner", "-loglevel",
                                     "error",        "-xerror",
                                     "-nostdin",     "-y",
                                     "-f",           "rawvideo",
                                     "-pix_fmt",     "rgb24",
                                     "-s",           std::to_string(v.width) + "x" + std::to_string(v.height),
                                     "-framerate",   std::to_string(v.fps),
                                     "-i",           "pipe:0"};
    const bool withSound = v.track != nullptr && v.track->channels > 0;
    if (withSound) {
      const std::string sound = output_.scratchPath(".pcm");
      if (!writeWholeFile(sound, soundStretch(v), error)) return false;
      args.insert(args.end(), {"-f", "s16le", "-ar", std::to_string(v.track->rate), "-ac",
                               std::to_string(v.track->channels), "-i", sound, "-map", "0:v", "-map", "1:a"});
    }
    const std::vector<std::string> codecs = codecArguments(format, withSound);
    args.insert(args.end(), codecs.begin(), codecs.end());
    args.push_back(output_.stagingPath());
    if (!ffmpeg_.start("ffmpeg", args, error)) {
      error = "cannot encode the video: " + error + " (install ffmpeg, or capture PNG frames into a folder)";
      return false;
    }
    return true;
  }

  bool write(const uint8_t* rgb, int width, int height, std::string& error) override {
    if (ffmpeg_.write(rgb, static_cast<size_t>(width) * static_cast<size_t>(height) * 3, error)) return true;
    std::string ended;
    ffmpeg_.finish(ended);
    error = "ffmpeg failed (" + (ended.empty() ? error : ended) + ")" + helperSays();
    return false;
  }

  bool finish(std::string& error) override {
    if (!ffmpeg_.finish(error)) {
      error = "ffmpeg failed (" + error + ")" + helperSays();
      return false;
    }
    if (!ffmpeg_.errorTail().empty()) {
      error = "ffmpeg failed" + helperSays();
      return false;
    }
    return output_.commit(error);
  }

 private:
  std::string helperSays() const {
    const std::string tail = ffmpeg_.errorTail();
    return tail.empty() ? std::string() : ": " + tail;
  }

  StagedOutput output_;  // declared first: the encoder ends before its output goes
  ChildPipe ffmpeg_;
};
}  // namespace

CaptureFormat captureFormatOf(const std::string& out) {
  if (endsWith(out, ".mp4")) return CaptureFormat::Mp4;
  if (endsWith(out, ".mkv")) return CaptureFormat::Matroska;
  if (endsWith(out, ".webm")) return CaptureFormat::WebM;
  return CaptureFormat::PngFolder;
}

std::unique_ptr<FrameSink> openVideoSink(const std::string& path, CaptureFormat format, const VideoSettings& settings,
                                         std::string& error) {
  auto sink = std::make_unique<VideoSink>();
  if (!sink->open(path, format, settings, error)) return nullptr;
  return sink;
}
