// The decoder on hand-made streams: every error code it can raise, the
// stream edge cases, and a minimal picture whose pixels are known.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "assets/input_stream.h"
#include "assets/jpeg_decoder.h"
#include "jpeg_test_support.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes seg(int marker, std::initializer_list<int> payload) {
  Bytes b = {0xFF, std::uint8_t(marker)};
  const int len = int(payload.size()) + 2;
  b.push_back(std::uint8_t(len >> 8));
  b.push_back(std::uint8_t(len));
  for (int v : payload) b.push_back(std::uint8_t(v));
  return b;
}

Bytes cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

const Bytes kSoi = {0xFF, 0xD8};
const Bytes kEoi = {0xFF, 0xD9};

Bytes dqt(int slot, int value) {
  Bytes b = {0xFF, 0xDB, 0x00, 67, std::uint8_t(slot)};
  b.insert(b.end(), 64, std::uint8_t(value));
  return b;
}
// One code of length 1 for symbol `symbol` in table `classAndSlot`.
Bytes dhtOne(int classAndSlot, int symbol) {
  return seg(0xC4, {classAndSlot, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, symbol});
}
Bytes sofGrey(int marker = 0xC0, int w = 8, int h = 8) {
  return seg(marker, {8, h >> 8, h & 255, w >> 8, w & 255, 1, 1, 0x11, 0});
}
Bytes sosGrey(int tables = 0x00, int ss = 0, int se = 63, int a = 0) { return seg(0xDA, {1, 1, tables, ss, se, a}); }
// DC size 0 ("0"), AC end of block ("0"), then 1-bits: one flat grey block.
const Bytes kFlatBlock = {0x3F};

Bytes tables() { return cat({dqt(0, 1), dhtOne(0x00, 0), dhtOne(0x10, 0)}); }

Bytes greyPicture() { return cat({kSoi, tables(), sofGrey(), sosGrey(), kFlatBlock, kEoi}); }

struct Case {
  const char* what;
  Bytes bytes;
  int code;
};

void expectCode(const Case& c, bool atConstruction) {
  const DecodedPicture p = decodeJpeg(c.bytes);
  EXPECT_EQ(p.constructError, atConstruction ? c.code : 0) << c.what;
  EXPECT_EQ(p.beginResult, -1) << c.what;
  EXPECT_EQ(p.errorCode, c.code) << c.what;
}

TEST(JpegDecoder, MinimalGreyPictureDecodes) {
  const DecodedPicture p = decodeJpeg(greyPicture());
  ASSERT_EQ(p.errorCode, 0);
  EXPECT_EQ(p.lastResult, 1);
  EXPECT_EQ(p.lines, 8);
  EXPECT_EQ(p.lineLength, 8);
  for (std::uint8_t v : p.rgb) ASSERT_EQ(v, 128);

  // Segments the decoder does not know are skipped wherever they stand.
  const Bytes withExtras = cat({kSoi, seg(0xE0, {'J', 'F', 'I', 'F', 0}), tables(), seg(0xFE, {'h', 'i'}), sofGrey(),
                                seg(0xE5, {}), sosGrey(), kFlatBlock, kEoi});
  EXPECT_EQ(decodeJpeg(withExtras).lastResult, 1);
}

