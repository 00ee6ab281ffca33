// The decoder's building blocks on their own: inverse transform, colour
// conversion and Huffman tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "assets/jpeg_color.h"
#include "assets/jpeg_huffman.h"
#include "assets/jpeg_idct.h"

namespace {

struct alignas(16) Block {
  std::int16_t coef[64];
};
struct alignas(16) Quant {
  std::uint16_t q[64];
};

// The luminance table of T.81 Annex K, in zig-zag order.
const std::uint16_t kAnnexKLuma[64] = {16, 11, 12,  14,  12,  10, 16, 14,  13,  14,  18,  17,  16,  19,  24, 40,
                                       26, 24, 22,  22,  24,  49, 35, 37,  29,  40,  58,  51,  61,  60,  57, 51,
                                       56, 55, 64,  72,  92,  78, 64, 68,  87,  69,  55,  56,  80,  109, 81, 87,
                                       95, 98, 103, 104, 103, 62, 77, 113, 120, 112, 100, 103, 101, 99};

TEST(JpegIdct, MatchesAFloatingPointInverseDct) {
  // Blocks of real sample data (smooth shading plus noise), transformed and
  // quantised with the Annex K table as an encoder would.
  std::mt19937 rng(1);
  Quant q;
  jpegPrescaleQuantTable(kAnnexKLuma, q.q);
  std::uint16_t natural[64];
  for (int k = 0; k < 64; ++k) natural[kJpegZigzagToNatural[k]] = kAnnexKLuma[k];
  double worst = 0, total = 0;
  const int trials = 2000;
  std::uniform_real_distribution<double> level(20, 235), slope(-12, 12), noise(-20, 20);
  for (int trial = 0; trial < trials; ++trial) {
    double samples[64];
    const double base = level(rng), sx = slope(rng), sy = slope(rng);
    for (int i = 0; i < 64; ++i)
      samples[i] = std::fmin(255, std::fmax(0, base + sx * (i % 8 - 3.5) + sy * (i / 8 - 3.5) + noise(rng)));
    Block b{};
    for (int v = 0; v < 8; ++v)
      for (int u = 0; u < 8; ++u) {
        double f = 0;
        for (int y = 0; y < 8; ++y)
          for (int x = 0; x < 8; ++x)
            f += (samples[y * 8 + x] - 128) * std::cos((2 * x + 1) * u * M_PI / 16) *
                 std::cos((2 * y + 1) * v * M_PI / 16);
        f *= (u ? 1.0 : std::sqrt(0.5)) * (v ? 1.0 : std::sqrt(0.5)) / 4;
        b.coef[v * 8 + u] = std::int16_t(std::lround(f / natural[v * 8 + u]));
      }
    std::uint8_t out[64];
    jpegIdctScalar(b.coef, q.q, out, 8);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        double sum = 0;
        for (int v = 0; v < 8; ++v)
          for (int u = 0; u < 8; ++u) {
            const double cu = u ? 1.0 : std::sqrt(0.5), cv = v ? 1.0 : std::sqrt(0.5);
            sum += cu * cv * b.coef[v * 8 + u] * natural[v * 8 + u] * std::cos((2 * x + 1) * u * M_PI / 16) *
                   std::cos((2 * y + 1) * v * M_PI / 16);
          }
        const double ref = std::fmin(255.0, std::fmax(0.0, sum / 4 + 128));
        const double err = std::fabs(ref - out[y * 8 + x]);
        worst = std::fmax(worst, err);
        total += err;
      }
  }
  EXPECT_LE(worst, 3.0);
  EXPECT_LE(total / (trials * 64.0), 0.6);
  std::printf("AAN transform vs floating point: worst %.2f, mean %.3f\n", worst, total / (trials * 64.0));
}

TEST(JpegIdct, Sse2AndScalarAgreeBitForBit) {
  if (!jpegIdctSse2Available()) GTEST_SKIP() << "no SSE2 on this processor";
  std::mt19937 rng(2);
  for (int trial = 0; trial < 20000; ++trial) {
    Block b{};
    Quant q;
    // Ordinary blocks, and wild ones whose products wrap the 16-bit lanes.
    const bool wild = trial % 4 == 0;
    std::uniform_int_distribution<int> coef(wild ? -32768 : -200, wild ? 32767 : 200);
    std::uniform_int_distribution<int> quant(1, wild ? 65535 : 300);
    std::uniform_int_distribution<int> count(1, 64);
    for (int i = count(rng); i > 0; --i) b.coef[rng() % 64] = std::int16_t(coef(rng));
    for (auto& v : q.q) v = std::uint16_t(quant(rng));
    std::uint8_t a[8 * 16], c[8 * 16];
    jpegIdctScalar(b.coef, q.q, a, 16);
    jpegIdctSse2(b.coef, q.q, c, 16);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) ASSERT_EQ(a[y * 16 + x], c[y * 16 + x]) << "trial " << trial;
  }
}

