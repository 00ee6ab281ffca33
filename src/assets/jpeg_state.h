#pragma once
// Inside of JpegDecoder, shared by its source files only.
#include <cstddef>
#include <cstdint>

#include "assets/jpeg_color.h"
#include "assets/jpeg_huffman.h"

class InputStream;

// Thrown by jpegFail and caught by the public entry point that is running;
// never leaves the decoder.
struct JpegAbort {
  int code;
};

struct JpegComponent {
  int id = 0;
  int h = 1, v = 1;  // sampling factors
  int quantSlot = 0;
  alignas(16) std::uint16_t quant[64] = {};  // prescaled, natural order, latched at first scan
  bool quantLatched = false;
  int blocksWide = 0;  // blocks across one MCU row, padding included
  int blocksHigh = 0;  // block rows of the whole picture, padding included
  int usedWide = 0;    // blocks that cover picture samples (non-interleaved scans)
  int usedHigh = 0;
  std::int16_t* coefs = nullptr;     // whole picture (progressive or several scans)
  std::uint64_t* nzMask = nullptr;   // per block of coefs: AC zig-zag positions in use
  std::int16_t* rowCoefs = nullptr;  // one MCU row (one sequential scan)
  std::uint8_t* rowHigh = nullptr;   // per block of rowCoefs: zig-zag positions used
  std::uint8_t* plane = nullptr;     // samples of one MCU row
  int planeStride = 0;
  int dcPred = 0;
};

struct JpegScan {
  int count = 0;
  int comp[4] = {};
  int dcSlot[4] = {};
  int acSlot[4] = {};
  int ss = 0, se = 63, ah = 0, al = 0;
};

constexpr int kJpegInputSize = 4096;
constexpr int kJpegInputPad = 128;
constexpr int kJpegMaxBlocks = 100;

struct JpegDecoderState {
  InputStream* stream = nullptr;
  bool useSimd = false;

  // Input: the bytes read, then the FF D9 pattern behind them.
  alignas(16) std::uint8_t in[kJpegInputSize + kJpegInputPad + 16];
  int inPos = 0;
  int inEnd = 0;
  bool streamEnded = false;
  long long bytesRead = 0;

  // Entropy-coded data: bits are taken from the top of bitBuf.
  std::uint64_t bitBuf = 0;
  int bitCount = 0;
  bool markerHit = false;  // from here on the data reads as 1-bits

  void* blocks[kJpegMaxBlocks] = {};
  int blockCount = 0;

  std::uint16_t quant[4][64] = {};  // zig-zag order, as read
  bool quantDefined[4] = {};
  JpegHuffmanTable huff[8];
  JpegColorTables colors;

  // Frame.
  int width = 0, height = 0, ncomp = 0;
  bool progressive = false;
  JpegComponent comp[4];
  int hmax = 1, vmax = 1;
  int mcuW = 8, mcuH = 8, mcusPerRow = 0, mcuRows = 0;

  // Scan.
  JpegScan scan;
  int restartInterval = 0;
  int restartsLeft = 0;
  int nextRestart = 0;
  int eobRun = 0;

  // One interleaved sequential scan decoded row by row (else: whole picture
  // decoded by beginDecoding into comp[].coefs).
  bool streaming = false;
  int blocksPerMcu = 0;
  std::uint8_t mcuComp[10] = {}, mcuBx[10] = {}, mcuBy[10] = {};
  const JpegHuffmanTable* mcuDc[10] = {};
  const JpegHuffmanTable* mcuAc[10] = {};

  // Output.
  int mcuRowsDone = 0;
  int linesLeft = 0;
  int linesLeftInRow = 0;
  int rowLine = 0;  // next line within the current MCU row
  std::uint8_t* lineBuf[2] = {};
  bool secondLineReady = false;
};

[[noreturn]] void jpegFail(JpegDecoderState& s, int code);
// Zeroed, 64-byte aligned, freed with the decoder; counts against the limit.
void* jpegAlloc(JpegDecoderState& s, std::size_t bytes);
void jpegFreeAll(JpegDecoderState& s);

// Input (jpeg_markers.cpp).
void jpegFillInput(JpegDecoderState& s);  // makes at least 2 bytes readable
inline int jpegReadByte(JpegDecoderState& s) {
  if (s.inPos >= s.inEnd) jpegFillInput(s);
  return s.in[s.inPos++];
}
int jpegRead16(JpegDecoderState& s);

// Header and scans (jpeg_markers.cpp).
void jpegReadHeader(JpegDecoderState& s);
// Reads tables up to the next SOS and sets the scan up; false at EOI.
bool jpegStartScan(JpegDecoderState& s);
// Skips what is left of the entropy data up to the next marker and returns
// it, consuming it only when it is EOI.
int jpegSkipToMarker(JpegDecoderState& s);

// Entropy decoding (jpeg_entropy.cpp).
void jpegResetBits(JpegDecoderState& s);
void jpegDecodeMcuRow(JpegDecoderState& s);         // streaming: into comp[].rowCoefs
void jpegDecodeScanToBuffers(JpegDecoderState& s);  // into comp[].coefs
