#include <cstdio>
#include <filesystem>

#include "capture/frame_sink.h"
#include "capture/png_encoding.h"
#include "capture/staged_output.h"

namespace {
class PngFileSink final : public FrameSink {
 public:
  bool open(const std::string& path, std::string& error) {
    return output_.begin(path, StagedOutput::Kind::File, error);
  }
  bool write(const uint8_t* rgb, int width, int height, std::string& error) override {
    return writeWholeFile(output_.stagingPath(), encodePng(rgb, width, height), error);
  }
  bool finish(std::string& error) override { return output_.commit(error); }

 private:
  StagedOutput output_;
};

class PngFolderSink final : public FrameSink {
 public:
  bool open(const std::string& folder, std::string& error) {
    return output_.begin(folder, StagedOutput::Kind::Folder, error);
  }
  bool write(const uint8_t* rgb, int width, int height, std::string& error) override {
    const std::string path = (std::filesystem::path(output_.stagingPath()) / pngFrameName(next_++)).string();
    return writeWholeFile(path, encodePng(rgb, width, height), error);
  }
  bool finish(std::string& error) override { return output_.commit(error); }

 private:
  StagedOutput output_;
  int64_t next_ = 0;
};

template <typename Sink>
std::unique_ptr<FrameSink> opened(const std::string& path, std::string& error) {
  auto sink = std::make_unique<Sink>();
  if (!sink->open(path, error)) return nullptr;
  return sink;
}
}  // namespace

std::string pngFrameName(int64_t n) {
  char name[32];
  std::snprintf(name, sizeof name, "frame_%05lld.png", static_cast<long long>(n));
  return name;
}

std::unique_ptr<FrameSink> openPngFileSink(const std::string& path, std::string& error) {
  return opened<PngFileSink>(path, error);
}

std::unique_ptr<FrameSink> openPngFolderSink(const std::string& folder, std::string& error) {
  return opened<PngFolderSink>(folder, error);
}
