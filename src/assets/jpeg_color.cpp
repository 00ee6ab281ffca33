#include "assets/jpeg_color.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

void initJpegColorTables(JpegColorTables& t) {
  for (int i = 0; i < 256; ++i) {
    const std::int32_t k = i - 128;
    t.crToR[i] = (91882 * k + 32768) >> 16;
    t.cbToB[i] = (116130 * k + 32768) >> 16;
    t.crToG[i] = -46802 * k;
    t.cbToG[i] = -22554 * k + 32768;
  }
}

namespace {

inline std::uint8_t clampByte(int v) { return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

inline void putPixel(const JpegColorTables& t, int y, int cb, int cr, std::uint8_t* out) {
  out[0] = clampByte(y + t.crToR[cr]);
  out[1] = clampByte(y + ((t.crToG[cr] + t.cbToG[cb]) >> 16));
  out[2] = clampByte(y + t.cbToB[cb]);
  out[3] = 0;
}

}  // namespace

void jpegYccToRgbxScalar(const JpegColorTables& t, const std::uint8_t* y0, const std::uint8_t* y1,
                         const std::uint8_t* cb, const std::uint8_t* cr, std::uint8_t* out0, std::uint8_t* out1,
                         int width, bool chromaPairs) {
  for (int x = 0; x < width; ++x) {
    const int c = chromaPairs ? x >> 1 : x;
    putPixel(t, y0[x], cb[c], cr[c], out0 + 4 * x);
    if (y1) putPixel(t, y1[x], cb[c], cr[c], out1 + 4 * x);
  }
}

#if defined(__SSE2__)

namespace {

// The table formulas rewritten so every product fits a 16 x 16 -> 32 bit
// multiply-add; results equal the tables exactly:
//   crToR = k + ((26346 k + 32768) >> 16)           (91882 = 65536 + 26346)
//   cbToB = 2k + ((-14942 k + 32768) >> 16)         (116130 = 131072 - 14942)
//   G term = -kcr + ((18734 kcr - 22554 kcb + 32768) >> 16)   (-46802 = -65536 + 18734)
struct ChromaTerms {
  __m128i r, g, b;  // 8 signed 16-bit terms, one per chroma sample
};

inline __m128i maddShift(__m128i lo, __m128i hi, __m128i m, __m128i add) {
  const __m128i a = _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(lo, m), add), 16);
  const __m128i b = _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(hi, m), add), 16);
  return _mm_packs_epi32(a, b);
}

// (k * c + 32768) >> 16 for 16-bit k and c: the high half of the product,
// plus one when the low half reaches 32768.
inline __m128i roundedHigh(__m128i k, __m128i c) {
  return _mm_add_epi16(_mm_mulhi_epi16(k, c), _mm_srli_epi16(_mm_mullo_epi16(k, c), 15));
}

inline ChromaTerms chromaTerms(const std::uint8_t* cb, const std::uint8_t* cr) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i c128 = _mm_set1_epi16(128);
  const __m128i kcb =
      _mm_sub_epi16(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cb)), zero), c128);
  const __m128i kcr =
      _mm_sub_epi16(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cr)), zero), c128);
  ChromaTerms t;
  t.r = _mm_add_epi16(kcr, roundedHigh(kcr, _mm_set1_epi16(26346)));
  t.b = _mm_add_epi16(_mm_add_epi16(kcb, kcb), roundedHigh(kcb, _mm_set1_epi16(-14942)));
  const __m128i gLo = _mm_unpacklo_epi16(kcr, kcb), gHi = _mm_unpackhi_epi16(kcr, kcb);
  const __m128i gm = _mm_set1_epi32(std::int32_t(std::uint32_t(std::uint16_t(-22554)) << 16 | 18734u));
  const __m128i half = _mm_set1_epi32(32768);
  t.g = _mm_sub_epi16(maddShift(gLo, gHi, gm, half), kcr);
  return t;
}

// 8 pixels from 8 luma samples (16-bit) and their chroma terms.
inline void store8(__m128i y, __m128i tr, __m128i tg, __m128i tb, std::uint8_t* out) {
  const __m128i r = _mm_add_epi16(y, tr);
  const __m128i g = _mm_add_epi16(y, tg);
  const __m128i b = _mm_add_epi16(y, tb);
  const __m128i rb = _mm_packus_epi16(r, b);                      // r0..r7 b0..b7
  const __m128i g0 = _mm_packus_epi16(g, _mm_setzero_si128());    // g0..g7 0..0
  const __m128i rg = _mm_unpacklo_epi8(rb, g0);                   // r g r g ...
  const __m128i b0 = _mm_unpackhi_epi8(rb, _mm_setzero_si128());  // b 0 b 0 ...
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(rg, b0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), _mm_unpackhi_epi16(rg, b0));
}

inline void convertRow(const std::uint8_t* y, const ChromaTerms& t, std::uint8_t* out, bool chromaPairs) {
  const __m128i zero = _mm_setzero_si128();
  if (chromaPairs) {
    const __m128i yy = _mm_loadu_si128(reinterpret_cast<const __m128i*>(y));
    store8(_mm_unpacklo_epi8(yy, zero), _mm_unpacklo_epi16(t.r, t.r), _mm_unpacklo_epi16(t.g, t.g),
           _mm_unpacklo_epi16(t.b, t.b), out);
    store8(_mm_unpackhi_epi8(yy, zero), _mm_unpackhi_epi16(t.r, t.r), _mm_unpackhi_epi16(t.g, t.g),
           _mm_unpackhi_epi16(t.b, t.b), out + 32);
  } else {
    const __m128i yy = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(y));
    store8(_mm_unpacklo_epi8(yy, zero), t.r, t.g, t.b, out);
  }
}

}  // namespace

void jpegYccToRgbxSse2(const std::uint8_t* y0, const std::uint8_t* y1, const std::uint8_t* cb, const std::uint8_t* cr,
                       std::uint8_t* out0, std::uint8_t* out1, int width, bool chromaPairs) {
  const int step = chromaPairs ? 16 : 8;
  for (int x = 0, c = 0; x < width; x += step, c += 8) {
    const ChromaTerms t = chromaTerms(cb + c, cr + c);
    convertRow(y0 + x, t, out0 + 4 * x, chromaPairs);
    if (y1) convertRow(y1 + x, t, out1 + 4 * x, chromaPairs);
  }
}

#else

void jpegYccToRgbxSse2(const std::uint8_t* y0, const std::uint8_t* y1, const std::uint8_t* cb, const std::uint8_t* cr,
                       std::uint8_t* out0, std::uint8_t* out1, int width, bool chromaPairs) {
  static const JpegColorTables tables = [] {
    JpegColorTables t;
    initJpegColorTables(t);
    return t;
  }();
  jpegYccToRgbxScalar(tables, y0, y1, cb, cr, out0, out1, width, chromaPairs);
}

#endif
