// Huffman-coded data: the bit reader, sequential blocks, the four progressive
// block routines of T.81 Annex G, and restart markers.
#include <array>
#include <cstring>

#include "assets/jpeg_decoder.h"
#include "assets/jpeg_idct.h"
#include "assets/jpeg_state.h"

namespace {

const std::uint8_t* const kZz = kJpegZigzagToNatural;

struct BitWindow {
  std::uint64_t buf;
  int count;
};

// Byte by byte, for the stretches with FF bytes or near the end of the input.
// FF 00 is a data FF; FF before any other byte is a marker, which stays
// unread while 1-bits stand in for the data.
[[gnu::noinline]] BitWindow refillSlow(JpegDecoderState& s, std::uint64_t buf, int count) {
  while (count <= 56) {
    unsigned b = 0xFF;
    if (!s.markerHit) {
      if (s.inEnd - s.inPos < 2) jpegFillInput(s);
      b = s.in[s.inPos];
      if (b != 0xFF)
        ++s.inPos;
      else if (s.in[s.inPos + 1] == 0)
        s.inPos += 2;
      else
        s.markerHit = true;
    }
    buf |= std::uint64_t(b) << (56 - count);
    count += 8;
  }
  return {buf, count};
}

// The bit buffer as a value: hot loops copy it into a local so that it lives
// in registers, and store it back when done.
struct Bits {
  JpegDecoderState& s;
  std::uint64_t buf;
  int count;

  explicit Bits(JpegDecoderState& st) : s(st), buf(st.bitBuf), count(st.bitCount) {}
  void save() {
    s.bitBuf = buf;
    s.bitCount = count;
  }
  void load() {
    buf = s.bitBuf;
    count = s.bitCount;
  }

  // Afterwards at least 57 bits are buffered.
  void refill() {
    // Eight bytes without FF among them can be taken whole.
    if (!s.markerHit && s.inEnd - s.inPos >= 8) {
      std::uint64_t w;
      std::memcpy(&w, s.in + s.inPos, 8);
      const std::uint64_t inv = ~w;
      if (((inv - 0x0101010101010101ull) & ~inv & 0x8080808080808080ull) == 0) {
        const int n = (64 - count) >> 3;
        const int shift = 64 - count - 8 * n;
        buf |= ((__builtin_bswap64(w) >> count) >> shift) << shift;
        count += 8 * n;
        s.inPos += n;
        return;
      }
    }
    const BitWindow w = refillSlow(s, buf, count);
    buf = w.buf;
    count = w.count;
  }
  void skip(int n) {
    buf <<= n & 63;  // n < 64; the mask costs nothing, the shift does it
    count -= n;
  }
  // n in 1 .. 16
  int get(int n) {
    if (count < n) refill();
    const int v = int(buf >> (64 - n));
    skip(n);
    return v;
  }
  int bit() {
    if (count < 1) refill();
    const int v = int(buf >> 63);
    skip(1);
    return v;
  }

