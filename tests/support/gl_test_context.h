#pragma once

// A hidden window with a compatibility-profile GL context on the test
// display, for GL tests that read back what they drew.
class GlTestContext {
 public:
  // False (with the reason in error()) when no context could be made.
  bool open(int width, int height);
  void close();
  const char* error() const { return error_; }

 private:
  void* window_ = nullptr;
  void* context_ = nullptr;
  const char* error_ = "";
};
