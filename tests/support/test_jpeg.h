#pragma once
// Small JPEG files made at test time with libjpeg: quality 100, no chroma
// subsampling, so flat 8 x 8 blocks come back within a step or two.
#include <jpeglib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

struct TestPicture {
  int width = 0;
  int height = 0;
  int components = 3;                // 3 = RGB, 1 = grey
  std::vector<std::uint8_t> pixels;  // top row first

  TestPicture(int w, int h, int c = 3) : width(w), height(h), components(c), pixels(std::size_t(w) * h * c, 0) {}
  std::uint8_t* at(int x, int y) { return &pixels[(std::size_t(y) * width + x) * components]; }
  void fill(int x0, int y0, int x1, int y1, std::uint8_t r, std::uint8_t g = 0, std::uint8_t b = 0) {
    const std::uint8_t rgb[3] = {r, g, b};
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) std::copy_n(rgb, components, at(x, y));
  }
};

// Restart markers every `restartInterval` MCUs when not 0.
inline std::vector<std::uint8_t> encodeTestJpeg(const TestPicture& picture, int restartInterval = 0) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = JDIMENSION(picture.width);
  cinfo.image_height = JDIMENSION(picture.height);
  cinfo.input_components = picture.components;
  cinfo.in_color_space = picture.components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  for (int c = 0; c < cinfo.num_components; ++c) {
    cinfo.comp_info[c].h_samp_factor = 1;
    cinfo.comp_info[c].v_samp_factor = 1;
  }
  cinfo.restart_interval = unsigned(restartInterval);
  jpeg_start_compress(&cinfo, TRUE);
  const std::size_t stride = std::size_t(picture.width) * picture.components;
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&picture.pixels[cinfo.next_scanline * stride]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<std::uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) std::fwrite(bytes.data(), 1, bytes.size(), f), std::fclose(f);
}

inline void writeTestJpeg(const std::string& path, const TestPicture& picture, int restartInterval = 0) {
  writeBytes(path, encodeTestJpeg(picture, restartInterval));
}

// Top-left red, top-right blue, bottom-left green, bottom-right white.
inline TestPicture quadrantTestPicture(int width, int height) {
  TestPicture p(width, height);
  p.fill(0, 0, width / 2, height / 2, 255, 0, 0);
  p.fill(width / 2, 0, width, height / 2, 0, 0, 255);
  p.fill(0, height / 2, width / 2, height, 0, 255, 0);
  p.fill(width / 2, height / 2, width, height, 255, 255, 255);
  return p;
}