  int symbol(const JpegHuffmanTable& t) {
    if (count < 16) refill();
    std::int32_t e = t.lookup[buf >> 56];
    if (e >= 0) {
      skip(e >> 8);
      return e & 0xFF;
    }
    if (e == kHuffInvalid) jpegFail(s, kJpegCorruptData);
    skip(8);
    for (;;) {
      e = t.tree[2 * (-e - 2) + int(buf >> 63)];
      skip(1);
      if (e >= 0) return e;
      if (e == kHuffInvalid) jpegFail(s, kJpegCorruptData);
    }
  }
};

inline int extend(int v, int size) { return v < (1 << (size - 1)) ? v - (1 << size) + 1 : v; }

inline int dcDifference(Bits& b, const JpegHuffmanTable& dc) {
  if (b.count < 32) b.refill();
  const std::int32_t fast = dc.fast[b.buf >> (64 - kJpegFastBits)];
  if (fast != 0 && jpegFastRun(fast) == 0) {
    b.skip(jpegFastLength(fast));
    return jpegFastValue(fast);
  }
  const int size = b.symbol(dc);
  if (size == 0) return 0;
  if (size > 16) jpegFail(b.s, kJpegCorruptData);
  return extend(b.get(size), size);
}

// One whole block (sequential): writes the non-zero coefficients and returns
// the zig-zag position after the last one written. A run past position 63
// stores into the padding of the zig-zag table (position 63) and is caught
// once, after the loop.
[[gnu::always_inline]] inline int decodeBlock(Bits& bits, std::int16_t* blk, const JpegHuffmanTable& dc,
                                              const JpegHuffmanTable& ac, int& pred) {
  Bits b = bits;
  pred = std::int16_t(pred + dcDifference(b, dc));
  blk[0] = std::int16_t(pred);
  int k = 1;
  while (k < 64) {
    if (b.count < 32) b.refill();
    const std::int32_t fast = ac.fast[b.buf >> (64 - kJpegFastBits)];
    if (fast) {
      b.skip(jpegFastLength(fast));
      const int value = jpegFastValue(fast);
      if (value == 0) break;  // end of block
      k += jpegFastRun(fast);
      blk[kZz[k++]] = std::int16_t(value);
      continue;
    }
    const int rs = b.symbol(ac);
    const int run = rs >> 4;
    const int size = rs & 15;
    if (size) {
      k += run;
      blk[kZz[k++]] = std::int16_t(extend(b.get(size), size));
    } else if (run == 15) {
      k += 16;
    } else {
      break;
    }
  }
  if (k > 64) jpegFail(b.s, kJpegCorruptData);
  bits.buf = b.buf;
  bits.count = b.count;
  return k;
}

void restart(JpegDecoderState& s) {
  jpegResetBits(s);
  int b = 0;
  for (int searched = 0;; ++searched) {
    if (searched >= 1536) jpegFail(s, kJpegRestartMissing);
    b = jpegReadByte(s);
    if (b == 0xFF) break;
  }
  do b = jpegReadByte(s);
  while (b == 0xFF);
  if (b != 0xD0 + s.nextRestart) jpegFail(s, kJpegRestartMissing);
  for (JpegComponent& c : s.comp) c.dcPred = 0;
  s.eobRun = 0;
  s.restartsLeft = s.restartInterval;
  s.nextRestart = (s.nextRestart + 1) & 7;
  jpegResetBits(s);
}

inline void countRestart(Bits& b) {
  JpegDecoderState& s = b.s;
  if (!s.restartInterval) return;
  if (s.restartsLeft == 0) {
    restart(s);
    b.load();
  }
  --s.restartsLeft;
}

// Block routines for the whole-picture buffers. `nz` has bit k set for each
// AC coefficient at zig-zag position k that may be non-zero; the progressive
// routines keep it exact, because refinement walks the non-zero coefficients
// through it instead of testing all 63. `j` is the component's index within
// the scan. They are inlined into the scan loops below so that the bit buffer
// stays in registers.
inline std::uint64_t lowBits(int n) { return n >= 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << n) - 1; }

// kSelectInByte[n][b]: position of the set bit of b that has n set bits
// below it (0 when there is none; never looked up then).
constexpr auto kSelectInByte = [] {
  std::array<std::array<std::uint8_t, 256>, 8> t{};
  for (int b = 0; b < 256; ++b)
    for (int bit = 0, n = 0; bit < 8; ++bit)
      if (b >> bit & 1) t[n++][b] = std::uint8_t(bit);
  return t;
}();

