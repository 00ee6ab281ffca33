// The public face of the decoder: construction, beginDecoding, line output,
// and the memory blocks everything else allocates from.
#include "assets/jpeg_decoder.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "assets/input_stream.h"
#include "assets/jpeg_color.h"
#include "assets/jpeg_idct.h"
#include "assets/jpeg_state.h"

void jpegFail(JpegDecoderState&, int code) { throw JpegAbort{code}; }

void* jpegAlloc(JpegDecoderState& s, std::size_t bytes) {
  if (s.blockCount >= kJpegMaxBlocks) jpegFail(s, kJpegTooManyBlocks);
  // calloc leaves large blocks to the kernel's zero pages; align by hand.
  void* raw = std::calloc(1, bytes + 64);
  if (!raw) jpegFail(s, kJpegOutOfMemory);
  s.blocks[s.blockCount++] = raw;
  const std::uintptr_t p = (reinterpret_cast<std::uintptr_t>(raw) + 63) & ~std::uintptr_t(63);
  return reinterpret_cast<void*>(p);
}

void jpegFreeAll(JpegDecoderState& s) {
  for (int i = 0; i < s.blockCount; ++i) std::free(s.blocks[i]);
  s.blockCount = 0;
  for (JpegComponent& c : s.comp) {
    c.coefs = c.rowCoefs = nullptr;
    c.nzMask = nullptr;
    c.rowHigh = nullptr;
    c.plane = nullptr;
  }
  s.lineBuf[0] = s.lineBuf[1] = nullptr;
}

namespace {

template <typename T>
T* allocArray(JpegDecoderState& s, std::size_t count) {
  return static_cast<T*>(jpegAlloc(s, count * sizeof(T)));
}

// A sequential picture whose first scan holds every component once is
// decoded one MCU row at a time, as the lines are asked for.
bool canStream(const JpegDecoderState& s) {
  if (s.progressive || s.scan.count != s.ncomp) return false;
  bool seen[4] = {};
  for (int j = 0; j < s.scan.count; ++j) {
    if (seen[s.scan.comp[j]]) return false;
    seen[s.scan.comp[j]] = true;
  }
  return true;
}

void setUpStreaming(JpegDecoderState& s) {
  s.streaming = true;
  s.blocksPerMcu = 0;
  for (int j = 0; j < s.scan.count; ++j) {
    const JpegComponent& c = s.comp[s.scan.comp[j]];
    for (int v = 0; v < c.v; ++v)
      for (int h = 0; h < c.h; ++h) {
        const int i = s.blocksPerMcu++;
        s.mcuComp[i] = std::uint8_t(s.scan.comp[j]);
        s.mcuBx[i] = std::uint8_t(h);
        s.mcuBy[i] = std::uint8_t(v);
        s.mcuDc[i] = &s.huff[s.scan.dcSlot[j]];
        s.mcuAc[i] = &s.huff[s.scan.acSlot[j]];
      }
  }
  for (int i = 0; i < s.ncomp; ++i) {
    JpegComponent& c = s.comp[i];
    const std::size_t blocks = std::size_t(c.blocksWide) * std::size_t(c.v);
    c.rowCoefs = allocArray<std::int16_t>(s, blocks * 64);
    c.rowHigh = allocArray<std::uint8_t>(s, blocks);
  }
}

void allocPictureCoefs(JpegDecoderState& s) {
  for (int i = 0; i < s.ncomp; ++i) {
    JpegComponent& c = s.comp[i];
    const std::size_t blocks = std::size_t(c.blocksWide) * std::size_t(c.blocksHigh);
    c.coefs = allocArray<std::int16_t>(s, blocks * 64);
    c.nzMask = allocArray<std::uint64_t>(s, blocks);
  }
}

// One block into samples by the cheapest transform that gives its bytes: `end`
// is the zig-zag position after the last coefficient that may be non-zero.
inline void transformBlock(const std::int16_t* coef, int end, const std::uint16_t* quant, std::uint8_t* out, int stride,
                           bool simd) {
  if (end <= 1)
    jpegIdctDcOnly(coef[0], quant[0], out, stride);
  else if (end <= kJpegSparseZigzagEnd)
    simd ? jpegIdctSparseSse2(coef, quant, out, stride) : jpegIdctSparseScalar(coef, quant, out, stride);
  else
    simd ? jpegIdctSse2(coef, quant, out, stride) : jpegIdctScalar(coef, quant, out, stride);
}

// Decodes (or loads) the next MCU row and transforms it into the planes.
void produceMcuRow(JpegDecoderState& s) {
  if (s.streaming) {
    jpegDecodeMcuRow(s);
    if (s.linesLeft <= s.mcuH) jpegSkipToMarker(s);
  }
  const bool simd = s.useSimd;
  for (int i = 0; i < s.ncomp; ++i) {
    JpegComponent& c = s.comp[i];
    for (int by = 0; by < c.v; ++by) {
      std::uint8_t* out = c.plane + std::size_t(by) * 8 * std::size_t(c.planeStride);
      if (s.streaming) {
        // The row buffer is reused: clear what the block may have set.
        std::int16_t* coef = c.rowCoefs + std::size_t(by) * std::size_t(c.blocksWide) * 64;
        const std::uint8_t* high = c.rowHigh + by * c.blocksWide;
        for (int bx = 0; bx < c.blocksWide; ++bx, coef += 64, out += 8) {
          const int end = high[bx];
          transformBlock(coef, end, c.quant, out, c.planeStride, simd);
          if (end <= 1) {
            coef[0] = 0;
          } else if (end <= kJpegSparseZigzagEnd) {
            for (int row = 0; row < 4; ++row) std::memset(coef + 8 * row, 0, 4 * sizeof(std::int16_t));
          } else {
            std::memset(coef, 0, 64 * sizeof(std::int16_t));
          }
        }
      } else {
        const std::size_t row = std::size_t(s.mcuRowsDone) * std::size_t(c.v) + std::size_t(by);
        const std::int16_t* coef = c.coefs + row * std::size_t(c.blocksWide) * 64;
        const std::uint64_t* nz = c.nzMask + row * std::size_t(c.blocksWide);
        for (int bx = 0; bx < c.blocksWide; ++bx, coef += 64, out += 8) {
          const int end = nz[bx] ? 64 - __builtin_clzll(nz[bx]) : 0;
          transformBlock(coef, end, c.quant, out, c.planeStride, simd);
        }
      }
    }
  }
  ++s.mcuRowsDone;
  s.linesLeftInRow = s.linesLeft < s.mcuH ? s.linesLeft : s.mcuH;
  s.rowLine = 0;
  s.secondLineReady = false;
}

void convertLines(JpegDecoderState& s, int y, bool pair) {
  const JpegComponent* c = s.comp;
  const std::uint8_t* y0 = c[0].plane + std::size_t(y) * std::size_t(c[0].planeStride);
  const std::uint8_t* y1 = pair ? y0 + c[0].planeStride : nullptr;
  const int cy = y / s.vmax;
  const std::uint8_t* cb = c[1].plane + std::size_t(cy) * std::size_t(c[1].planeStride);
  const std::uint8_t* cr = c[2].plane + std::size_t(cy) * std::size_t(c[2].planeStride);
  const bool chromaPairs = s.hmax == 2;
  if (s.useSimd)
    jpegYccToRgbxSse2(y0, y1, cb, cr, s.lineBuf[0], s.lineBuf[1], s.width, chromaPairs);
  else
    jpegYccToRgbxScalar(s.colors, y0, y1, cb, cr, s.lineBuf[0], s.lineBuf[1], s.width, chromaPairs);
}

}  // namespace

