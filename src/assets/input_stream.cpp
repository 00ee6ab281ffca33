#include "assets/input_stream.h"

#include <cstring>

FileInputStream::~FileInputStream() { close(); }

bool FileInputStream::open(const char* name) {
  close();
  file = std::fopen(name, "rb");
  return file != nullptr;
}

void FileInputStream::close() {
  if (file) std::fclose(file);
  file = nullptr;
  eofFlag = false;
  errorFlag = false;
}

int FileInputStream::read(void* buffer, int maxBytes, bool& callerEof) {
  if (!file) return -1;
  if (eofFlag) {
    callerEof = true;
    return 0;
  }
  if (errorFlag) return -1;
  if (maxBytes <= 0) return 0;
  const std::size_t got = std::fread(buffer, 1, std::size_t(maxBytes), file);
  if (got == std::size_t(maxBytes)) return maxBytes;
  if (std::ferror(file)) {
    errorFlag = true;
    return -1;
  }
  eofFlag = true;
  callerEof = true;
  return int(got);
}

int MemoryInputStream::read(void* buffer, int maxBytes, bool& eofFlag) {
  if (maxBytes <= 0) return 0;
  const std::size_t left = size_ - pos_;
  const std::size_t n = left < std::size_t(maxBytes) ? left : std::size_t(maxBytes);
  if (n) std::memcpy(buffer, data_ + pos_, n);
  pos_ += n;
  if (pos_ == size_) eofFlag = true;
  return int(n);
}
