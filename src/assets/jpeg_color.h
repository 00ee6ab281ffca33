#pragma once
#include <cstdint>

// YCbCr -> RGB with integer tables, no smoothing: chroma is repeated over the
// luma samples it covers.
struct JpegColorTables {
  std::int32_t crToR[256];
  std::int32_t cbToB[256];
  std::int32_t crToG[256];
  std::int32_t cbToG[256];
};

void initJpegColorTables(JpegColorTables& t);

// Converts `width` pixels of one or two lines that share a chroma line into
// R, G, B, 0 quadruples. With chromaPairs, each chroma sample covers two luma
// samples side by side. y1/out1 may be null. The SSE2 form may read up to 15
// samples and write up to 15 pixels beyond `width`.
void jpegYccToRgbxScalar(const JpegColorTables& t, const std::uint8_t* y0, const std::uint8_t* y1,
                         const std::uint8_t* cb, const std::uint8_t* cr, std::uint8_t* out0, std::uint8_t* out1,
                         int width, bool chromaPairs);
void jpegYccToRgbxSse2(const std::uint8_t* y0, const std::uint8_t* y1, const std::uint8_t* cb, const std::uint8_t* cr,
                       std::uint8_t* out0, std::uint8_t* out1, int width, bool chromaPairs);