// Position of the set bit of x with n set bits below it (n in 0 .. 63), or
// `none` when x has no more than n set bits. Counts per byte instead of
// clearing bits one by one: the loop's length would follow the data, and the
// mispredicted exit cost more than this whole function.
inline int selectBit(std::uint64_t x, int n, int none) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  std::uint64_t c = x - ((x >> 1) & 0x5555555555555555ull);
  c = (c & 0x3333333333333333ull) + ((c >> 2) & 0x3333333333333333ull);
  c = (c + (c >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  const std::uint64_t cum = c * kOnes;  // byte i: set bits in bytes 0 .. i
  if (int(cum >> 56) <= n) return none;
  // High bit of byte i: cum_i >= n + 1 (every byte stays >= 128 - 64, no borrow).
  const std::uint64_t reached = ((cum | kHigh) - std::uint64_t(n + 1) * kOnes) & kHigh;
  const int shift = __builtin_ctzll(reached) - 7;  // 8 * byte index
  const int before = int(((cum << 8) >> shift) & 0xFF);
  return shift + kSelectInByte[n - before][(x >> shift) & 0xFF];
}

[[gnu::always_inline]] inline void dcFirst(Bits& b, std::int16_t* blk, std::uint64_t&, int j) {
  JpegDecoderState& s = b.s;
  JpegComponent& c = s.comp[s.scan.comp[j]];
  c.dcPred = std::int16_t(c.dcPred + dcDifference(b, s.huff[s.scan.dcSlot[j]]));
  blk[0] = std::int16_t(c.dcPred * (1 << s.scan.al));
}

[[gnu::always_inline]] inline void dcRefine(Bits& b, std::int16_t* blk, std::uint64_t&, int) {
  if (b.bit()) blk[0] = std::int16_t(blk[0] | (1 << b.s.scan.al));
}

[[gnu::always_inline]] inline void acFirst(Bits& b, std::int16_t* blk, std::uint64_t& nz, int j) {
  JpegDecoderState& s = b.s;
  if (s.eobRun) {
    --s.eobRun;
    return;
  }
  const JpegHuffmanTable& ac = s.huff[s.scan.acSlot[j]];
  const int se = s.scan.se;
  const int al = s.scan.al;
  std::uint64_t m = nz;
  // A value shifted by `al` can wrap to 0 in 16 bits: the mask follows what
  // was stored.
  auto put = [&](int k, int value) {
    const std::int16_t v = std::int16_t(value * (1 << al));
    blk[kZz[k]] = v;
    m = (m & ~(std::uint64_t(1) << k)) | (std::uint64_t(v != 0) << k);
  };
  for (int k = s.scan.ss; k <= se; ++k) {
    if (b.count < 32) b.refill();
    const std::int32_t fast = ac.fast[b.buf >> (64 - kJpegFastBits)];
    if (fast) {
      b.skip(jpegFastLength(fast));
      const int value = jpegFastValue(fast);
      if (value == 0) break;  // end of band, this block only
      k += jpegFastRun(fast);
      if (k > 63) jpegFail(s, kJpegCorruptData);
      put(k, value);
      continue;
    }
    const int rs = b.symbol(ac);
    const int run = rs >> 4;
    const int size = rs & 15;
    if (size) {
      k += run;
      if (k > 63) jpegFail(s, kJpegCorruptData);
      put(k, extend(b.get(size), size));
    } else if (run < 15) {
      s.eobRun = (1 << run) - 1;
      if (run) s.eobRun += b.get(run);
      break;
    } else {
      k += 15;
    }
  }
  nz = m;
}

// Adds one correction bit to each coefficient in `sel` (zig-zag positions of
// non-zero coefficients), in zig-zag order. Free of branches on the bits: they
// are as good as random.
[[gnu::always_inline]] inline void refineNonZero(Bits& b, std::int16_t* blk, std::uint64_t sel, int p1) {
  while (sel) {
    std::int16_t& coef = blk[kZz[__builtin_ctzll(sel)]];
    sel &= sel - 1;
    if (b.count < 1) b.refill();
    const int c = coef;
    const int apply = int(b.buf >> 63) & int((c & p1) == 0);
    b.skip(1);
    const int step = c >= 0 ? p1 : -p1;
    coef = std::int16_t(c + (step & -apply));
  }
}

[[gnu::always_inline]] inline void acRefine(Bits& b, std::int16_t* blk, std::uint64_t& nz, int j) {
  JpegDecoderState& s = b.s;
  const int se = s.scan.se;
  const std::uint64_t band = lowBits(se + 1);
  const int p1 = 1 << s.scan.al;
  int k = s.scan.ss;
  std::uint64_t m = nz;
  if (s.eobRun == 0) {
    const JpegHuffmanTable& ac = s.huff[s.scan.acSlot[j]];
    for (; k <= se; ++k) {
      int run;
      int value = 0;
      if (b.count < 32) b.refill();
      // The AC shortcut covers the common symbols here too: a run with one
      // value bit (+1 / -1) or the end of this block's band.
      const std::int32_t fast = ac.fast[b.buf >> (64 - kJpegFastBits)];
      if (fast && unsigned(jpegFastValue(fast) + 1) <= 2u) {
        b.skip(jpegFastLength(fast));
        if (jpegFastValue(fast) == 0) {
          s.eobRun = 1;
          break;
        }
        run = jpegFastRun(fast);
        value = jpegFastValue(fast) > 0 ? p1 : -p1;
      } else {
        const int rs = b.symbol(ac);
        run = rs >> 4;
        const int size = rs & 15;
        if (size) {
          if (size != 1) jpegFail(s, kJpegCorruptData);
          value = b.bit() ? p1 : -p1;
        } else if (run != 15) {
          s.eobRun = 1 << run;
          if (run) s.eobRun += b.get(run);
          break;
        }
      }
      // The new coefficient goes to the zero coefficient that follows `run`
      // zero ones; the non-zero ones passed on the way are refined (all up to
      // the band's end when there are not that many zeros).
      const int t = selectBit(~m & band & ~lowBits(k), run, se + 1);
      refineNonZero(b, blk, m & lowBits(t) & ~lowBits(k), p1);
      k = t;
      if (value) {
        if (k > se) jpegFail(s, kJpegCorruptData);
        blk[kZz[k]] = std::int16_t(value);
        m |= std::uint64_t(1) << k;
      }
    }
  }
  if (s.eobRun > 0) {
    refineNonZero(b, blk, m & band & ~lowBits(k), p1);
    --s.eobRun;
  }
  nz = m;
}

[[gnu::always_inline]] inline void fullBlock(Bits& b, std::int16_t* blk, std::uint64_t& nz, int j) {
  JpegDecoderState& s = b.s;
  const int end =
      decodeBlock(b, blk, s.huff[s.scan.dcSlot[j]], s.huff[s.scan.acSlot[j]], s.comp[s.scan.comp[j]].dcPred);
  nz = lowBits(end) & ~std::uint64_t(1);
}

using BlockRoutine = void (*)(Bits&, std::int16_t*, std::uint64_t&, int);

std::size_t blockIndex(JpegDecoderState& s, JpegComponent& c, int bx, int by) {
  if (bx >= c.blocksWide || by >= c.blocksHigh || !c.coefs || !c.nzMask) jpegFail(s, kJpegInternalLimit);
  return std::size_t(by) * std::size_t(c.blocksWide) + std::size_t(bx);
}

// One scan into the whole-picture buffers, with the routine inlined.
template <BlockRoutine routine>
void decodeScan(JpegDecoderState& s) {
  const JpegScan& scan = s.scan;
  Bits b(s);
  auto block = [&](JpegComponent& c, int bx, int by, int j) [[gnu::always_inline]] {
    const std::size_t i = blockIndex(s, c, bx, by);
    routine(b, c.coefs + i * 64, c.nzMask[i], j);
  };
  if (scan.count == 1) {
    // Non-interleaved: one block per MCU, only blocks that hold samples.
    JpegComponent& c = s.comp[scan.comp[0]];
    for (int by = 0; by < c.usedHigh; ++by)
      for (int bx = 0; bx < c.usedWide; ++bx) {
        countRestart(b);
        block(c, bx, by, 0);
      }
  } else {
    for (int my = 0; my < s.mcuRows; ++my)
      for (int mx = 0; mx < s.mcusPerRow; ++mx) {
        countRestart(b);
        for (int j = 0; j < scan.count; ++j) {
          JpegComponent& c = s.comp[scan.comp[j]];
          for (int v = 0; v < c.v; ++v)
            for (int h = 0; h < c.h; ++h) block(c, mx * c.h + h, my * c.v + v, j);
        }
      }
  }
  b.save();
}

}  // namespace

void jpegResetBits(JpegDecoderState& s) {
  s.bitBuf = 0;
  s.bitCount = 0;
  s.markerHit = false;
}

void jpegDecodeMcuRow(JpegDecoderState& s) {
  Bits b(s);
  for (int mx = 0; mx < s.mcusPerRow; ++mx) {
    countRestart(b);
    for (int i = 0; i < s.blocksPerMcu; ++i) {
      JpegComponent& c = s.comp[s.mcuComp[i]];
      const int idx = s.mcuBy[i] * c.blocksWide + mx * c.h + s.mcuBx[i];
      c.rowHigh[idx] = std::uint8_t(decodeBlock(b, c.rowCoefs + idx * 64, *s.mcuDc[i], *s.mcuAc[i], c.dcPred));
    }
  }
  b.save();
}

void jpegDecodeScanToBuffers(JpegDecoderState& s) {
  const JpegScan& scan = s.scan;
  if (!s.progressive)
    decodeScan<fullBlock>(s);
  else if (scan.ss == 0)
    scan.ah == 0 ? decodeScan<dcFirst>(s) : decodeScan<dcRefine>(s);
  else
    scan.ah == 0 ? decodeScan<acFirst>(s) : decodeScan<acRefine>(s);
}