TEST(JpegIdct, SparseTransformEqualsTheFullTransform) {
  // Blocks confined to zig-zag positions 0 .. 9, ordinary and wrapping ones;
  // what lies outside the top-left 4 x 4 corner must not be read.
  std::mt19937 rng(3);
  for (int trial = 0; trial < 20000; ++trial) {
    Block b{};
    Quant q;
    const bool wild = trial % 4 == 0;
    std::uniform_int_distribution<int> coef(wild ? -32768 : -300, wild ? 32767 : 300);
    std::uniform_int_distribution<int> quant(1, wild ? 65535 : 300);
    std::uniform_int_distribution<int> position(0, kJpegSparseZigzagEnd - 1);
    for (int i = 1 + trial % 10; i > 0; --i) b.coef[kJpegZigzagToNatural[position(rng)]] = std::int16_t(coef(rng));
    for (auto& v : q.q) v = std::uint16_t(quant(rng));
    std::uint8_t full[8 * 16], sparse[8 * 16];
    jpegIdctScalar(b.coef, q.q, full, 16);
    Block poisoned = b;
    for (int n = 0; n < 64; ++n)
      if (n / 8 >= 4 || n % 8 >= 4) poisoned.coef[n] = 12345;
    jpegIdctSparseScalar(poisoned.coef, q.q, sparse, 16);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) ASSERT_EQ(full[y * 16 + x], sparse[y * 16 + x]) << "scalar, trial " << trial;
    if (!jpegIdctSse2Available()) continue;
    jpegIdctSparseSse2(poisoned.coef, q.q, sparse, 16);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) ASSERT_EQ(full[y * 16 + x], sparse[y * 16 + x]) << "SSE2, trial " << trial;
  }
}

TEST(JpegIdct, DcOnlyShortcutEqualsTheFullTransform) {
  Quant q;
  for (int dc = -32768; dc <= 32767; dc += 97)
    for (std::uint16_t qdc : {std::uint16_t(1), std::uint16_t(8), std::uint16_t(300), std::uint16_t(40000)}) {
      Block b{};
      b.coef[0] = std::int16_t(dc);
      for (auto& v : q.q) v = 7;
      q.q[0] = qdc;
      std::uint8_t full[64], shortcut[64];
      jpegIdctScalar(b.coef, q.q, full, 8);
      jpegIdctDcOnly(b.coef[0], qdc, shortcut, 8);
      ASSERT_EQ(0, std::memcmp(full, shortcut, 64)) << dc << " " << qdc;
    }
}

