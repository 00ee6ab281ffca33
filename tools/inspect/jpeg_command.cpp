// velmora-inspect jpeg FILE [-o OUT.ppm]: header facts, the decoder's error
// code, and optionally the picture as a binary PPM.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "assets/input_stream.h"
#include "assets/jpeg_decoder.h"
#include "core/diagnostics.h"
#include "inspect_commands.h"

int inspectJpeg(const std::vector<std::string>& args) {
  std::string file;
  std::string out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size() && out.empty()) {
      out = args[++i];
    } else if (!args[i].empty() && args[i][0] != '-' && file.empty()) {
      file = args[i];
    } else {
      printInspectUsage();
      return 2;
    }
  }
  if (file.empty()) {
    printInspectUsage();
    return 2;
  }

  FileInputStream stream;
  if (!stream.open(file.c_str())) {
    reportError(file, "cannot open");
    return 1;
  }
  JpegDecoder decoder(stream, true);
  std::printf("file: %s\n", file.c_str());
  std::printf("width: %d\nheight: %d\n", decoder.width, decoder.height);
  std::printf("components: %d\n", decoder.components);
  std::printf("progressive: %s\n", decoder.progressive ? "yes" : "no");

  std::vector<std::uint8_t> rgb;
  int lines = 0;
  int result = decoder.beginDecoding();
  if (result == 0) {
    rgb.assign(std::size_t(decoder.width) * std::size_t(decoder.height) * 3, 0);
    const std::uint8_t* line = nullptr;
    int length = 0;
    while ((result = decoder.decode(line, length)) == 0) {
      std::uint8_t* row = rgb.data() + std::size_t(lines) * std::size_t(decoder.width) * 3;
      for (int x = 0; x < decoder.width; ++x) {
        if (decoder.bytesPerPixel == 1) {
          row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = line[x];
        } else {
          row[3 * x] = line[4 * x];
          row[3 * x + 1] = line[4 * x + 1];
          row[3 * x + 2] = line[4 * x + 2];
        }
      }
      ++lines;
    }
  }
  std::printf("lines: %d\n", lines);
  std::printf("error: %d\n", decoder.errorCode);

  if (!out.empty() && !rgb.empty()) {
    // Lines after a decoding error stay black.
    std::FILE* f = std::fopen(out.c_str(), "wb");
    if (!f) {
      reportError(out, "cannot write");
      return 1;
    }
    std::fprintf(f, "P6\n%d %d\n255\n", decoder.width, decoder.height);
    const bool written = std::fwrite(rgb.data(), 1, rgb.size(), f) == rgb.size();
    if (std::fclose(f) != 0 || !written) {
      reportError(out, "cannot write");
      return 1;
    }
  }
  return decoder.errorCode == 0 ? 0 : 1;
}
