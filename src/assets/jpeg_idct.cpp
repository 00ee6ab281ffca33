#include "assets/jpeg_idct.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

const std::uint8_t kJpegZigzagToNatural[64 + 16] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13,
    6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31,
    39, 46, 53, 60, 61, 54, 47, 55, 62, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63};

namespace {

// AAN scale factors cos(k*pi/16)*sqrt(2) (1 at k = 0) in 14-bit fixed point;
// the 2-D factor of position (row, col) is the product of the two.
constexpr std::int32_t kAanScale[64] = {
    16384, 22725, 21407, 19266, 16384, 12873, 8867,  4520, 22725, 31521, 29692, 26722, 22725, 17855, 12299, 6270,
    21407, 29692, 27969, 25172, 21407, 16819, 11585, 5906, 19266, 26722, 25172, 22654, 19266, 15137, 10426, 5315,
    16384, 22725, 21407, 19266, 16384, 12873, 8867,  4520, 12873, 17855, 16819, 15137, 12873, 10114, 6967,  3552,
    8867,  12299, 11585, 10426, 8867,  6967,  4799,  2446, 4520,  6270,  5906,  5315,  4520,  3552,  2446,  1247};

// Multipliers of the butterfly, applied as ((a << 2) * m) >> 16, i.e. m / 16384.
constexpr std::int16_t kF1414 = 23170;  // sqrt(2)
constexpr std::int16_t kF1847 = 30273;  // 2 cos(pi/8)
constexpr std::int16_t kMF1847 = -30273;
constexpr std::int16_t kMF0765 = -12540;  // -2 sin(pi/8) = 1.082 - 1.847

// The transform works in wrapping 16-bit lanes; these mirror the SSE2
// instructions (paddw, psubw, psllw + pmulhw) so both paths agree bit for bit.
inline std::int16_t add16(int a, int b) { return std::int16_t(a + b); }
inline std::int16_t sub16(int a, int b) { return std::int16_t(a - b); }
inline std::int16_t mul16(int a, int m) {
  const std::int16_t pre = std::int16_t(a * 4);
  return std::int16_t((std::int32_t(pre) * m) >> 16);
}

// One 8-point pass over v[0], v[step], ... v[7 * step]. With kHalf the
// inputs 4 .. 7 are known to be zero and are not read.
template <bool kHalf = false>
inline void idct1d(std::int16_t* v, int step) {
  const std::int16_t in0 = v[0], in1 = v[step], in2 = v[2 * step], in3 = v[3 * step];
  const std::int16_t in4 = kHalf ? 0 : v[4 * step], in5 = kHalf ? 0 : v[5 * step];
  const std::int16_t in6 = kHalf ? 0 : v[6 * step], in7 = kHalf ? 0 : v[7 * step];

  const std::int16_t tmp10 = add16(in0, in4);
  const std::int16_t tmp11 = sub16(in0, in4);
  const std::int16_t tmp13 = add16(in2, in6);
  const std::int16_t tmp12 = sub16(mul16(sub16(in2, in6), kF1414), tmp13);
  const std::int16_t e0 = add16(tmp10, tmp13);
  const std::int16_t e3 = sub16(tmp10, tmp13);
  const std::int16_t e1 = add16(tmp11, tmp12);
  const std::int16_t e2 = sub16(tmp11, tmp12);

  const std::int16_t z13 = add16(in5, in3);
  const std::int16_t z10 = sub16(in5, in3);
  const std::int16_t z11 = add16(in1, in7);
  const std::int16_t z12 = sub16(in1, in7);
  const std::int16_t o7 = add16(z11, z13);
  const std::int16_t t11 = mul16(sub16(z11, z13), kF1414);
  const std::int16_t t10 = add16(mul16(z12, kMF0765), mul16(z10, kMF1847));
  const std::int16_t t12 = add16(mul16(z12, kF1847), mul16(z10, kMF0765));
  const std::int16_t o6 = sub16(t12, o7);
  const std::int16_t o5 = sub16(t11, o6);
  const std::int16_t o4 = add16(t10, o5);

  v[0] = add16(e0, o7);
  v[7 * step] = sub16(e0, o7);
  v[step] = add16(e1, o6);
  v[6 * step] = sub16(e1, o6);
  v[2 * step] = add16(e2, o5);
  v[5 * step] = sub16(e2, o5);
  v[4 * step] = add16(e3, o4);
  v[3 * step] = sub16(e3, o4);
}

inline std::uint8_t finalSample(std::int16_t x) {
  int v = (x >> 5) + 128;  // cannot saturate at 16 bits: |x >> 5| <= 1024
  return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

}  // namespace

void jpegPrescaleQuantTable(const std::uint16_t zigzagQuant[64], std::uint16_t prescaled[64]) {
  for (int k = 0; k < 64; ++k) {
    const int n = kJpegZigzagToNatural[k];
    const std::uint32_t v = (std::uint32_t(kAanScale[n]) * zigzagQuant[k] + 2048) >> 12;
    // 16-bit tables can exceed the lane; such a step only ever multiplies a
    // zero coefficient in a picture made from 8-bit samples.
    prescaled[n] = std::uint16_t(v > 0xFFFF ? 0xFFFF : v);
  }
}

void jpegIdctScalar(const std::int16_t* coef, const std::uint16_t* q, std::uint8_t* out, int stride) {
  std::int16_t ws[64];
  for (int i = 0; i < 64; ++i) ws[i] = std::int16_t(std::int32_t(coef[i]) * std::int32_t(q[i]));
  for (int col = 0; col < 8; ++col) idct1d(ws + col, 8);
  for (int row = 0; row < 8; ++row) idct1d(ws + 8 * row, 1);
  for (int row = 0; row < 8; ++row)
    for (int col = 0; col < 8; ++col) out[row * stride + col] = finalSample(ws[8 * row + col]);
}

void jpegIdctSparseScalar(const std::int16_t* coef, const std::uint16_t* q, std::uint8_t* out, int stride) {
  // Columns 4 .. 7 stay zero through the column pass, rows 4 .. 7 of every
  // column are zero going in.
  std::int16_t ws[64] = {};
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col)
      ws[8 * row + col] = std::int16_t(std::int32_t(coef[8 * row + col]) * std::int32_t(q[8 * row + col]));
  for (int col = 0; col < 4; ++col) idct1d<true>(ws + col, 8);
  for (int row = 0; row < 8; ++row) idct1d<true>(ws + 8 * row, 1);
  for (int row = 0; row < 8; ++row)
    for (int col = 0; col < 8; ++col) out[row * stride + col] = finalSample(ws[8 * row + col]);
}

