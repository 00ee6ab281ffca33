#include "effects/line_batch.h"

#include <GL/gl.h>

#include <algorithm>

LineBatch::LineBatch(std::size_t segmentCapacity) : vertices_(2 * std::max<std::size_t>(segmentCapacity, 1)) {}

void LineBatch::put(const FlagVec3& p, const LineColour& c) {
  vertices_[count_++] = {p.x, p.y, p.z, c.r, c.g, c.b, c.a};
}

void LineBatch::segment(const FlagVec3& a, const LineColour& colourA, const FlagVec3& b, const LineColour& colourB) {
  if (count_ == vertices_.size()) flush();
  put(a, colourA);
  put(b, colourB);
}

void LineBatch::stripVertex(const FlagVec3& p, const LineColour& colour) {
  const Vertex v{p.x, p.y, p.z, colour.r, colour.g, colour.b, colour.a};
  if (stripOpen_) {
    if (count_ == vertices_.size()) flush();
    vertices_[count_++] = stripLast_;
    vertices_[count_++] = v;
  }
  stripLast_ = v;
  stripOpen_ = true;
}

void LineBatch::flush() {
  if (count_ == 0) return;
  // Both ways set the current colour per vertex; the caller's survives.
  glPushAttrib(GL_CURRENT_BIT | GL_LINE_BIT);
  glLineWidth(width_ * pixelScale_);
  if (immediate_)
    drawImmediate();
  else
    drawArrays();
  glPopAttrib();
  drawnSegments_ += count_ / 2;
  ++drawCalls_;
  count_ = 0;
}

void LineBatch::drawArrays() {
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  // Arrays another module left on would be read with stale pointers.
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &vertices_[0].x);
  glColorPointer(4, GL_FLOAT, sizeof(Vertex), &vertices_[0].r);
  glDrawArrays(GL_LINES, 0, GLsizei(count_));
  glPopClientAttrib();
}

void LineBatch::drawImmediate() {
  glBegin(GL_LINES);
  for (std::size_t k = 0; k < count_; ++k) {
    const Vertex& v = vertices_[k];
    glColor4f(v.r, v.g, v.b, v.a);
    glVertex3f(v.x, v.y, v.z);
  }
  glEnd();
}
