#include "assets/byte_reader.h"

#include <cstring>

void ByteReader::reset(const std::uint8_t* data, std::size_t size) {
  data_ = data;
  size_ = data ? size : 0;
  position_ = 0;
  failed_ = false;
}

bool ByteReader::fits(std::size_t bytes) {
  if (position_ < size_ && bytes < size_ - position_) return true;
  failed_ = true;
  return false;
}

std::uint8_t ByteReader::readU8() {
  if (!fits(1)) return 0;
  return data_[position_++];
}

std::uint16_t ByteReader::readU16() {
  if (!fits(2)) return 0;
  const std::uint8_t* p = data_ + position_;
  position_ += 2;
  return std::uint16_t(p[0] | (p[1] << 8));
}

std::uint32_t ByteReader::readU32() {
  if (!fits(4)) return 0;
  const std::uint8_t* p = data_ + position_;
  position_ += 4;
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

float ByteReader::readFloat() {
  const std::uint32_t bits = readU32();  // 0 when it did not fit: 0.0f
  float value;
  std::memcpy(&value, &bits, 4);
  return value;
}

std::string ByteReader::readString(std::size_t capacity) {
  std::string text;
  for (;;) {
    if (!fits(1)) return text;
    const char c = char(data_[position_++]);
    if (c == '\0') return text;
    if (text.size() + 1 < capacity) text.push_back(c);
  }
}

void ByteReader::seek(std::size_t to) {
  position_ = size_ == 0 ? 0 : (to < size_ - 1 ? to : size_ - 1);
  failed_ = false;
}

bool readChunkHeader(ByteReader& reader, std::size_t parentEnd, ChunkSpan& chunk) {
  const std::size_t at = reader.position();
  if (at >= parentEnd || parentEnd - at < 6) return false;
  const std::uint16_t id = reader.readU16();
  const std::uint32_t length = reader.readU32();
  // A failed read leaves the position behind, which tells us without
  // touching the flag the caller may be watching.
  if (reader.position() != at + 6 || length < 6) return false;
  chunk.id = id;
  chunk.start = at + 6;
  const std::size_t end = at + std::size_t(length);
  chunk.end = end < parentEnd ? end : parentEnd;
  return true;
}

bool findChunk(ByteReader& reader, std::uint16_t id, std::size_t parentEnd, ChunkSpan& chunk) {
  ChunkSpan found;
  while (readChunkHeader(reader, parentEnd, found)) {
    if (found.id == id) {
      chunk = found;
      return true;
    }
    // Ends past the buffer's last byte cannot be sought to; nothing follows.
    if (found.end >= reader.size()) return false;
    reader.seek(found.end);
  }
  return false;
}
