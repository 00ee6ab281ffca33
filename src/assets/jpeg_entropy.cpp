// Huffman-coded data: the bit reader, sequential blocks, the four progressive
// block routines of T.81 Annex G, and restart markers.
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
    buf <<= n;
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
  const int size = b.symbol(dc);
  if (size == 0) return 0;
  if (size > 16) jpegFail(b.s, kJpegCorruptData);
  return extend(b.get(size), size);
}

// One whole block (sequential): writes the non-zero coefficients and returns
// the zig-zag position after the last one written. A run past position 63
// stores into the padding of the zig-zag table (position 63) and is caught
// once, after the loop.
[[gnu::always_inline]] inline int decodeBlock(Bits& bits, std::int16_t* blk,
                                              const JpegHuffmanTable& dc,
                                              const JpegHuffmanTable& ac, int& pred) {
  Bits b = bits;
  pred = std::int16_t(pred + dcDifference(b, dc));
  blk[0] = std::int16_t(pred);
  int k = 1;
  while (k < 64) {
    if (b.count < 32) b.refill();
    const int fast = ac.fastAc[b.buf >> (64 - kJpegFastAcBits)];
    if (fast) {
      b.skip((fast & 15) + 1);
      const int value = fast >> 8;
      if (value == 0) break;  // end of block
      k += (fast >> 4) & 15;
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

// Progressive block routines. `j` is the component's index within the scan.
void dcFirst(Bits& b, std::int16_t* blk, int j) {
  JpegDecoderState& s = b.s;
  JpegComponent& c = s.comp[s.scan.comp[j]];
  c.dcPred = std::int16_t(c.dcPred + dcDifference(b, s.huff[s.scan.dcSlot[j]]));
  blk[0] = std::int16_t(c.dcPred * (1 << s.scan.al));
}

void dcRefine(Bits& b, std::int16_t* blk, int) {
  if (b.bit()) blk[0] = std::int16_t(blk[0] | (1 << b.s.scan.al));
}

void acFirst(Bits& b, std::int16_t* blk, int j) {
  JpegDecoderState& s = b.s;
  if (s.eobRun) {
    --s.eobRun;
    return;
  }
  const JpegHuffmanTable& ac = s.huff[s.scan.acSlot[j]];
  const int se = s.scan.se;
  const int al = s.scan.al;
  for (int k = s.scan.ss; k <= se; ++k) {
    if (b.count < 32) b.refill();
    const int fast = ac.fastAc[b.buf >> (64 - kJpegFastAcBits)];
    if (fast) {
      b.skip((fast & 15) + 1);
      const int value = fast >> 8;
      if (value == 0) break;  // end of band, this block only
      k += (fast >> 4) & 15;
      if (k > 63) jpegFail(s, kJpegCorruptData);
      blk[kZz[k]] = std::int16_t(value * (1 << al));
      continue;
    }
    const int rs = b.symbol(ac);
    const int run = rs >> 4;
    const int size = rs & 15;
    if (size) {
      k += run;
      if (k > 63) jpegFail(s, kJpegCorruptData);
      blk[kZz[k]] = std::int16_t(extend(b.get(size), size) * (1 << al));
    } else if (run < 15) {
      s.eobRun = (1 << run) - 1;
      if (run) s.eobRun += b.get(run);
      break;
    } else {
      k += 15;
    }
  }
}

// Adds one correction bit to a coefficient that is already non-zero.
inline void refineCoef(Bits& b, std::int16_t& coef, int p1) {
  if (b.bit() && (coef & p1) == 0) coef = std::int16_t(coef >= 0 ? coef + p1 : coef - p1);
}

void acRefine(Bits& b, std::int16_t* blk, int j) {
  JpegDecoderState& s = b.s;
  const int se = s.scan.se;
  const int p1 = 1 << s.scan.al;
  int k = s.scan.ss;
  if (s.eobRun == 0) {
    const JpegHuffmanTable& ac = s.huff[s.scan.acSlot[j]];
    for (; k <= se; ++k) {
      const int rs = b.symbol(ac);
      int run = rs >> 4;
      const int size = rs & 15;
      int value = 0;
      if (size) {
        if (size != 1) jpegFail(s, kJpegCorruptData);
        value = b.bit() ? p1 : -p1;
      } else if (run != 15) {
        s.eobRun = 1 << run;
        if (run) s.eobRun += b.get(run);
        break;
      }
      // Step over `run` coefficients that are still zero, refining the
      // non-zero ones passed on the way.
      for (; k <= se; ++k) {
        std::int16_t& coef = blk[kZz[k]];
        if (coef != 0) {
          refineCoef(b, coef, p1);
        } else {
          if (run == 0) break;
          --run;
        }
      }
      if (value) {
        if (k > se) jpegFail(s, kJpegCorruptData);
        blk[kZz[k]] = std::int16_t(value);
      }
    }
  }
  if (s.eobRun > 0) {
    for (; k <= se; ++k) {
      std::int16_t& coef = blk[kZz[k]];
      if (coef != 0) refineCoef(b, coef, p1);
    }
    --s.eobRun;
  }
}

void fullBlock(Bits& b, std::int16_t* blk, int j) {
  JpegDecoderState& s = b.s;
  decodeBlock(b, blk, s.huff[s.scan.dcSlot[j]], s.huff[s.scan.acSlot[j]],
              s.comp[s.scan.comp[j]].dcPred);
}

using BlockRoutine = void (*)(Bits&, std::int16_t*, int);

std::int16_t* blockAt(JpegDecoderState& s, JpegComponent& c, int bx, int by) {
  if (bx >= c.blocksWide || by >= c.blocksHigh || !c.coefs) jpegFail(s, kJpegInternalLimit);
  return c.coefs + (std::size_t(by) * std::size_t(c.blocksWide) + std::size_t(bx)) * 64;
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
      c.rowHigh[idx] =
          std::uint8_t(decodeBlock(b, c.rowCoefs + idx * 64, *s.mcuDc[i], *s.mcuAc[i], c.dcPred));
    }
  }
  b.save();
}

void jpegDecodeScanToBuffers(JpegDecoderState& s) {
  const JpegScan& scan = s.scan;
  BlockRoutine routine = fullBlock;
  if (s.progressive) {
    if (scan.ss == 0)
      routine = scan.ah == 0 ? dcFirst : dcRefine;
    else
      routine = scan.ah == 0 ? acFirst : acRefine;
  }
  Bits b(s);
  if (scan.count == 1) {
    // Non-interleaved: one block per MCU, only blocks that hold samples.
    JpegComponent& c = s.comp[scan.comp[0]];
    for (int by = 0; by < c.usedHigh; ++by)
      for (int bx = 0; bx < c.usedWide; ++bx) {
        countRestart(b);
        routine(b, blockAt(s, c, bx, by), 0);
      }
  } else {
    for (int my = 0; my < s.mcuRows; ++my)
      for (int mx = 0; mx < s.mcusPerRow; ++mx) {
        countRestart(b);
        for (int j = 0; j < scan.count; ++j) {
          JpegComponent& c = s.comp[scan.comp[j]];
          for (int v = 0; v < c.v; ++v)
            for (int h = 0; h < c.h; ++h) routine(b, blockAt(s, c, mx * c.h + h, my * c.v + v), j);
        }
      }
  }
  b.save();
}
