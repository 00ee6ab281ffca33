#pragma once
#include <cstdint>
#include <vector>

// Water heights animated by the two-buffer wave scheme, plus an RGB normal
// map derived from them (one texel per cell, for a bump/refraction texture).
// Cell (x, y) is element y * width + x of every buffer.
struct RippleField {
  RippleField(double interval, uint32_t width, uint32_t height);

  // Stamps (assigns, does not add) a drop of size 1..4 centred on (x, y)
  // into heights[current]; any other size does nothing. Cells of the stamp
  // that fall outside the grid are skipped.
  void drop(int32_t x, int32_t y, int size, double amplitude);

  // Spreads the waves one step into heights[current] with the given damping,
  // then flips current. Border cells are never written.
  void step(double damping);

  // Recomputes normalBytes from heights[current]; nz is the normal's constant
  // third component. A border of two cells keeps its bytes.
  void normalMap(double nz);

  std::vector<double> heights[2];
  uint32_t width;
  uint32_t height;
  // The buffer that drops go into and that normalMap() reads. After a step
  // the newest heights are in heights[1 - current].
  uint8_t current = 0;
  std::vector<uint8_t> normalBytes;  // width * height * 3, RGB
  double dropInterval;               // seconds between two drops
};
