#pragma once
#include <cstdint>
#include <limits>
#include <span>

#include "core/rendition_kind.h"

// When each layer of the choreography is drawn, as data: the same table
// serves both renditions, the scene code, the docs and the tests.

inline constexpr double kForever = std::numeric_limits<double>::infinity();

// An interval of part time. Ends are open unless marked included.
struct TimeSpan {
  double from = -kForever;
  double to = kForever;
  bool fromIncluded = false;
  bool toIncluded = false;

  constexpr bool contains(double t) const {
    const bool afterFrom = fromIncluded ? t >= from : t > from;
    const bool beforeTo = toIncluded ? t <= to : t < to;
    return afterFrom && beforeTo;
  }
};

// A layer's window: one span, optionally a second one, minus an optional
// gap. Exceptions live here rather than inside the layer's body.
struct LayerWindow {
  TimeSpan open;
  TimeSpan alsoOpen{kForever, kForever};  // empty unless set
  TimeSpan except{kForever, kForever};    // empty unless set
  bool drawn = true;                      // false: the rendition leaves the layer out

  constexpr bool contains(double t) const {
    if (!drawn || except.contains(t)) return false;
    return open.contains(t) || alsoOpen.contains(t);
  }
};

struct LayerInfo {
  int32_t number;          // 0 is the prologue's base mesh
  const char* name;        // short, for tables and benchmarks
  const char* what;        // one line for the docs
  LayerWindow windows[2];  // indexed by RenditionKind

  constexpr const LayerWindow& window(RenditionKind r) const { return windows[static_cast<int>(r)]; }
};

// Every layer in drawing order, the prologue's base mesh first.
std::span<const LayerInfo> choreographyLayers();

// The row of layer `number`; null for a number not in the table.
const LayerInfo* findLayer(int32_t number);

// Layer `number`'s window in a rendition, for the fades inside the layers'
// bodies, which read their edges here rather than repeat them. The number
// must be in the table.
const LayerWindow& layerWindow(int32_t number, RenditionKind kind);
