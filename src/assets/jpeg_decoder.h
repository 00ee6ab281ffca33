#pragma once
#include <cstdint>

class InputStream;
struct JpegDecoderState;

// Decodes a sequential or progressive Huffman-coded JPEG (8-bit samples,
// greyscale or YCbCr) into scan lines, top to bottom, one per decode() call.
// Errors never throw: they leave a negative errorCode (see JpegError) and the
// decoder dead.
class JpegDecoder {
 public:
  // Reads the header up to and including the frame header; test errorCode.
  JpegDecoder(InputStream& stream, bool useSimd) noexcept;
  ~JpegDecoder();
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;

  // 0 on success (also when already ready), -1 on failure.
  int beginDecoding() noexcept;
  // 0: lineOut/lengthOut hold the next line (owned by the decoder, valid
  // until the next call); 1: all lines were delivered; -1: failed earlier or
  // not begun; -227: an error was raised while decoding (errorCode says which).
  int decode(const std::uint8_t*& lineOut, int& lengthOut) noexcept;

  int width = 0;
  int height = 0;
  int components = 0;
  int bytesPerPixel = 0;  // 1 greyscale, 4 colour (R, G, B, 0)
  int lineLength = 0;
  bool progressive = false;
  int errorCode = 0;
  bool ready = false;

 private:
  void fail(int code) noexcept;

  InputStream& stream_;
  JpegDecoderState* state_ = nullptr;
};

// Every code errorCode can hold, besides 0.
enum JpegError : int {
  kJpegFailed = -1,
  kJpegHuffmanCounts = -200,
  kJpegHuffmanSlot = -201,
  kJpegHuffmanLength = -202,
  kJpegQuantLength = -203,
  kJpegQuantSlot = -204,
  kJpegPrecision = -205,
  kJpegBadHeight = -206,
  kJpegBadWidth = -207,
  kJpegTooManyComponents = -208,
  kJpegFrameLength = -209,
  kJpegSegmentLength = -210,
  kJpegRestartLength = -211,
  kJpegScanLength = -212,
  kJpegScanComponent = -213,
  kJpegArithmetic = -215,
  kJpegMisplacedMarker = -216,
  kJpegNoSoi = -217,
  kJpegUnsupportedFrame = -218,
  kJpegQuantShort = -219,
  kJpegTooManyBlocks = -221,
  kJpegNoQuantTable = -222,
  kJpegNoHuffmanTable = -223,
  kJpegComponentCount = -225,
  kJpegSampling = -226,
  kJpegCorruptData = -227,
  kJpegRestartMissing = -228,
  kJpegInternalLimit = -229,
  kJpegSpectralSelection = -230,
  kJpegSuccessiveApprox = -231,
  kJpegReadError = -232,
  kJpegOutOfMemory = -233,
};
