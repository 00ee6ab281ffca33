// Input buffering, the marker loop and the header segments.
#include <cstring>

#include "assets/input_stream.h"
#include "assets/jpeg_decoder.h"
#include "assets/jpeg_idct.h"
#include "assets/jpeg_state.h"

void jpegFillInput(JpegDecoderState& s) {
  const int left = s.inEnd - s.inPos;
  if (left >= 2) return;
  if (left > 0) std::memmove(s.in, s.in + s.inPos, std::size_t(left));
  s.inPos = 0;
  s.inEnd = left;
  while (!s.streamEnded && s.inEnd < kJpegInputSize) {
    bool eof = false;
    const int n = s.stream->read(s.in + s.inEnd, kJpegInputSize - s.inEnd, eof);
    if (n < 0) jpegFail(s, kJpegReadError);
    if (n > kJpegInputSize - s.inEnd) jpegFail(s, kJpegReadError);
    s.inEnd += n;
    s.bytesRead += n;
    // A stream that delivers nothing and never reports its end would keep
    // this loop going forever; take it as the end.
    if (eof || n == 0) s.streamEnded = true;
  }
  // Behind the data, an endless FF D9 (EOI) pattern: whatever reads on past
  // the end finds a marker. The pattern has even length, so the byte left
  // over from a previous pattern (always D9) keeps the alternation.
  for (int i = 0; i < kJpegInputPad; i += 2) {
    s.in[s.inEnd + i] = 0xFF;
    s.in[s.inEnd + i + 1] = 0xD9;
  }
  if (s.streamEnded) s.inEnd += kJpegInputPad;
}

int jpegRead16(JpegDecoderState& s) {
  const int hi = jpegReadByte(s);
  return hi << 8 | jpegReadByte(s);
}

