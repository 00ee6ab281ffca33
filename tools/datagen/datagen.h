#pragma once
// The production's data files, made from nothing: every picture, mesh and
// the music track the demo loads, byte-for-byte the same on every run.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "image.h"
#include "jpeg_writer.h"
#include "outline.h"

namespace datagen {

using Bytes = std::vector<std::uint8_t>;

struct DataFile {
  std::string path;  // relative to the data folder, e.g. "textures/blob.jpg"
  std::function<Bytes()> make;
};

// Every file of the data folder, in a fixed order.
std::vector<DataFile> catalog();

// Writes every file under outdir (creating folders); returns the count.
// `jobs` > 1 makes files on that many threads; the bytes do not depend on it.
int generateAll(const std::filesystem::path& outdir, int jobs = 1);

// A painted picture before encoding, with how it is encoded.
struct Picture {
  Image image;
  JpegOptions jpeg;
};

// Pictures the demo traces into spline paths, with the outlines they were
// drawn from: closed 8-connected loops for the bright tracer, or open
// 4-connected traces (grey start pixel first) for the grey tracer.
struct OutlinePicture {
  std::string path;
  bool grey = false;
  Picture picture;
  std::vector<Chain> outlines;
};
OutlinePicture outlinePicture(const std::string& path);
std::vector<std::string> outlinePicturePaths();

}  // namespace datagen
