#pragma once
#include <cstdint>

// One Huffman table as read from a DHT segment, plus the decoding structures
// built from it before a scan: an 8-bit lookup for short codes and a binary
// tree below it for codes of 9 to 16 bits.
struct JpegHuffmanTable {
  bool defined = false;
  bool built = false;
  std::uint8_t counts[16] = {};  // codes of length 1 .. 16
  std::uint8_t symbols[256] = {};
  int symbolCount = 0;

  // lookup[next 8 bits]: >= 0: symbol | codeLength << 8;
  // kHuffInvalid: no code starts with these bits; <= -2: tree node -(entry + 2).
  std::int32_t lookup[256];
  // Node n is the pair tree[2n] (bit 0), tree[2n + 1] (bit 1), same encoding.
  // A canonical code of at most 255 symbols needs fewer than 2 * (255 + 8) entries.
  std::int32_t tree[528];
  // Shortcut indexed by the next kJpegFastBits bits, for a code and its value
  // bits that fit in them together: value << 16 | run << 8 | bits used
  // (value 0 for symbol 0: end of block, or a DC difference of 0); 0 when the
  // shortcut does not apply. The bits used sit lowest so that the bit buffer
  // can be shifted by the entry itself.
  std::int32_t fast[1 << 10];
};

inline constexpr std::int32_t kHuffInvalid = -1;
inline constexpr int kJpegFastBits = 10;

inline int jpegFastLength(std::int32_t entry) { return entry & 63; }
inline int jpegFastRun(std::int32_t entry) { return (entry >> 8) & 15; }
inline int jpegFastValue(std::int32_t entry) { return entry >> 16; }

// False when the counts overfill the code space.
bool jpegHuffmanCodesFit(const std::uint8_t counts[16]);

// Builds lookup, tree and fast from counts and symbols. The counts must fit
// (see above).
void buildJpegHuffmanTable(JpegHuffmanTable& table);
