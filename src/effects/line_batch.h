#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "math/flag_vec3.h"

struct LineColour {
  float r = 1.0f, g = 1.0f, b = 1.0f, a = 1.0f;
};

// Line segments gathered into one client vertex array (positions and
// colours) and drawn with a single glDrawArrays(GL_LINES) per flush, in
// place of a glBegin/glVertex stream: on a software rasteriser the
// per-vertex calls of long additive line layers cost more than the lines.
//
// Storage is reserved once, at construction; adding never allocates. A
// batch that fills up draws what it holds and starts again, so capacity
// only sets how many draws a layer takes, never what it shows.
//
// Everything pending is drawn with the GL state and matrices current at
// the flush: change blending, textures or the modelview only after
// flush(). The flush itself leaves the current colour and line width as it
// found them. Rendering thread only; the GL context must be current for
// flush().
class LineBatch {
 public:
  static constexpr std::size_t kDefaultCapacity = 65536;  // segments

  LineBatch() : LineBatch(kDefaultCapacity) {}
  explicit LineBatch(std::size_t segmentCapacity);

  // The width (pixels of the 600-row picture) of the lines drawn by the
  // next flush; they are drawn `pixelScale` times as wide, so that a
  // larger picture shows the same lines, only sharper.
  void setWidth(float width) { width_ = width; }
  float width() const { return width_; }
  void setPixelScale(float scale) { pixelScale_ = scale; }

  // Immediate-mode flushes (see above); off by default.
  void setImmediate(bool immediate) { immediate_ = immediate; }
  bool immediate() const { return immediate_; }

  void segment(const FlagVec3& a, const FlagVec3& b, const LineColour& colour) { segment(a, colour, b, colour); }
  // Colours are interpolated along the segment.
  void segment(const FlagVec3& a, const LineColour& colourA, const FlagVec3& b, const LineColour& colourB);

  // A polyline: after beginStrip() the first stripVertex() only starts it,
  // every later one adds the segment from the vertex before.
  void beginStrip() { stripOpen_ = false; }
  void stripVertex(const FlagVec3& p, const LineColour& colour);

  // Draws and empties the batch; nothing when it is empty.
  void flush();

  std::size_t pendingSegments() const { return count_ / 2; }
  std::size_t capacity() const { return vertices_.size() / 2; }

  // Running totals since construction, for tests and benchmarks; an
  // immediate-mode flush counts as one draw call.
  std::uint64_t drawnSegments() const { return drawnSegments_; }
  std::uint64_t drawCalls() const { return drawCalls_; }

 private:
  struct Vertex {
    float x, y, z;
    float r, g, b, a;
  };
  void put(const FlagVec3& p, const LineColour& c);
  void drawArrays();
  void drawImmediate();

  std::vector<Vertex> vertices_;
  std::size_t count_ = 0;
  float width_ = 1.0f;
  float pixelScale_ = 1.0f;
  bool stripOpen_ = false;
  bool immediate_ = false;
  Vertex stripLast_{};
  std::uint64_t drawnSegments_ = 0;
  std::uint64_t drawCalls_ = 0;
};
