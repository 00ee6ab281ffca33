#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

// Byte source the JPEG decoder pulls its input through, so pictures can come
// from a file or from memory alike.
class InputStream {
 public:
  virtual ~InputStream() = default;
  // Copies up to maxBytes bytes into buffer and returns how many, or -1 on a
  // read error. Sets eofFlag once the end of the data has been reached.
  virtual int read(void* buffer, int maxBytes, bool& eofFlag) = 0;
  // Called by a decoder when it starts and stops using the stream.
  virtual void attach() {}
  virtual void detach() {}
};

class FileInputStream : public InputStream {
 public:
  FileInputStream() = default;
  FileInputStream(const FileInputStream&) = delete;
  FileInputStream& operator=(const FileInputStream&) = delete;
  ~FileInputStream() override;

  // Closes any open file first; returns whether the new one opened.
  bool open(const char* name);
  void close();
  int read(void* buffer, int maxBytes, bool& eofFlag) override;

  std::FILE* file = nullptr;
  bool eofFlag = false;
  bool errorFlag = false;
};

// Reads from a caller-owned block of bytes, which must outlive the stream.
class MemoryInputStream : public InputStream {
 public:
  MemoryInputStream(const void* data, std::size_t size) : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}
  int read(void* buffer, int maxBytes, bool& eofFlag) override;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};