namespace {

void skipBytes(JpegDecoderState& s, int n) {
  while (n > 0) {
    if (s.inPos >= s.inEnd) jpegFillInput(s);
    const int step = n < s.inEnd - s.inPos ? n : s.inEnd - s.inPos;
    s.inPos += step;
    n -= step;
  }
}

void readHuffmanTables(JpegDecoderState& s) {
  const int length = jpegRead16(s);
  if (length < 2) jpegFail(s, kJpegHuffmanLength);
  int left = length - 2;
  while (left > 0) {
    if (left < 17) jpegFail(s, kJpegHuffmanLength);
    const int classAndNumber = jpegReadByte(s);
    const int slot = (classAndNumber & 15) + ((classAndNumber & 0x10) ? 4 : 0);
    if (slot >= 8) jpegFail(s, kJpegHuffmanSlot);
    JpegHuffmanTable& t = s.huff[slot];
    int total = 0;
    for (int i = 0; i < 16; ++i) {
      t.counts[i] = std::uint8_t(jpegReadByte(s));
      total += t.counts[i];
    }
    left -= 17;
    t.defined = false;
    if (total > 255 || !jpegHuffmanCodesFit(t.counts)) jpegFail(s, kJpegHuffmanCounts);
    if (total > left) jpegFail(s, kJpegHuffmanLength);
    for (int i = 0; i < total; ++i) t.symbols[i] = std::uint8_t(jpegReadByte(s));
    t.symbolCount = total;
    t.defined = true;
    t.built = false;
    left -= total;
  }
}

void readQuantTables(JpegDecoderState& s) {
  const int length = jpegRead16(s);
  if (length < 2) jpegFail(s, kJpegQuantLength);
  int left = length - 2;
  while (left > 0) {
    const int precisionAndNumber = jpegReadByte(s);
    --left;
    const bool wide = (precisionAndNumber >> 4) != 0;
    const int slot = precisionAndNumber & 15;
    if (slot >= 4) jpegFail(s, kJpegQuantSlot);
    if (left < (wide ? 128 : 64)) jpegFail(s, kJpegQuantShort);
    for (int k = 0; k < 64; ++k) s.quant[slot][k] = std::uint16_t(wide ? jpegRead16(s) : jpegReadByte(s));
    left -= wide ? 128 : 64;
    s.quantDefined[slot] = true;
  }
}

// The marker loop: handles table, restart and skippable segments and returns
// the first marker that ends the header part the caller is reading.
int nextMarker(JpegDecoderState& s) {
  for (;;) {
    int b = jpegReadByte(s);
    while (b != 0xFF) b = jpegReadByte(s);
    do b = jpegReadByte(s);
    while (b == 0xFF);
    switch (b) {
      case 0x00:
        break;
      case 0x01:
      case 0xC8:
      case 0xD0:
      case 0xD1:
      case 0xD2:
      case 0xD3:
      case 0xD4:
      case 0xD5:
      case 0xD6:
      case 0xD7:
        jpegFail(s, kJpegMisplacedMarker);
      case 0xC0:
      case 0xC1:
      case 0xC2:
      case 0xC3:
      case 0xC5:
      case 0xC6:
      case 0xC7:
      case 0xC9:
      case 0xCA:
      case 0xCB:
      case 0xCD:
      case 0xCE:
      case 0xCF:
      case 0xD8:
      case 0xD9:
      case 0xDA:
        return b;
      case 0xC4:
        readHuffmanTables(s);
        break;
      case 0xCC:
        jpegFail(s, kJpegArithmetic);
      case 0xDB:
        readQuantTables(s);
        break;
      case 0xDD:
        if (jpegRead16(s) != 4) jpegFail(s, kJpegRestartLength);
        s.restartInterval = jpegRead16(s);
        break;
      default: {
        const int length = jpegRead16(s);
        if (length < 2) jpegFail(s, kJpegSegmentLength);
        skipBytes(s, length - 2);
        break;
      }
    }
  }
}

void readStartOfImage(JpegDecoderState& s) {
  int prev = jpegReadByte(s);
  int cur = jpegReadByte(s);
  int consumed = 2;
  while (!(prev == 0xFF && cur == 0xD8)) {
    if (consumed >= 513) jpegFail(s, kJpegNoSoi);
    prev = cur;
    cur = jpegReadByte(s);
    ++consumed;
  }
  if (jpegReadByte(s) != 0xFF) jpegFail(s, kJpegNoSoi);
  --s.inPos;  // the marker loop wants the FF
}

void readFrame(JpegDecoderState& s) {
  const int length = jpegRead16(s);
  if (jpegReadByte(s) != 8) jpegFail(s, kJpegPrecision);
  s.height = jpegRead16(s);
  if (s.height == 0 || s.height > 8192) jpegFail(s, kJpegBadHeight);
  s.width = jpegRead16(s);
  if (s.width == 0 || s.width > 8192) jpegFail(s, kJpegBadWidth);
  s.ncomp = jpegReadByte(s);
  if (s.ncomp > 4) jpegFail(s, kJpegTooManyComponents);
  if (length != 8 + 3 * s.ncomp) jpegFail(s, kJpegFrameLength);
  for (int i = 0; i < s.ncomp; ++i) {
    JpegComponent& c = s.comp[i];
    c.id = jpegReadByte(s);
    const int hv = jpegReadByte(s);
    c.h = hv >> 4;
    c.v = hv & 15;
    c.quantSlot = jpegReadByte(s);
  }
  if (s.ncomp != 1 && s.ncomp != 3) jpegFail(s, kJpegComponentCount);
  if (s.ncomp == 1) {
    // A lone component is always coded one block per MCU.
    s.comp[0].h = s.comp[0].v = 1;
  } else {
    const JpegComponent& y = s.comp[0];
    if (y.h < 1 || y.h > 2 || y.v < 1 || y.v > 2) jpegFail(s, kJpegSampling);
    for (int i = 1; i < 3; ++i)
      if (s.comp[i].h != 1 || s.comp[i].v != 1) jpegFail(s, kJpegSampling);
  }
  s.hmax = s.comp[0].h;
  s.vmax = s.comp[0].v;
  s.mcuW = 8 * s.hmax;
  s.mcuH = 8 * s.vmax;
  s.mcusPerRow = (s.width + s.mcuW - 1) / s.mcuW;
  s.mcuRows = (s.height + s.mcuH - 1) / s.mcuH;
  int blocksPerMcu = 0;
  for (int i = 0; i < s.ncomp; ++i) {
    JpegComponent& c = s.comp[i];
    c.blocksWide = s.mcusPerRow * c.h;
    c.blocksHigh = s.mcuRows * c.v;
    const int samplesWide = (s.width * c.h + s.hmax - 1) / s.hmax;
    const int samplesHigh = (s.height * c.v + s.vmax - 1) / s.vmax;
    c.usedWide = (samplesWide + 7) / 8;
    c.usedHigh = (samplesHigh + 7) / 8;
    blocksPerMcu += c.h * c.v;
  }
  if (s.mcusPerRow * blocksPerMcu > 6144) jpegFail(s, kJpegInternalLimit);
}

void readScanHeader(JpegDecoderState& s) {
  const int length = jpegRead16(s);
  const int n = jpegReadByte(s);
  if (n < 1 || n > 4 || length < 2 * n + 6) jpegFail(s, kJpegScanLength);
  JpegScan& scan = s.scan;
  scan.count = n;
  for (int i = 0; i < n; ++i) {
    const int id = jpegReadByte(s);
    int found = -1;
    for (int c = 0; c < s.ncomp && found < 0; ++c)
      if (s.comp[c].id == id) found = c;
    if (found < 0) jpegFail(s, kJpegScanComponent);
    const int tables = jpegReadByte(s);
    scan.comp[i] = found;
    scan.dcSlot[i] = tables >> 4;
    scan.acSlot[i] = (tables & 15) + 4;
  }
  scan.ss = jpegReadByte(s);
  scan.se = jpegReadByte(s);
  const int a = jpegReadByte(s);
  scan.ah = a >> 4;
  scan.al = a & 15;
  skipBytes(s, length - (2 * n + 6));
}

}  // namespace