TEST(JpegColor, KnownColoursConvert) {
  JpegColorTables t;
  initJpegColorTables(t);
  auto px = [&](int y, int cb, int cr) {
    const std::uint8_t Y = std::uint8_t(y), Cb = std::uint8_t(cb), Cr = std::uint8_t(cr);
    std::uint8_t out[4] = {9, 9, 9, 9};
    jpegYccToRgbxScalar(t, &Y, nullptr, &Cb, &Cr, out, nullptr, 1, false);
    return std::vector<int>{out[0], out[1], out[2], out[3]};
  };
  EXPECT_EQ(px(128, 128, 128), (std::vector<int>{128, 128, 128, 0}));
  EXPECT_EQ(px(0, 128, 128), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(px(255, 128, 128), (std::vector<int>{255, 255, 255, 0}));
  EXPECT_EQ(px(76, 85, 255), (std::vector<int>{254, 0, 0, 0}));   // red
  EXPECT_EQ(px(29, 255, 107), (std::vector<int>{0, 0, 254, 0}));  // blue
}

TEST(JpegColor, Sse2AndScalarAgreeOnEveryYCbCr) {
  JpegColorTables t;
  initJpegColorTables(t);
  // Each line holds every Y; chroma varies along the line so every lane
  // position meets every chroma pair over the 256 x 256 lines.
  std::vector<std::uint8_t> y0(256), y1(256), cb(256), cr(256);
  std::vector<std::uint8_t> a0(256 * 4), a1(256 * 4), b0(256 * 4), b1(256 * 4);
  for (int x = 0; x < 256; ++x) y0[x] = std::uint8_t(x), y1[x] = std::uint8_t(255 - x);
  for (int line = 0; line < 65536; ++line) {
    for (int x = 0; x < 256; ++x) {
      cb[x] = std::uint8_t((line >> 8) + x * 37);
      cr[x] = std::uint8_t(line + x * 11);
    }
    const bool pairs = line & 1;
    const int width = pairs ? 256 : 256 - (line % 7);  // odd widths too
    jpegYccToRgbxScalar(t, y0.data(), y1.data(), cb.data(), cr.data(), a0.data(), a1.data(), width, pairs);
    jpegYccToRgbxSse2(y0.data(), y1.data(), cb.data(), cr.data(), b0.data(), b1.data(), width, pairs);
    ASSERT_EQ(0, std::memcmp(a0.data(), b0.data(), std::size_t(width) * 4)) << "line " << line;
    ASSERT_EQ(0, std::memcmp(a1.data(), b1.data(), std::size_t(width) * 4)) << "line " << line;
  }
}

// The symbol of the `len`-bit code `code` found with the lookup and the tree
// as the decoder walks them, or -1 when no code of exactly that length matches.
int decodeWithTables(const JpegHuffmanTable& t, std::uint32_t code, int len) {
  const std::uint32_t padded = code << (32 - len) | ((1u << (32 - len)) - 1);  // 1-bits follow
  std::int32_t e = t.lookup[padded >> 24];
  if (len <= 8) return e >= 0 && (e >> 8) == len ? (e & 0xFF) : -1;
  for (int bit = 8; bit < len; ++bit) {
    if (e >= -1) return -1;  // a shorter code, or none
    e = t.tree[2 * (-e - 2) + ((padded >> (31 - bit)) & 1)];
  }
  return e >= 0 ? e : -1;
}

TEST(JpegHuffman, EveryCanonicalCodeDecodesToItsSymbol) {
  // Lengths 1 .. 16 all used: one code each up to 15 bits, the rest at 16.
  JpegHuffmanTable t;
  for (int i = 0; i < 15; ++i) t.counts[i] = 1;
  t.counts[15] = 2;
  int n = 0;
  for (int i = 0; i < 16; ++i) n += t.counts[i];
  for (int i = 0; i < n; ++i) t.symbols[i] = std::uint8_t(0x10 * (i % 16) + (i % 11));
  ASSERT_TRUE(jpegHuffmanCodesFit(t.counts));
  buildJpegHuffmanTable(t);
  std::uint32_t code = 0;
  int k = 0;
  for (int len = 1; len <= 16; ++len, code <<= 1)
    for (int i = 0; i < t.counts[len - 1]; ++i, ++code, ++k)
      EXPECT_EQ(decodeWithTables(t, code, len), t.symbols[k]) << "length " << len;

  // A typical AC table: the 10-bit shortcut agrees with the slow decode.
  JpegHuffmanTable ac;
  const std::uint8_t counts[16] = {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 125};
  std::copy(counts, counts + 16, ac.counts);
  for (int i = 0; i < 162; ++i) ac.symbols[i] = std::uint8_t(i == 0 ? 0x01 : i == 3 ? 0x00 : (i * 29) & 0xFF);
  buildJpegHuffmanTable(ac);
  int shortcuts = 0;
  for (int peek = 0; peek < 1024; ++peek) {
    const std::int32_t fast = ac.fast[peek];
    if (!fast) continue;
    ++shortcuts;
    const int total = jpegFastLength(fast);
    const int value = jpegFastValue(fast);
    // Find the code at the top of `peek` the slow way.
    int symbol = -1, len = 0;
    for (len = 1; len <= 10 && symbol < 0; ++len) {
      const int s = decodeWithTables(ac, std::uint32_t(peek >> (10 - len)), len);
      if (s >= 0) symbol = s;
    }
    --len;
    ASSERT_GE(symbol, 0) << peek;
    if (value == 0) {
      EXPECT_EQ(symbol, 0) << peek;
      EXPECT_EQ(total, len);
      continue;
    }
    const int size = symbol & 15;
    EXPECT_EQ(jpegFastRun(fast), symbol >> 4);
    EXPECT_EQ(total, len + size);
    const int bits = (peek >> (10 - len - size)) & ((1 << size) - 1);
    EXPECT_EQ(value, bits < (1 << (size - 1)) ? bits - (1 << size) + 1 : bits);
  }
  EXPECT_GT(shortcuts, 300);
}

TEST(JpegHuffman, CodeSpaceCheck) {
  std::uint8_t counts[16] = {2};
  EXPECT_TRUE(jpegHuffmanCodesFit(counts));  // "0" and "1": full, allowed
  counts[1] = 1;
  EXPECT_FALSE(jpegHuffmanCodesFit(counts));
  std::uint8_t deep[16] = {};
  deep[15] = 255;
  EXPECT_TRUE(jpegHuffmanCodesFit(deep));
}

}  // namespace
