#include "capture/png_encoding.h"

#include <stb_image_write.h>

namespace {
void append(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  const auto* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}
}  // namespace

std::vector<uint8_t> encodePng(const uint8_t* rgb, int width, int height) {
  std::vector<uint8_t> png;
  png.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
  stbi_write_png_to_func(append, &png, width, height, 3, rgb, width * 3);
  return png;
}
