#include "assets/jpeg_huffman.h"

bool jpegHuffmanCodesFit(const std::uint8_t counts[16]) {
  // Kraft sum in units of 2^-16: a prefix code may use at most all of it.
  std::uint32_t used = 0;
  for (int len = 1; len <= 16; ++len) used += std::uint32_t(counts[len - 1]) << (16 - len);
  return used <= (1u << 16);
}

void buildJpegHuffmanTable(JpegHuffmanTable& t) {
  for (auto& e : t.lookup) e = kHuffInvalid;
  for (auto& e : t.tree) e = kHuffInvalid;
  for (auto& e : t.fast) e = 0;

  int nodes = 0;
  std::uint32_t code = 0;
  int k = 0;
  for (int len = 1; len <= 16; ++len) {
    for (int i = 0; i < t.counts[len - 1]; ++i, ++k, ++code) {
      const int symbol = t.symbols[k];
      if (len <= 8) {
        const int shift = 8 - len;
        const int first = int(code << shift);
        for (int j = 0; j < (1 << shift); ++j) t.lookup[first + j] = symbol | (len << 8);
        continue;
      }
      // Walk (and grow) the tree below the code's first 8 bits.
      std::int32_t* slot = &t.lookup[code >> (len - 8)];
      for (int bit = len - 9; bit >= 0; --bit) {
        if (*slot == kHuffInvalid) {
          if (2 * nodes + 1 >= int(sizeof(t.tree) / sizeof(t.tree[0]))) return;
          *slot = -(nodes + 2);
          ++nodes;
        }
        const int node = -(*slot) - 2;
        slot = &t.tree[2 * node + ((code >> bit) & 1)];
      }
      *slot = symbol;
    }
    code <<= 1;
  }

  // Shortcut: the code, then the value bits, all inside the peeked bits.
  constexpr int kBits = kJpegFastBits;
  for (int peek = 0; peek < (1 << kBits); ++peek) {
    const std::int32_t e = t.lookup[peek >> (kBits - 8)];
    int symbol, len;
    if (e >= 0) {
      symbol = e & 0xFF;
      len = e >> 8;
    } else if (e != kHuffInvalid) {
      // Codes of 9 or 10 bits: follow the tree with the peeked bits.
      std::int32_t n = e;
      len = 8;
      while (n < -1 && len < kBits) {
        n = t.tree[2 * (-n - 2) + ((peek >> (kBits - 1 - len)) & 1)];
        ++len;
      }
      if (n < 0) continue;
      symbol = n;
    } else {
      continue;
    }
    const int run = symbol >> 4;
    const int size = symbol & 15;
    if (symbol == 0) {
      t.fast[peek] = len;
      continue;
    }
    if (size == 0 || len + size > kBits) continue;
    const int bits = (peek >> (kBits - len - size)) & ((1 << size) - 1);
    const int value = bits < (1 << (size - 1)) ? bits - (1 << size) + 1 : bits;
    t.fast[peek] = std::int32_t(std::uint32_t(value) << 16) | run << 8 | (len + size);
  }
}
