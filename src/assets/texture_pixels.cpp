#include "assets/texture_pixels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "assets/input_stream.h"
#include "assets/jpeg_decoder.h"
#include "core/diagnostics.h"

namespace {
std::size_t rowBytes(int width, int channels) { return std::size_t(width) * std::size_t(channels); }

// One decoded scan line into an RGB row.
void copyLine(const std::uint8_t* line, int bytesPerPixel, int width, bool mirrored, std::uint8_t* row) {
  for (int x = 0; x < width; ++x) {
    const int from = mirrored ? width - 1 - x : x;
    std::uint8_t* out = row + 3 * std::size_t(x);
    if (bytesPerPixel == 1) {
      out[0] = out[1] = out[2] = line[from];
    } else {
      std::memcpy(out, line + 4 * std::size_t(from), 3);
    }
  }
}
}  // namespace

PictureRead decodeJpegPicture(const std::string& fileName, RowOrder order, bool mirrored) {
  PictureRead result;
  FileInputStream stream;
  if (!stream.open(fileName.c_str())) {
    result.failure = PictureFailure::Open;
    return result;
  }
  JpegDecoder decoder(stream, true);
  if (decoder.errorCode != 0) {
    result.failure = PictureFailure::Header;
    result.errorCode = decoder.errorCode;
    return result;
  }
  RgbPicture& picture = result.picture;
  picture.width = decoder.width;
  picture.height = decoder.height;
  picture.pixels.assign(rowBytes(picture.width, 3) * std::size_t(picture.height), 0);

  // A picture damaged past its header keeps what decoded; the rows that
  // never arrive stay black.
  int status = decoder.beginDecoding();
  const std::size_t lineNeeds = rowBytes(picture.width, decoder.bytesPerPixel);
  while (status == 0 && result.linesDecoded < picture.height) {
    const std::uint8_t* line = nullptr;
    int length = 0;
    status = decoder.decode(line, length);
    if (status != 0 || line == nullptr || length < 0 || std::size_t(length) < lineNeeds) break;
    const int y = order == RowOrder::TopFirst ? result.linesDecoded : picture.height - 1 - result.linesDecoded;
    copyLine(line, decoder.bytesPerPixel, picture.width, mirrored,
             &picture.pixels[rowBytes(picture.width, 3) * std::size_t(y)]);
    ++result.linesDecoded;
  }
  if (result.linesDecoded < picture.height) result.errorCode = decoder.errorCode;
  return result;
}

bool reportPictureDamage(const std::string& fileName, const PictureRead& read) {
  if (read.failure != PictureFailure::None || read.linesDecoded >= read.picture.height) return false;
  reportWarning(fileName, "damaged picture (decoder code " + std::to_string(read.errorCode) +
                              "): " + std::to_string(read.linesDecoded) + " of " + std::to_string(read.picture.height) +
                              " lines decoded, the rest left black");
  return true;
}

PictureRead readJpegPicture(const std::string& fileName, RowOrder order, bool mirrored) {
  PictureRead result = decodeJpegPicture(fileName, order, mirrored);
  reportPictureDamage(fileName, result);
  return result;
}

RgbPicture mergeAlpha(const RgbPicture& colour, const RgbPicture& alpha) {
  RgbPicture out;
  out.width = alpha.width;
  out.height = alpha.height;
  out.pixels.assign(rowBytes(out.width, 4) * std::size_t(out.height), 0);
  if (colour.width != alpha.width || colour.height != alpha.height) return out;
  for (int r = 0; r < alpha.height; ++r) {
    const int k = std::max(alpha.height - 1 - r, 1);
    if (k >= out.height) continue;  // a picture one row high has no row 1
    const std::uint8_t* rgb = &colour.pixels[rowBytes(colour.width, 3) * std::size_t(k)];
    const std::uint8_t* a = &alpha.pixels[rowBytes(alpha.width, 3) * std::size_t(r)];
    std::uint8_t* dst = &out.pixels[rowBytes(out.width, 4) * std::size_t(k)];
    for (int x = 0; x < out.width; ++x) {
      std::memcpy(dst + 4 * std::size_t(x), rgb + 3 * std::size_t(x), 3);
      dst[4 * std::size_t(x) + 3] = a[3 * std::size_t(x) + 1];
    }
  }
  return out;
}

RgbPicture normalMapFromHeights(const RgbPicture& heights) {
  const int w = heights.width;
  const int h = heights.height;
  RgbPicture out;
  out.width = w;
  out.height = h;
  out.pixels.assign(rowBytes(w, 3) * std::size_t(h), 0);
  if (w <= 0 || h <= 0) return out;
  auto at = [&](int x, int y) -> float {
    x = (x % w + w) % w;
    y = (y % h + h) % h;
    return float(heights.pixels[rowBytes(w, 3) * std::size_t(y) + 3 * std::size_t(x)]);
  };
  const float one = 1.0f / 255.0f;
  const float two = 2.0f / 255.0f;
  auto toByte = [](float v) { return std::uint8_t(std::clamp(int((v + 1.0f) * 0.5f * 255.0f), 0, 255)); };
  for (int y = 0; y < h; ++y) {
    std::uint8_t* row = &out.pixels[rowBytes(w, 3) * std::size_t(h - 1 - y)];
    for (int x = 0; x < w; ++x) {
      const float gx = at(x + 1, y - 1) * one + at(x + 1, y) * two + at(x + 1, y + 1) * one - at(x - 1, y - 1) * one -
                       at(x - 1, y) * two - at(x - 1, y + 1) * one;
      const float gy = at(x - 1, y - 1) * one + at(x, y - 1) * two + at(x + 1, y - 1) * one - at(x - 1, y + 1) * one -
                       at(x, y + 1) * two - at(x + 1, y + 1) * one;
      const float nx = -gx;
      const float ny = -gy;
      const float s = 1.0f / std::sqrt(nx * nx + ny * ny + 1.0f);
      std::uint8_t* texel = row + 3 * std::size_t(x);
      texel[0] = toByte(nx * s);
      texel[1] = toByte(ny * s);
      texel[2] = toByte(s);
    }
  }
  return out;
}
