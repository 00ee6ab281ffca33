#include <gtest/gtest.h>

#include "assets/byte_reader.h"
#include "tds_file_builder.h"

namespace {
using tds_test::Bytes;
using tds_test::ChunkWriter;

// Lengths 0 and 3 (shorter than a header) would stand still or go back: the
// level ends; a length past the parent is cut back to the parent's end, and
// a search inside the parent stops there.
TEST(TdsChunkSearch, BadLengthsEndTheLevelInsteadOfLoopingOrLeavingIt) {
  ChunkSpan chunk;
  for (std::uint32_t length : {0u, 3u}) {
    ChunkWriter bad;
    bad.u16(0x1111).u32(length).u32(0).u32(0).begin(0x2222).u16(1).end().u32(0);
    ByteReader b(bad.bytes().data(), bad.bytes().size());
    EXPECT_FALSE(findChunk(b, 0x2222, bad.bytes().size(), chunk)) << length;
  }
  ChunkWriter nested;
  nested.begin(0x1000).u16(0x2222).u32(1000).u16(42).u32(0).end().begin(0x3333).end();
  ByteReader n(nested.bytes().data(), nested.bytes().size());
  ChunkSpan parent;
  ASSERT_TRUE(findChunk(n, 0x1000, nested.bytes().size(), parent));
  ASSERT_TRUE(findChunk(n, 0x2222, parent.end, chunk));
  EXPECT_EQ(chunk.end, parent.end);
  EXPECT_EQ(n.readU16(), 42);
  n.seek(parent.start);
  EXPECT_FALSE(findChunk(n, 0x3333, parent.end, chunk));
}
}  // namespace
