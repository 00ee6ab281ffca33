#include "jpeg_writer.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

namespace datagen {

namespace {
std::uint8_t toByte(double v) {
  long r = std::lround(v);
  return static_cast<std::uint8_t>(r < 0 ? 0 : (r > 255 ? 255 : r));
}

void error_exit(j_common_ptr cinfo) {
  char msg[JMSG_LENGTH_MAX];
  (*cinfo->err->format_message)(cinfo, msg);
  throw std::runtime_error(std::string("libjpeg: ") + msg);
}
}  // namespace

std::vector<std::uint8_t> encodeJpeg(const Image& img, const JpegOptions& opt) {
  const int w = img.width(), h = img.height();
  std::vector<std::uint8_t> ycc(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Rgb& p = img.at(x, y);
      const double r = p.r, g = p.g, b = p.b;
      std::uint8_t* o = &ycc[(static_cast<size_t>(y) * w + x) * 3];
      o[0] = toByte(0.299 * r + 0.587 * g + 0.114 * b);
      o[1] = toByte(128.0 - 0.168735892 * r - 0.331264108 * g + 0.5 * b);
      o[2] = toByte(128.0 + 0.5 * r - 0.418687589 * g - 0.081312411 * b);
    }

  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jerr.error_exit = error_exit;
  jpeg_create_compress(&cinfo);
  unsigned char* mem = nullptr;
  unsigned long memSize = 0;
  try {
    jpeg_mem_dest(&cinfo, &mem, &memSize);
    cinfo.image_width = static_cast<JDIMENSION>(w);
    cinfo.image_height = static_cast<JDIMENSION>(h);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_YCbCr;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, JCS_YCbCr);
    jpeg_set_quality(&cinfo, opt.quality, TRUE);
    cinfo.comp_info[0].h_samp_factor = opt.hSamp;
    cinfo.comp_info[0].v_samp_factor = opt.vSamp;
    for (int c = 1; c < 3; ++c) cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    cinfo.dct_method = JDCT_ISLOW;
    cinfo.optimize_coding = opt.optimize ? TRUE : FALSE;
    cinfo.restart_interval = static_cast<unsigned int>(opt.restartInterval);
    // no JFIF density surprises: the header is the same on every run
    cinfo.write_JFIF_header = TRUE;
    if (opt.progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
      JSAMPROW row = &ycc[static_cast<size_t>(cinfo.next_scanline) * w * 3];
      jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
  } catch (...) {
    jpeg_destroy_compress(&cinfo);
    std::free(mem);
    throw;
  }
  jpeg_destroy_compress(&cinfo);
  std::vector<std::uint8_t> out(mem, mem + memSize);
  std::free(mem);
  return out;
}

}  // namespace datagen