JpegDecoder::JpegDecoder(InputStream& stream, bool useSimd) noexcept : stream_(stream) {
  state_ = new (std::nothrow) JpegDecoderState;
  if (!state_) {
    errorCode = kJpegOutOfMemory;
    return;
  }
  JpegDecoderState& s = *state_;
  s.stream = &stream;
  s.useSimd = useSimd && jpegIdctSse2Available();
  initJpegColorTables(s.colors);
  stream.attach();
  try {
    jpegFillInput(s);
    jpegReadHeader(s);
  } catch (const JpegAbort& abort) {
    fail(abort.code);
  }
  width = s.width;
  height = s.height;
  progressive = s.progressive;
  if (errorCode == 0) {
    components = s.ncomp;
    bytesPerPixel = s.ncomp == 1 ? 1 : 4;
    lineLength = bytesPerPixel * width;
  }
}

JpegDecoder::~JpegDecoder() {
  if (state_) {
    jpegFreeAll(*state_);
    stream_.detach();
    delete state_;
  }
}

void JpegDecoder::fail(int code) noexcept {
  errorCode = code;
  ready = false;
  if (state_) jpegFreeAll(*state_);
}

int JpegDecoder::beginDecoding() noexcept {
  if (ready) return 0;
  if (errorCode || !state_) return kJpegFailed;
  JpegDecoderState& s = *state_;
  try {
    const std::size_t lineBytes = std::size_t((width + 15) & ~15) * std::size_t(bytesPerPixel);
    s.lineBuf[0] = allocArray<std::uint8_t>(s, lineBytes);
    s.lineBuf[1] = allocArray<std::uint8_t>(s, lineBytes);
    for (int i = 0; i < s.ncomp; ++i) {
      JpegComponent& c = s.comp[i];
      c.planeStride = (c.blocksWide * 8 + 31) & ~31;
      c.plane = allocArray<std::uint8_t>(s, std::size_t(c.planeStride) * 8 * std::size_t(c.v));
    }
    if (!jpegStartScan(s)) jpegFail(s, kJpegMisplacedMarker);
    if (canStream(s)) {
      setUpStreaming(s);
    } else {
      allocPictureCoefs(s);
      do jpegDecodeScanToBuffers(s);
      while (jpegStartScan(s));
    }
    s.linesLeft = height;
    s.linesLeftInRow = 0;
    s.mcuRowsDone = 0;
  } catch (const JpegAbort& abort) {
    fail(abort.code);
    return kJpegFailed;
  }
  ready = true;
  return 0;
}

int JpegDecoder::decode(const std::uint8_t*& lineOut, int& lengthOut) noexcept {
  if (errorCode || !ready) return kJpegFailed;
  JpegDecoderState& s = *state_;
  if (s.linesLeft == 0) return 1;
  try {
    if (s.linesLeftInRow == 0) produceMcuRow(s);
    const int y = s.rowLine;
    const std::uint8_t* line;
    if (s.ncomp == 1) {
      line = s.comp[0].plane + std::size_t(y) * std::size_t(s.comp[0].planeStride);
    } else if (s.vmax == 2 && (y & 1) && s.secondLineReady) {
      line = s.lineBuf[1];
    } else {
      const bool pair = s.vmax == 2;
      convertLines(s, y, pair);
      s.secondLineReady = pair;
      line = s.lineBuf[0];
    }
    ++s.rowLine;
    --s.linesLeftInRow;
    --s.linesLeft;
    lineOut = line;
    lengthOut = lineLength;
  } catch (const JpegAbort& abort) {
    fail(abort.code);
    return kJpegCorruptData;
  }
  return 0;
}
