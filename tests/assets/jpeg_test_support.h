#pragma once
// Helpers shared by the JPEG tests: decoding a byte block, reading djpeg's
// PNM output, PSNR, and the corpus made at test time.
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include "assets/input_stream.h"
#include "assets/jpeg_decoder.h"

struct DecodedPicture {
  int constructError = 0;  // errorCode after construction
  int beginResult = 0;     // beginDecoding's return
  int lastResult = 0;      // the decode() return that ended the loop
  int errorCode = 0;       // errorCode at the end
  int width = 0, height = 0, components = 0, lineLength = 0;
  bool progressive = false;
  int lines = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3, greyscale repeated
};

struct Pnm {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
};

inline DecodedPicture decodeJpeg(const std::vector<std::uint8_t>& bytes, bool useSimd = true) {
  DecodedPicture p;
  MemoryInputStream stream(bytes.data(), bytes.size());
  JpegDecoder decoder(stream, useSimd);
  p.constructError = decoder.errorCode;
  p.width = decoder.width;
  p.height = decoder.height;
  p.components = decoder.components;
  p.lineLength = decoder.lineLength;
  p.progressive = decoder.progressive;
  p.beginResult = decoder.beginDecoding();
  if (p.beginResult == 0) {
    p.rgb.assign(std::size_t(p.width) * std::size_t(p.height) * 3, 0);
    const std::uint8_t* line = nullptr;
    int length = -1;
    while ((p.lastResult = decoder.decode(line, length)) == 0) {
      if (p.lines >= p.height || length != decoder.lineLength) {
        p.lastResult = 99;  // more lines than the picture has, or a wrong length
        break;
      }
      std::uint8_t* row = &p.rgb[std::size_t(p.lines) * std::size_t(p.width) * 3];
      for (int x = 0; x < p.width; ++x)
        for (int c = 0; c < 3; ++c) row[3 * x + c] = decoder.bytesPerPixel == 1 ? line[x] : line[4 * x + c];
      ++p.lines;
    }
  }
  p.errorCode = decoder.errorCode;
  return p;
}

inline std::vector<std::uint8_t> readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// djpeg's P5 or P6 output, as RGB.
inline bool readPnm(const std::string& path, Pnm& out) {
  std::ifstream f(path, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  f >> magic >> out.width >> out.height >> maxValue;
  f.get();
  const std::size_t n = std::size_t(out.width) * std::size_t(out.height), channels = magic == "P6" ? 3 : 1;
  std::vector<std::uint8_t> d(n * channels);
  if ((magic != "P5" && magic != "P6") || maxValue != 255 || !f.read(reinterpret_cast<char*>(d.data()), long(d.size())))
    return false;
  out.rgb.resize(n * 3);
  for (std::size_t p = 0; p < n * 3; ++p) out.rgb[p] = d[p / 3 * channels + (channels == 3 ? p % 3 : 0)];
  return true;
}

inline double psnr(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  if (a.size() != b.size() || a.empty()) return 0.0;
  double se = 0.0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const double d = double(a[i]) - double(b[i]);
    se += d * d;
  }
  return se == 0.0 ? INFINITY : 10.0 * std::log10(255.0 * 255.0 * double(a.size()) / se);
}

// The folder with the corpus; made on first use (see make_jpeg_corpus.sh).
// Empty with a message in `why` when it cannot be made.
inline std::string jpegCorpusDir(std::string* why = nullptr) {
  static std::once_flag once;
  static std::string dir;
  static std::string failure;
  std::call_once(once, [] {
    const std::string target = std::string(VELMORA_BINARY_DIR) + "/tests/jpeg-corpus";
    const std::string cmd =
        std::string("bash '") + VELMORA_SOURCE_DIR + "/tests/assets/make_jpeg_corpus.sh' '" + target + "'";
    if (std::system(cmd.c_str()) == 0)
      dir = target;
    else
      failure = "corpus script failed (needs cjpeg, jpegtran, djpeg from libjpeg-turbo-progs and ImageMagick)";
  });
  if (why) *why = failure;
  return dir;
}
