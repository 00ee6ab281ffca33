#include "assets/byte_reader.h"

#include <gtest/gtest.h>

#include "tds_file_builder.h"

namespace {

using tds_test::Bytes;
using tds_test::ChunkWriter;

TEST(TdsByteReader, ReadsLittleEndianButNotAValueEndingAtTheEnd) {
  const Bytes bytes = {0x34, 0x12, 0x00, 0x00, 0x80, 0x3F, 0xAA};
  ByteReader r(bytes.data(), bytes.size());
  EXPECT_EQ(r.readU16(), 0x1234);
  EXPECT_FLOAT_EQ(r.readFloat(), 1.0f);
  EXPECT_FALSE(r.failed());
  // One byte is left, and it ends exactly at the end: not read.
  EXPECT_EQ(r.readU8(), 0);
  EXPECT_TRUE(r.failed());
  EXPECT_EQ(r.position(), 6u);
}

TEST(TdsByteReader, FailedReadKeepsPositionAndSeekClearsTheFlag) {
  const Bytes bytes = {1, 2, 3, 4, 5};
  ByteReader r(bytes.data(), bytes.size());
  r.seek(2);
  EXPECT_EQ(r.readU32(), 0u);  // 2 + 4 is past the strict end
  EXPECT_TRUE(r.failed());
  EXPECT_EQ(r.position(), 2u);
  EXPECT_EQ(r.readU16(), 0x0403);  // still sticky, but reads that fit go on
  EXPECT_TRUE(r.failed());
  r.seek(100);  // clamped to the last byte
  EXPECT_FALSE(r.failed());
  EXPECT_EQ(r.position(), 4u);

  ByteReader empty(nullptr, 0);
  EXPECT_EQ(empty.readU8(), 0);
  EXPECT_TRUE(empty.failed());
  empty.seek(5);
  EXPECT_EQ(empty.position(), 0u);
}

TEST(TdsByteReader, StringsKeepCapacityMinusOneAndConsumeTheRest) {
  const Bytes bytes = {'a', 'b', 'c', 'd', 'e', 0, 'x', 0, 'y', 'z', 'q'};
  ByteReader r(bytes.data(), bytes.size());
  EXPECT_EQ(r.readString(4), "abc");
  EXPECT_EQ(r.position(), 6u);
  EXPECT_EQ(r.readString(4), "x");
  EXPECT_FALSE(r.failed());
  // No terminator before the end: what was read, and the flag.
  EXPECT_EQ(r.readString(10), "yz");
  EXPECT_TRUE(r.failed());
}

TEST(TdsChunkSearch, FindsAChunkAtItsLevelAndSkipsOthersByLength) {
  ChunkWriter w;
  w.begin(0x1111).u32(7).begin(0x2222).u16(5).end().end();
  w.begin(0x2222).u16(9).end();
  w.u32(0);  // padding
  const Bytes& b = w.bytes();
  ByteReader r(b.data(), b.size());
  ChunkSpan chunk;
  ASSERT_TRUE(findChunk(r, 0x2222, b.size(), chunk));
  EXPECT_EQ(chunk.start, 6u + 4 + 8 + 6);  // the top-level one, not the nested one
  EXPECT_EQ(chunk.end, chunk.start + 2);
  EXPECT_EQ(r.readU16(), 9);
  r.seek(0);
  EXPECT_FALSE(findChunk(r, 0x3333, b.size(), chunk));
}

TEST(TdsChunkSearch, BadLengthsEndTheLevelInsteadOfLoopingOrLeavingIt) {
  // Length 0, then length 3 (shorter than a header): both would make a walk
  // stand still or go backwards.
  for (std::uint32_t length : {0u, 3u}) {
    ChunkWriter w;
    w.u16(0x1111).u32(length).u32(0).u32(0);
    w.begin(0x2222).u16(1).end().u32(0);
    const Bytes& b = w.bytes();
    ByteReader r(b.data(), b.size());
    ChunkSpan chunk;
    EXPECT_FALSE(findChunk(r, 0x2222, b.size(), chunk)) << length;
  }
  // A length past the parent is cut back to the parent's end.
  ChunkWriter w;
  w.begin(0x1000).u16(0x2222).u32(1000).u16(42).u32(0).end();
  w.begin(0x3333).end();
  const Bytes& b = w.bytes();
  ByteReader r(b.data(), b.size());
  ChunkSpan parent, child;
  ASSERT_TRUE(findChunk(r, 0x1000, b.size(), parent));
  ASSERT_TRUE(findChunk(r, 0x2222, parent.end, child));
  EXPECT_EQ(child.end, parent.end);
  EXPECT_EQ(r.readU16(), 42);
  // and a search inside the parent for something after it stops there.
  r.seek(parent.start);
  EXPECT_FALSE(findChunk(r, 0x3333, parent.end, child));
}

}  // namespace