void jpegIdctDcOnly(std::int16_t dc, std::uint16_t q, std::uint8_t* out, int stride) {
  const std::uint8_t v = finalSample(std::int16_t(std::int32_t(dc) * std::int32_t(q)));
  for (int row = 0; row < 8; ++row) std::memset(out + row * stride, v, 8);
}

#if defined(__SSE2__)

bool jpegIdctSse2Available() { return true; }

namespace {

inline __m128i mulv(__m128i a, __m128i m) { return _mm_mulhi_epi16(_mm_slli_epi16(a, 2), m); }

// With kHalf, v[4] .. v[7] are taken as zero and not read; the compiler
// drops the additions of zero, the results are the same.
template <bool kHalf = false>
inline void idct1dSse2(__m128i* v) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i in4 = kHalf ? zero : v[4], in5 = kHalf ? zero : v[5];
  const __m128i in6 = kHalf ? zero : v[6], in7 = kHalf ? zero : v[7];
  const __m128i f1414 = _mm_set1_epi16(kF1414);
  const __m128i f1847 = _mm_set1_epi16(kF1847);
  const __m128i mf1847 = _mm_set1_epi16(kMF1847);
  const __m128i mf0765 = _mm_set1_epi16(kMF0765);

  const __m128i tmp10 = _mm_add_epi16(v[0], in4);
  const __m128i tmp11 = _mm_sub_epi16(v[0], in4);
  const __m128i tmp13 = _mm_add_epi16(v[2], in6);
  const __m128i tmp12 = _mm_sub_epi16(mulv(_mm_sub_epi16(v[2], in6), f1414), tmp13);
  const __m128i e0 = _mm_add_epi16(tmp10, tmp13);
  const __m128i e3 = _mm_sub_epi16(tmp10, tmp13);
  const __m128i e1 = _mm_add_epi16(tmp11, tmp12);
  const __m128i e2 = _mm_sub_epi16(tmp11, tmp12);

  const __m128i z13 = _mm_add_epi16(in5, v[3]);
  const __m128i z10 = _mm_sub_epi16(in5, v[3]);
  const __m128i z11 = _mm_add_epi16(v[1], in7);
  const __m128i z12 = _mm_sub_epi16(v[1], in7);
  const __m128i o7 = _mm_add_epi16(z11, z13);
  const __m128i t11 = mulv(_mm_sub_epi16(z11, z13), f1414);
  const __m128i t10 = _mm_add_epi16(mulv(z12, mf0765), mulv(z10, mf1847));
  const __m128i t12 = _mm_add_epi16(mulv(z12, f1847), mulv(z10, mf0765));
  const __m128i o6 = _mm_sub_epi16(t12, o7);
  const __m128i o5 = _mm_sub_epi16(t11, o6);
  const __m128i o4 = _mm_add_epi16(t10, o5);

  v[0] = _mm_add_epi16(e0, o7);
  v[7] = _mm_sub_epi16(e0, o7);
  v[1] = _mm_add_epi16(e1, o6);
  v[6] = _mm_sub_epi16(e1, o6);
  v[2] = _mm_add_epi16(e2, o5);
  v[5] = _mm_sub_epi16(e2, o5);
  v[4] = _mm_add_epi16(e3, o4);
  v[3] = _mm_sub_epi16(e3, o4);
}