TEST(JpegDecoder, HeaderErrorsAreReportedAtConstruction) {
  Bytes dhtTooMany = seg(0xC4, {0x00, 0, 0, 0, 0, 0, 0, 0, 200, 100, 0, 0, 0, 0, 0, 0, 0});
  const Case cases[] = {
      {"DHT counts above 255", cat({kSoi, dhtTooMany, kEoi}), kJpegHuffmanCounts},
      {"DHT code space overfilled",
       cat({kSoi, seg(0xC4, {0x00, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3}), kEoi}),
       kJpegHuffmanCounts},
      {"DHT slot 8", cat({kSoi, dhtOne(0x14, 0), kEoi}), kJpegHuffmanSlot},
      {"DHT length 1", cat({kSoi, Bytes{0xFF, 0xC4, 0x00, 0x01}, kEoi}), kJpegHuffmanLength},
      {"DHT symbols beyond the segment",
       cat({kSoi, seg(0xC4, {0x00, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2}), kEoi}), kJpegHuffmanLength},
      {"DQT length 1", cat({kSoi, Bytes{0xFF, 0xDB, 0x00, 0x01}, kEoi}), kJpegQuantLength},
      {"DQT slot 4", cat({kSoi, dqt(4, 1), kEoi}), kJpegQuantSlot},
      {"DQT 16-bit table in an 8-bit sized segment", cat({kSoi, dqt(0x10, 1), kEoi}), kJpegQuantShort},
      {"precision 12", cat({kSoi, tables(), seg(0xC0, {12, 0, 8, 0, 8, 1, 1, 0x11, 0}), kEoi}), kJpegPrecision},
      {"height 0", cat({kSoi, tables(), sofGrey(0xC0, 8, 0), kEoi}), kJpegBadHeight},
      {"height 8193", cat({kSoi, tables(), sofGrey(0xC0, 8, 8193), kEoi}), kJpegBadHeight},
      {"width 8193", cat({kSoi, tables(), sofGrey(0xC0, 8193, 8), kEoi}), kJpegBadWidth},
      {"5 components",
       cat({kSoi, seg(0xC0, {8, 0, 8, 0, 8, 5, 1, 0x11, 0, 2, 0x11, 0, 3, 0x11, 0, 4, 0x11, 0, 5, 0x11, 0}), kEoi}),
       kJpegTooManyComponents},
      {"SOF length", cat({kSoi, seg(0xC0, {8, 0, 8, 0, 8, 1, 1, 0x11, 0, 0}), kEoi}), kJpegFrameLength},
      {"APP length 1", cat({kSoi, Bytes{0xFF, 0xE1, 0x00, 0x01}, kEoi}), kJpegSegmentLength},
      {"DRI length 5", cat({kSoi, seg(0xDD, {0, 1, 0}), kEoi}), kJpegRestartLength},
      {"DAC", cat({kSoi, seg(0xCC, {0, 0}), kEoi}), kJpegArithmetic},
      {"SOF9", cat({kSoi, tables(), sofGrey(0xC9), kEoi}), kJpegArithmetic},
      {"TEM", cat({kSoi, Bytes{0xFF, 0x01}, kEoi}), kJpegMisplacedMarker},
      {"RST0 in the header", cat({kSoi, Bytes{0xFF, 0xD0}, kEoi}), kJpegMisplacedMarker},
      {"JPG marker", cat({kSoi, Bytes{0xFF, 0xC8}, kEoi}), kJpegMisplacedMarker},
      {"no SOI", Bytes(600, 0x00), kJpegNoSoi},
      {"SOI not followed by a marker", cat({kSoi, Bytes{0x00}, tables()}), kJpegNoSoi},
      {"empty input", Bytes{}, kJpegNoSoi},
      {"lossless SOF3", cat({kSoi, tables(), sofGrey(0xC3), kEoi}), kJpegUnsupportedFrame},
      {"SOS before any frame", cat({kSoi, tables(), sosGrey(), kEoi}), kJpegUnsupportedFrame},
      {"2 components", cat({kSoi, seg(0xC0, {8, 0, 8, 0, 8, 2, 1, 0x11, 0, 2, 0x11, 0}), kEoi}), kJpegComponentCount},
      {"CMYK", cat({kSoi, seg(0xC0, {8, 0, 8, 0, 8, 4, 1, 0x11, 0, 2, 0x11, 0, 3, 0x11, 0, 4, 0x11, 0}), kEoi}),
       kJpegComponentCount},
      {"chroma 2x2", cat({kSoi, seg(0xC0, {8, 0, 8, 0, 8, 3, 1, 0x22, 0, 2, 0x22, 0, 3, 0x11, 0}), kEoi}),
       kJpegSampling},
      {"luma 3x1", cat({kSoi, seg(0xC2, {8, 0, 8, 0, 8, 3, 1, 0x31, 0, 2, 0x11, 0, 3, 0x11, 0}), kEoi}), kJpegSampling},
  };
  for (const Case& c : cases) expectCode(c, true);
}

