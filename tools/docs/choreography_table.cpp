// Prints docs/choreography.md: the layer table as the code has it, each
// window in part time and in demo seconds, what the layer draws and the
// file that draws it. The suite fails when the committed page differs.
//
//   velmora-choreography-table > docs/choreography.md

#include <cmath>
#include <cstdio>
#include <string>

#include "choreography/layer_windows.h"
#include "choreography/scene_layers.h"
#include "parts/part_clock.h"

namespace {
// Both parts run their clock with this bias.
constexpr double kSpeedBias = -0.6;

std::string number(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string s = text;
  // Trailing zeros say nothing: 9.90 -> 9.9, 20.00 -> 20.
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  return s;
}

// One span in the clock `convert` gives, with the variable `t`.
template <typename Convert>
std::string span(const TimeSpan& s, const char* t, Convert convert, int decimals) {
  const bool hasFrom = std::isfinite(s.from);
  const bool hasTo = std::isfinite(s.to);
  const std::string from = hasFrom ? number(convert(s.from), decimals) : "";
  const std::string to = hasTo ? number(convert(s.to), decimals) : "";
  const char* lower = s.fromIncluded ? " <= " : " < ";
  const char* upper = s.toIncluded ? " <= " : " < ";
  if (!hasFrom && !hasTo) return "always";
  if (!hasFrom) return std::string(t) + upper + to;
  if (!hasTo) return std::string(t) + (s.fromIncluded ? " >= " : " > ") + from;
  return from + lower + t + upper + to;
}

bool isEmpty(const TimeSpan& s) { return s.from == kForever; }

template <typename Convert>
std::string window(const LayerWindow& w, const char* t, Convert convert, int decimals) {
  if (!w.drawn) return "not drawn";
  std::string text = span(w.open, t, convert, decimals);
  if (!isEmpty(w.alsoOpen)) text += " or " + span(w.alsoOpen, t, convert, decimals);
  if (!isEmpty(w.except)) text += ", except " + span(w.except, t, convert, decimals);
  return text;
}

bool sameWindow(const LayerWindow& a, const LayerWindow& b) {
  auto same = [](const TimeSpan& x, const TimeSpan& y) {
    return x.from == y.from && x.to == y.to && x.fromIncluded == y.fromIncluded && x.toIncluded == y.toIncluded;
  };
  return a.drawn == b.drawn && same(a.open, b.open) && same(a.alsoOpen, b.alsoOpen) && same(a.except, b.except);
}

template <typename Convert>
std::string bothWindows(const LayerInfo& layer, const char* t, Convert convert, int decimals) {
  const LayerWindow& shader = layer.window(RenditionKind::shader);
  const LayerWindow& fixed = layer.window(RenditionKind::fixedFunction);
  if (sameWindow(shader, fixed)) return window(shader, t, convert, decimals);
  return "shader: " + window(shader, t, convert, decimals) + "; fixed function: " + window(fixed, t, convert, decimals);
}
}  // namespace

int main() {
  const auto partTime = [](double T) { return T; };
  const auto demoSeconds = [](double T) { return demoSecondsAt(T, kSpeedBias); };
  std::printf(
      "# The choreography's layers\n"
      "\n"
      "Made by `velmora-choreography-table` from the layer table of `src/choreography/layer_windows.cpp` and "
      "the drawings of `src/choreography/scene_layers.cpp`; the test `choreography_doc` fails when this page "
      "and the code differ. Regenerate with `build/tools/velmora-choreography-table > docs/choreography.md`.\n"
      "\n"
      "Windows are open intervals unless marked with `<=`. T is part time; t is the demo time at which the "
      "part clock reaches it (the clock runs at the demo's pace until 16.8 s, then up to a tenth faster). "
      "The prologue runs every frame before layer 0; layers are drawn in the order of the table.\n"
      "\n"
      "| layer | name | window (part time T) | window (demo seconds t) | what is drawn | file |\n"
      "|---|---|---|---|---|---|\n");
  const auto layers = choreographyLayers();
  const auto drawings = layerDrawings();
  for (size_t i = 0; i < layers.size(); ++i) {
    const LayerInfo& layer = layers[i];
    const char* file = i < drawings.size() ? drawings[i].file : "";
    const std::string where = file[0] != '\0' ? "`src/" + std::string(file) + "`" : "not drawn yet";
    std::printf("| %d | %s | %s | %s | %s | %s |\n", layer.number, layer.name,
                bothWindows(layer, "T", partTime, 5).c_str(), bothWindows(layer, "t", demoSeconds, 2).c_str(),
                layer.what, where.c_str());
  }
  return 0;
}
