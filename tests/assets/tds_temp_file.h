#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tds_file_builder.h"

namespace tds_test {

// Writes the bytes to a file in the test's temporary folder; returns its path.
inline std::string writeTempFile(const std::string& name, const Bytes& bytes) {
  const std::string path = ::testing::TempDir() + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f) {
    if (!bytes.empty()) std::fwrite(bytes.data(), bytes.size(), 1, f);
    std::fclose(f);
  }
  return path;
}

}  // namespace tds_test
