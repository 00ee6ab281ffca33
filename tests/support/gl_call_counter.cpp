#include "gl_call_counter.h"

#include <GL/gl.h>
#include <dlfcn.h>

#include <utility>

namespace {
GlDrawCounts counts;

// The driver's own entry, found past this library.
template <typename Function>
Function next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}
void countElements(GLsizei count) {
  ++counts.elementDraws, counts.elementIndices += count, counts.indexCounts.push_back(int(count));
}
}  // namespace

const GlDrawCounts& glDrawCounts() { return counts; }
// The list keeps its room: code whose allocations are being counted
// should not see the counter's own.
void resetGlDrawCounts() {
  std::vector<int> room = std::move(counts.indexCounts);
  room.clear();
  counts = GlDrawCounts{};
  counts.indexCounts = std::move(room);
}

extern "C" {

void glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
  static const auto real = next<void (*)(GLenum, GLsizei, GLenum, const void*)>("glDrawElements");
  countElements(count);
  real(mode, count, type, indices);
}

void glDrawRangeElements(GLenum mode, GLuint start, GLuint end, GLsizei count, GLenum type, const void* indices) {
  static const auto real = next<void (*)(GLenum, GLuint, GLuint, GLsizei, GLenum, const void*)>("glDrawRangeElements");
  countElements(count);
  real(mode, start, end, count, type, indices);
}

void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
  static const auto real = next<void (*)(GLenum, GLint, GLsizei)>("glDrawArrays");
  ++counts.arrayDraws;
  counts.arrayVertices += count;
  real(mode, first, count);
}

void glBegin(GLenum mode) {
  static const auto real = next<void (*)(GLenum)>("glBegin");
  ++counts.begins;
  real(mode);
}

}  // extern "C"
