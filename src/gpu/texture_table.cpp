#include "gpu/texture_table.h"

#include <GL/gl.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "assets/texture_pixels.h"
#include "core/diagnostics.h"
#include "platform/message_box.h"

namespace {
constexpr const char* kCaption = "Jpg !";
constexpr const char* kOpenCaption = "Jpg";  // loadJpegTexture's own, for a file it cannot open

void logFailure(const std::string& fileName, const PictureRead& read) {
  if (read.failure == PictureFailure::Open) {
    reportError(fileName, "cannot open the picture");
  } else {
    reportError(fileName, "not a picture the decoder reads (code " + std::to_string(read.errorCode) + ")");
  }
}
}  // namespace

std::uint32_t* TextureTable::entry(int index) {
  const long long at = static_cast<long long>(textureBase) + index;
  if (at < 0 || at >= kSize) {
    report(DiagnosticLevel::Error, "texture number " + std::to_string(at) + " is outside the table");
    return nullptr;
  }
  return &textures[static_cast<std::size_t>(at)];
}

std::uint32_t TextureTable::name(int number) const {
  const long long at = number < kFirstAbsolute ? static_cast<long long>(textureBase) + number : number;
  return at >= 0 && at < kSize ? textures[static_cast<std::size_t>(at)] : 0u;
}

void TextureTable::bindTexture(int number) const { glBindTexture(GL_TEXTURE_2D, name(number)); }

void TextureTable::prefetch(std::vector<PictureRequest> pictures) {
  prefetch_.reset();
  prefetch_ = std::make_unique<PicturePrefetch>(std::move(pictures));
}

PictureRead TextureTable::readPicture(const std::string& fileName, RowOrder order, bool mirrored) {
  std::optional<PictureRead> taken;
  if (prefetch_) taken = prefetch_->take(fileName, order, mirrored);
  PictureRead read = taken ? std::move(*taken) : decodeJpegPicture(fileName, order, mirrored);
  if (reportedDamage_.count(fileName) == 0 && reportPictureDamage(fileName, read)) reportedDamage_.insert(fileName);
  return read;
}

bool TextureTable::stop(const char* caption, const std::string& fileName) {
  failed_ = true;
  showMessage(caption, fileName, MessageIcon::Information);
  return false;
}

bool TextureTable::upload(int index, int internalFormat, unsigned format, int width, int height, const void* pixels) {
  std::uint32_t* slot = entry(index);
  if (slot == nullptr) return false;
  GLuint texture = 0;
  glGenTextures(1, &texture);
  *slot = texture;
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  // Rows are packed tightly: a width whose RGB row is not a multiple of
  // four bytes would otherwise be read skewed and past the buffer's end.
  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
  return true;
}

void TextureTable::loadJpegTexture(const std::string& fileName, int index) {
  if (failed_) return;
  PictureRead read = readPicture(fileName, RowOrder::BottomFirst);
  if (read.failure != PictureFailure::None) {
    logFailure(fileName, read);
    stop(read.failure == PictureFailure::Open ? kOpenCaption : kCaption, fileName);
    return;
  }
  const RgbPicture& p = read.picture;
  upload(index, 3, GL_RGB, p.width, p.height, p.pixels.data());
}

void TextureTable::loadJpegTextureWithAlpha(const std::string& colourName, const std::string& alphaName, int index) {
  if (failed_) return;
  PictureRead colour = readPicture(colourName, RowOrder::BottomFirst);
  if (colour.failure != PictureFailure::None) {
    logFailure(colourName, colour);
    stop(kCaption, colourName);
    return;
  }
  PictureRead alpha = readPicture(alphaName, RowOrder::TopFirst);
  if (alpha.failure != PictureFailure::None) {
    logFailure(alphaName, alpha);
    stop(kCaption, alphaName);
    return;
  }
  const RgbPicture& c = colour.picture;
  const RgbPicture& a = alpha.picture;
  if (c.width != a.width || c.height != a.height) {
    reportError(alphaName, std::to_string(a.width) + " x " + std::to_string(a.height) + ", but its colour picture " +
                               colourName + " is " + std::to_string(c.width) + " x " + std::to_string(c.height));
    stop(kCaption, alphaName);
    return;
  }
  const RgbPicture rgba = mergeAlpha(c, a);
  upload(index, 4, GL_RGBA, rgba.width, rgba.height, rgba.pixels.data());
}

void TextureTable::loadNormalMapTexture(const std::string& fileName, int index) {
  if (failed_) return;
  PictureRead read = readPicture(fileName, RowOrder::TopFirst);
  if (read.failure != PictureFailure::None) {
    logFailure(fileName, read);
    stop(kCaption, fileName);
    return;
  }
  const RgbPicture normals = normalMapFromHeights(read.picture);
  upload(index, 3, GL_RGB, normals.width, normals.height, normals.pixels.data());
}

namespace {
// Level 0 of the bound texture, black: what a render target shows before
// anything is copied into it, and around what is.
void specifyBlack(int width, int height) {
  const std::vector<std::uint8_t> black(std::size_t(width) * std::size_t(height) * 3, 0);
  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, black.data());
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

bool blankSizeValid(int width, int height) {
  if (width > 0 && height > 0) return true;
  report(DiagnosticLevel::Error,
         "a blank texture of " + std::to_string(width) + " x " + std::to_string(height) + " was asked for");
  return false;
}
}  // namespace

void TextureTable::createBlankTexture(int index, int width, int height) {
  if (!blankSizeValid(width, height) || !upload(index, 3, GL_RGB, width, height, nullptr)) return;
  specifyBlack(width, height);
}

void TextureTable::resizeBlankTexture(int index, int width, int height) {
  const std::uint32_t* slot = entry(index);
  if (slot == nullptr || *slot == 0) {
    createBlankTexture(index, width, height);
    return;
  }
  if (!blankSizeValid(width, height)) return;
  glBindTexture(GL_TEXTURE_2D, *slot);
  specifyBlack(width, height);
}

std::vector<std::uint8_t> TextureTable::loadJpegPixels(const std::string& fileName, int& width, int& height) {
  width = height = 0;
  if (failed_) return {};
  PictureRead read = readPicture(fileName, RowOrder::BottomFirst, true);
  if (read.failure != PictureFailure::None) {
    logFailure(fileName, read);
    stop(kCaption, fileName);
    return {};
  }
  width = read.picture.width;
  height = read.picture.height;
  return std::move(read.picture.pixels);
}