TEST(JpegDecoder, ScanErrorsAreReportedByBeginDecoding) {
  const Bytes head = cat({kSoi, tables(), sofGrey()});
  const Bytes progHead = cat({kSoi, tables(), sofGrey(0xC2)});
  const Case cases[] = {
      {"EOI before any SOS", cat({head, kEoi}), kJpegMisplacedMarker},
      {"a second SOF instead of SOS", cat({head, sofGrey(), kEoi}), kJpegMisplacedMarker},
      {"SOS with 0 components", cat({head, seg(0xDA, {0, 0, 63, 0}), kEoi}), kJpegScanLength},
      {"SOS shorter than its components", cat({head, seg(0xDA, {2, 1, 0, 0, 63}), kEoi}), kJpegScanLength},
      {"SOS names component 9", cat({head, seg(0xDA, {1, 9, 0, 0, 63, 0}), kEoi}), kJpegScanComponent},
      {"quantisation table never defined",
       cat({kSoi, dhtOne(0x00, 0), dhtOne(0x10, 0), sofGrey(), sosGrey(), kFlatBlock, kEoi}), kJpegNoQuantTable},
      {"AC table never defined", cat({kSoi, dqt(0, 1), dhtOne(0x00, 0), sofGrey(), sosGrey(), kFlatBlock, kEoi}),
       kJpegNoHuffmanTable},
      {"DC table slot 9", cat({head, sosGrey(0x90), kFlatBlock, kEoi}), kJpegNoHuffmanTable},
      {"AC table number 5", cat({head, sosGrey(0x05), kFlatBlock, kEoi}), kJpegNoHuffmanTable},
      {"progressive start after end", cat({progHead, sosGrey(0x00, 5, 2), kEoi}), kJpegSpectralSelection},
      {"progressive end 64", cat({progHead, sosGrey(0x00, 1, 64), kEoi}), kJpegSpectralSelection},
      {"progressive DC scan with AC", cat({progHead, sosGrey(0x00, 0, 5), kEoi}), kJpegSpectralSelection},
      {"progressive refinement skipping a bit", cat({progHead, sosGrey(0x00, 0, 0, 0x20), kEoi}),
       kJpegSuccessiveApprox},
      {"point transform 14", cat({progHead, sosGrey(0x00, 0, 0, 0x0E), kEoi}), kJpegSuccessiveApprox},
      // AC symbol 0xF1: run 15 then a value, repeated past position 63.
      {"run beyond coefficient 63",
       cat({kSoi, dqt(0, 1), dhtOne(0x00, 0), seg(0xC4, {0x10, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF1}),
            seg(0xC0, {8, 0, 8, 0, 8, 1, 1, 0x11, 0}), seg(0xDA, {1, 1, 0x00, 0, 63, 0}), Bytes{0x00, 0x00, 0x00},
            kEoi}),
       kJpegCorruptData},
  };
  for (const Case& c : cases) {
    const DecodedPicture p = decodeJpeg(c.bytes);
    if (c.code == kJpegCorruptData) {
      // Sequential pictures decode their data line by line.
      EXPECT_EQ(p.beginResult, 0) << c.what;
      EXPECT_EQ(p.lastResult, kJpegCorruptData) << c.what;
      EXPECT_EQ(p.errorCode, kJpegCorruptData) << c.what;
      continue;
    }
    expectCode(c, false);
  }
}

TEST(JpegDecoder, ADeadOrUnbegunDecoderRefusesEverything) {
  Bytes bytes = greyPicture();
  bytes[2] = 0x00;  // SOI no longer followed by a marker
  const Bytes good = greyPicture();
  MemoryInputStream stream(bytes.data(), bytes.size()), goodStream(good.data(), good.size());
  JpegDecoder decoder(stream, true), notBegun(goodStream, true);
  EXPECT_EQ(decoder.errorCode, kJpegNoSoi);
  const std::uint8_t* line = nullptr;
  int length = 0;
  EXPECT_EQ(decoder.decode(line, length), -1);
  EXPECT_EQ(decoder.beginDecoding(), -1);
  EXPECT_EQ(decoder.decode(line, length), -1);
  EXPECT_EQ(line, nullptr);
  EXPECT_EQ(notBegun.errorCode, 0);
  EXPECT_EQ(notBegun.decode(line, length), -1);
}

// Fails its n-th read; or delivers nothing, forever, without reporting an end.
class AwkwardStream : public InputStream {
 public:
  AwkwardStream(Bytes data, int failOnRead, bool silentEnd)
      : data_(std::move(data)), failOnRead_(failOnRead), silentEnd_(silentEnd) {}
  int read(void* buffer, int maxBytes, bool& eofFlag) override {
    if (++reads_ == failOnRead_) return -1;
    const int n = std::min<int>(maxBytes, std::min<int>(7, int(data_.size() - pos_)));
    std::copy_n(data_.begin() + long(pos_), n, static_cast<std::uint8_t*>(buffer));
    pos_ += std::size_t(n);
    if (pos_ == data_.size() && !silentEnd_) eofFlag = true;
    return n;
  }
  void attach() override { ++attached; }
  void detach() override { ++detached; }
  int attached = 0, detached = 0;

 private:
  Bytes data_;
  std::size_t pos_ = 0;
  int reads_ = 0;
  int failOnRead_;
  bool silentEnd_;
};

TEST(JpegDecoder, StreamEdgeCases) {
  // Small reads are gathered; attach and detach bracket the decoder's life.
  AwkwardStream small(greyPicture(), -1, false);
  {
    JpegDecoder decoder(small, true);
    EXPECT_EQ(small.attached, 1);
    EXPECT_EQ(decoder.beginDecoding(), 0);
  }
  EXPECT_EQ(small.detached, 1);

  AwkwardStream failing(greyPicture(), 2, false);
  JpegDecoder broken(failing, true);
  EXPECT_EQ(broken.errorCode, kJpegReadError);

  // A stream that never reports its end must not hang the decoder.
  AwkwardStream silent(greyPicture(), -1, true);
  JpegDecoder decoder(silent, true);
  ASSERT_EQ(decoder.errorCode, 0);
  EXPECT_EQ(decoder.beginDecoding(), 0);
}

}  // namespace
