#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Little-endian reader over a 3DS file held in memory. Every read is tested
// against the end of the buffer; a read that does not fit returns 0, leaves
// the position where it was and raises `failed`, so a damaged file parses on
// with zeros instead of reading past its end. Seeking clears the flag, which
// lets parsing carry on with the next chunk.
class ByteReader {
 public:
  ByteReader() = default;
  ByteReader(const std::uint8_t* data, std::size_t size) { reset(data, size); }

  void reset(const std::uint8_t* data, std::size_t size);

  // A value fits only when it ends strictly before the end of the buffer, so
  // a value that would end exactly at the end is not read. The production's
  // files carry trailing padding for this.
  std::uint8_t readU8();
  std::uint16_t readU16();
  std::uint32_t readU32();
  float readFloat();

  // Copies bytes up to and including the terminating zero; keeps at most
  // capacity - 1 characters but always consumes the whole string. Running
  // out of data raises `failed` and keeps what was read.
  std::string readString(std::size_t capacity);

  // Position = min(to, size - 1); clears `failed`.
  void seek(std::size_t to);

  std::size_t position() const { return position_; }
  std::size_t size() const { return size_; }
  bool failed() const { return failed_; }
  // Bytes between the position and `end` (0 when the position is past it).
  std::size_t remaining(std::size_t end) const { return end > position_ ? end - position_ : 0; }

 private:
  bool fits(std::size_t bytes);

  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t position_ = 0;
  bool failed_ = false;
};

// One chunk as found by a search: its id, where its data starts and where it
// ends (never past its parent's end).
struct ChunkSpan {
  std::uint16_t id = 0;
  std::size_t start = 0;
  std::size_t end = 0;
};

// Reads the chunk header at the current position. A chunk is refused (false)
// when its header cannot be read, its length is shorter than its own header
// or its header does not fit before `parentEnd`; a chunk whose length points past
// `parentEnd` is cut back to it. On success the position stands at the
// chunk's data.
bool readChunkHeader(ByteReader& reader, std::size_t parentEnd, ChunkSpan& chunk);

// From the current position, walks the chunks of one level up to `parentEnd`
// and stops at the first one with `id` (position at its data, true). A chunk
// that cannot be read ends the level, so a bad length can neither loop nor
// leave the parent.
bool findChunk(ByteReader& reader, std::uint16_t id, std::size_t parentEnd, ChunkSpan& chunk);