inline void transpose8x8(__m128i* r) {
  const __m128i a0 = _mm_unpacklo_epi16(r[0], r[1]);
  const __m128i a1 = _mm_unpackhi_epi16(r[0], r[1]);
  const __m128i a2 = _mm_unpacklo_epi16(r[2], r[3]);
  const __m128i a3 = _mm_unpackhi_epi16(r[2], r[3]);
  const __m128i a4 = _mm_unpacklo_epi16(r[4], r[5]);
  const __m128i a5 = _mm_unpackhi_epi16(r[4], r[5]);
  const __m128i a6 = _mm_unpacklo_epi16(r[6], r[7]);
  const __m128i a7 = _mm_unpackhi_epi16(r[6], r[7]);
  const __m128i b0 = _mm_unpacklo_epi32(a0, a2);
  const __m128i b1 = _mm_unpackhi_epi32(a0, a2);
  const __m128i b2 = _mm_unpacklo_epi32(a1, a3);
  const __m128i b3 = _mm_unpackhi_epi32(a1, a3);
  const __m128i b4 = _mm_unpacklo_epi32(a4, a6);
  const __m128i b5 = _mm_unpackhi_epi32(a4, a6);
  const __m128i b6 = _mm_unpacklo_epi32(a5, a7);
  const __m128i b7 = _mm_unpackhi_epi32(a5, a7);
  r[0] = _mm_unpacklo_epi64(b0, b4);
  r[1] = _mm_unpackhi_epi64(b0, b4);
  r[2] = _mm_unpacklo_epi64(b1, b5);
  r[3] = _mm_unpackhi_epi64(b1, b5);
  r[4] = _mm_unpacklo_epi64(b2, b6);
  r[5] = _mm_unpackhi_epi64(b2, b6);
  r[6] = _mm_unpacklo_epi64(b3, b7);
  r[7] = _mm_unpackhi_epi64(b3, b7);
}

// Rows 0 .. 3 of the transpose of r[0] .. r[7], for rows whose lanes 4 .. 7
// are zero (so rows 4 .. 7 of the transpose are).
inline void transpose8x4(__m128i* r) {
  const __m128i a0 = _mm_unpacklo_epi16(r[0], r[1]);
  const __m128i a2 = _mm_unpacklo_epi16(r[2], r[3]);
  const __m128i a4 = _mm_unpacklo_epi16(r[4], r[5]);
  const __m128i a6 = _mm_unpacklo_epi16(r[6], r[7]);
  const __m128i b0 = _mm_unpacklo_epi32(a0, a2);
  const __m128i b1 = _mm_unpackhi_epi32(a0, a2);
  const __m128i b4 = _mm_unpacklo_epi32(a4, a6);
  const __m128i b5 = _mm_unpackhi_epi32(a4, a6);
  r[0] = _mm_unpacklo_epi64(b0, b4);
  r[1] = _mm_unpackhi_epi64(b0, b4);
  r[2] = _mm_unpacklo_epi64(b1, b5);
  r[3] = _mm_unpackhi_epi64(b1, b5);
}

inline void storeSamples(__m128i* r, std::uint8_t* out, int stride) {
  const __m128i bias = _mm_set1_epi16(128);
  for (int i = 0; i < 8; i += 2) {
    const __m128i a = _mm_adds_epi16(_mm_srai_epi16(r[i], 5), bias);
    const __m128i b = _mm_adds_epi16(_mm_srai_epi16(r[i + 1], 5), bias);
    const __m128i packed = _mm_packus_epi16(a, b);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i * stride), packed);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + (i + 1) * stride), _mm_unpackhi_epi64(packed, packed));
  }
}

}  // namespace

void jpegIdctSparseSse2(const std::int16_t* coef, const std::uint16_t* q, std::uint8_t* out, int stride) {
  __m128i r[8];
  for (int i = 0; i < 4; ++i) {
    const __m128i c = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(coef + 8 * i));
    const __m128i m = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(q + 8 * i));
    r[i] = _mm_mullo_epi16(c, m);
  }
  idct1dSse2<true>(r);  // lanes 4 .. 7 stay zero
  transpose8x4(r);
  idct1dSse2<true>(r);
  transpose8x8(r);
  storeSamples(r, out, stride);
}

void jpegIdctSse2(const std::int16_t* coef, const std::uint16_t* q, std::uint8_t* out, int stride) {
  __m128i r[8];
  for (int i = 0; i < 8; ++i) {
    const __m128i c = _mm_load_si128(reinterpret_cast<const __m128i*>(coef + 8 * i));
    const __m128i m = _mm_load_si128(reinterpret_cast<const __m128i*>(q + 8 * i));
    r[i] = _mm_mullo_epi16(c, m);
  }
  idct1dSse2(r);  // columns: each register is one row of the block
  transpose8x8(r);
  idct1dSse2(r);  // rows, now held as columns
  transpose8x8(r);
  storeSamples(r, out, stride);
}

#else

bool jpegIdctSse2Available() { return false; }
void jpegIdctSparseSse2(const std::int16_t* coef, const std::uint16_t* q, std::uint8_t* out, int stride) {
  jpegIdctSparseScalar(coef, q, out, stride);
}
void jpegIdctSse2(const std::int16_t* coef, const std::uint16_t* q, std::uint8_t* out, int stride) {
  jpegIdctScalar(coef, q, out, stride);
}

#endif
