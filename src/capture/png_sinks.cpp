#include <cstdio>
#include <filesystem>
#include <future>
#include <vector>

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

// Encoding a PNG costs more than reading the frame back, so each frame is
// encoded and written on a second thread while the next one is drawn; one
// frame at most is in flight, and its failure shows at the next call.
class PngFolderSink final : public FrameSink {
 public:
  ~PngFolderSink() override { settle(); }

  bool open(const std::string& folder, std::string& error) {
    return output_.begin(folder, StagedOutput::Kind::Folder, error);
  }
  bool write(const uint8_t* rgb, int width, int height, std::string& error) override {
    if (!settle(error)) return false;
    pixels_.assign(rgb, rgb + static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    const std::string path = (std::filesystem::path(output_.stagingPath()) / pngFrameName(next_++)).string();
    inFlight_ = std::async(std::launch::async, [this, path, width, height] {
      std::string failure;
      writeWholeFile(path, encodePng(pixels_.data(), width, height), failure);
      return failure;
    });
    return true;
  }
  bool finish(std::string& error) override { return settle(error) && output_.commit(error); }

 private:
  bool settle(std::string& error) {
    if (!inFlight_.valid()) return true;
    error = inFlight_.get();
    return error.empty();
  }
  void settle() {
    std::string ignored;
    settle(ignored);
  }

  StagedOutput output_;
  int64_t next_ = 0;
  std::vector<uint8_t> pixels_;  // the frame in flight
  std::future<std::string> inFlight_;
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
