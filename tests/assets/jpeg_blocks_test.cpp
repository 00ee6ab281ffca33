// The decoder's building blocks on their own, where the corpus cannot reach:
// blocks whose products wrap the 16-bit lanes, every colour, every code
// length. The corpus test holds them to djpeg on real pictures.
#include <gtest/gtest.h>

#include <algorithm>
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

// Scalar, SSE2, both sparse forms (fed blocks whose unread part is garbage)
// and the DC shortcut give the same bytes; a flat block is its DC / 8 + 128.
TEST(JpegIdct, EveryEntryPointGivesTheSameBytes) {
  std::mt19937 rng(2);
  const bool sse2 = jpegIdctSse2Available();
  for (int trial = 0; trial < 40000; ++trial) {
    Block b{};
    Quant q;
    const bool wild = trial % 4 == 0, sparse = trial % 2 == 1;
    std::uniform_int_distribution<int> coef(wild ? -32768 : -300, wild ? 32767 : 300);
    std::uniform_int_distribution<int> quant(1, wild ? 65535 : 300);
    const unsigned positions = sparse ? kJpegSparseZigzagEnd : 64;
    for (int i = 1 + trial % 10; i > 0; --i) b.coef[kJpegZigzagToNatural[rng() % positions]] = std::int16_t(coef(rng));
    for (auto& v : q.q) v = std::uint16_t(quant(rng));
    std::uint8_t full[8 * 16], other[8 * 16];
    jpegIdctScalar(b.coef, q.q, full, 16);
    auto same = [&] {
      for (int y = 0; y < 8; ++y)
        if (std::memcmp(full + y * 16, other + y * 16, 8) != 0) return false;
      return true;
    };
    if (sse2) jpegIdctSse2(b.coef, q.q, other, 16);
    ASSERT_TRUE(!sse2 || same()) << "SSE2, trial " << trial;
    if (!sparse) continue;
    Block poisoned = b;
    for (int n = 0; n < 64; ++n)
      if (n / 8 >= 4 || n % 8 >= 4) poisoned.coef[n] = 12345;
    jpegIdctSparseScalar(poisoned.coef, q.q, other, 16);
    ASSERT_TRUE(same()) << "sparse, trial " << trial;
    if (sse2) jpegIdctSparseSse2(poisoned.coef, q.q, other, 16);
    ASSERT_TRUE(!sse2 || same()) << "sparse SSE2, trial " << trial;
  }
  Quant q;
  for (int dc = -32768; dc <= 32767; dc += 97)
    for (std::uint16_t qdc : {1, 8, 300, 40000}) {
      Block b{};
      b.coef[0] = std::int16_t(dc);
      for (auto& v : q.q) v = 7;
      q.q[0] = qdc;
      std::uint8_t full[64], shortcut[64];
      jpegIdctScalar(b.coef, q.q, full, 8);
      jpegIdctDcOnly(b.coef[0], qdc, shortcut, 8);
      ASSERT_EQ(0, std::memcmp(full, shortcut, 64)) << dc << " " << qdc;
    }
  std::uint16_t eights[64];
  std::fill(eights, eights + 64, 8);
  jpegPrescaleQuantTable(eights, q.q);
  Block flat{};
  flat.coef[0] = 10;
  std::uint8_t out[64];
  jpegIdctScalar(flat.coef, q.q, out, 8);
  for (std::uint8_t v : out) ASSERT_EQ(v, 138);
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
  EXPECT_EQ(px(150, 44, 21), (std::vector<int>{0, 255, 1, 0}));   // green
  EXPECT_EQ(px(29, 255, 107), (std::vector<int>{0, 0, 254, 0}));  // blue
}

// Lengths 1 .. 16 all used: every canonical code, followed by 1-bits, is
// found through the 8-bit lookup and the tree below it.
TEST(JpegHuffman, EveryCanonicalCodeDecodesToItsSymbolAndOverfullCountsAreRefused) {
  JpegHuffmanTable t;
  for (int i = 0; i < 15; ++i) t.counts[i] = 1;
  t.counts[15] = 2;
  for (int i = 0; i < 17; ++i) t.symbols[i] = std::uint8_t(0x10 * (i % 16) + (i % 11));
  ASSERT_TRUE(jpegHuffmanCodesFit(t.counts));
  buildJpegHuffmanTable(t);
  std::uint32_t code = 0;
  for (int len = 1, k = 0; len <= 16; ++len, code <<= 1)
    for (int i = 0; i < t.counts[len - 1]; ++i, ++code, ++k) {
      const std::uint32_t padded = code << (32 - len) | ((1u << (32 - len)) - 1);
      std::int32_t e = t.lookup[padded >> 24];
      for (int bit = 8; bit < len && e < -1; ++bit) e = t.tree[2 * (-e - 2) + ((padded >> (31 - bit)) & 1)];
      ASSERT_GE(e, 0) << "length " << len;
      EXPECT_EQ(e & 0xFF, t.symbols[k]) << "length " << len;
      if (len <= 8) {
        EXPECT_EQ(e >> 8, len);
      }
    }
  std::uint8_t counts[16] = {2};
  EXPECT_TRUE(jpegHuffmanCodesFit(counts));  // "0" and "1": full, allowed
  counts[1] = 1;
  EXPECT_FALSE(jpegHuffmanCodesFit(counts));
  std::uint8_t deep[16] = {};
  deep[15] = 255;
  EXPECT_TRUE(jpegHuffmanCodesFit(deep));
}
}  // namespace
