// libFuzzer target over the JPEG decoder: any bytes, both code paths, every
// line read in full so that AddressSanitizer sees each byte the decoder hands
// out. Build and run with tests/fuzz/fuzz-jpeg.sh.
#include <cstddef>
#include <cstdint>

#include "assets/input_stream.h"
#include "assets/jpeg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemoryInputStream stream(data, size);
  // The last byte picks the path, so both get fuzzed from the same seeds.
  const bool useSimd = size == 0 || (data[size - 1] & 1) == 0;
  JpegDecoder decoder(stream, useSimd);
  if (decoder.errorCode != 0) return 0;
  // Headers may claim up to 8192 x 8192; past 4 megapixels an input costs
  // seconds, not new paths.
  if (std::int64_t(decoder.width) * decoder.height > 4'000'000) return 0;
  if (decoder.beginDecoding() != 0) {
    const std::uint8_t* line = nullptr;
    int length = 0;
    if (decoder.decode(line, length) != -1) __builtin_trap();
    return 0;
  }
  const std::uint8_t* line = nullptr;
  int length = 0;
  unsigned sum = 0;
  int lines = 0;
  int result;
  while ((result = decoder.decode(line, length)) == 0) {
    if (length != decoder.lineLength || ++lines > decoder.height) __builtin_trap();
    for (int i = 0; i < length; ++i) sum += line[i];
  }
  if (result == 1 && lines != decoder.height) __builtin_trap();
  if (result != 1 && result != -227) __builtin_trap();
  if (decoder.decode(line, length) != result && result == 1) __builtin_trap();
  static volatile unsigned sink;
  sink = sum;
  return 0;
}
