#pragma once
// Helpers shared by the data generator tests: decoding with libjpeg,
// independently of the generator's own encoder.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <unistd.h>

#include "datagen.h"

namespace datagen_test {

// A scratch path of this process's own: test binaries of several build
// folders may run at once.
inline std::filesystem::path scratchPath(const std::string& name) {
  return std::filesystem::temp_directory_path() / ("velmora_datagen_" + std::to_string(getpid()) + "_" + name);
}

struct Decoded {
  int width = 0, height = 0, components = 0;
  bool progressive = false;
  int hSamp = 0, vSamp = 0;
  unsigned restartInterval = 0;
  std::vector<std::uint8_t> rgb;  // top row first
};

inline Decoded decodeJpeg(const std::vector<std::uint8_t>& bytes, J_DCT_METHOD method = JDCT_ISLOW) {
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jerr.error_exit = [](j_common_ptr) { throw std::runtime_error("libjpeg failed"); };
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  Decoded d;
  d.components = cinfo.num_components;
  d.progressive = cinfo.progressive_mode;
  d.hSamp = cinfo.comp_info[0].h_samp_factor;
  d.vSamp = cinfo.comp_info[0].v_samp_factor;
  d.restartInterval = cinfo.restart_interval;
  cinfo.dct_method = method;
  cinfo.do_fancy_upsampling = FALSE;  // the demo's decoder replicates chroma
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  d.width = static_cast<int>(cinfo.output_width);
  d.height = static_cast<int>(cinfo.output_height);
  d.rgb.resize(static_cast<std::size_t>(d.width) * d.height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = &d.rgb[static_cast<std::size_t>(cinfo.output_scanline) * d.width * 3];
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return d;
}

}  // namespace datagen_test