void jpegReadHeader(JpegDecoderState& s) {
  readStartOfImage(s);
  const int marker = nextMarker(s);
  switch (marker) {
    case 0xC0:
    case 0xC1:
      break;
    case 0xC2:
      s.progressive = true;
      break;
    case 0xC9:
      jpegFail(s, kJpegArithmetic);
    default:
      jpegFail(s, kJpegUnsupportedFrame);
  }
  readFrame(s);
}

bool jpegStartScan(JpegDecoderState& s) {
  jpegResetBits(s);
  const int marker = nextMarker(s);
  if (marker == 0xD9) return false;
  if (marker != 0xDA) jpegFail(s, kJpegMisplacedMarker);
  readScanHeader(s);
  JpegScan& scan = s.scan;
  if (!s.progressive) {
    scan.ss = 0;
    scan.se = 63;
    scan.ah = scan.al = 0;
  } else {
    if (scan.ss > scan.se || scan.se > 63 || (scan.ss == 0 && scan.se != 0) || (scan.ss != 0 && scan.count != 1))
      jpegFail(s, kJpegSpectralSelection);
    // T.81 allows point transforms up to 13; more would shift bits out of the
    // 16-bit coefficients.
    if ((scan.ah != 0 && scan.al != scan.ah - 1) || scan.al > 13) jpegFail(s, kJpegSuccessiveApprox);
  }
  for (int i = 0; i < scan.count; ++i) {
    const bool needDc = scan.ss == 0;
    const bool needAc = scan.se > 0;
    if (needDc && (scan.dcSlot[i] >= 8 || !s.huff[scan.dcSlot[i]].defined)) jpegFail(s, kJpegNoHuffmanTable);
    if (needAc && (scan.acSlot[i] >= 8 || !s.huff[scan.acSlot[i]].defined)) jpegFail(s, kJpegNoHuffmanTable);
  }
  for (JpegHuffmanTable& t : s.huff)
    if (t.defined && !t.built) {
      buildJpegHuffmanTable(t);
      t.built = true;
    }
  for (int i = 0; i < scan.count; ++i) {
    JpegComponent& c = s.comp[scan.comp[i]];
    if (c.quantSlot >= 4 || !s.quantDefined[c.quantSlot]) jpegFail(s, kJpegNoQuantTable);
    if (!c.quantLatched) {
      jpegPrescaleQuantTable(s.quant[c.quantSlot], c.quant);
      c.quantLatched = true;
    }
  }
  for (JpegComponent& c : s.comp) c.dcPred = 0;
  s.eobRun = 0;
  s.restartsLeft = s.restartInterval;
  s.nextRestart = 0;
  jpegResetBits(s);
  return true;
}

int jpegSkipToMarker(JpegDecoderState& s) {
  jpegResetBits(s);
  for (;;) {
    int b = jpegReadByte(s);
    while (b != 0xFF) b = jpegReadByte(s);
    do b = jpegReadByte(s);
    while (b == 0xFF);
    if (b != 0x00) return b;
  }
}
