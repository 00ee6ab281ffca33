#include "app/classify_gpu.h"

#include <GL/gl.h>

namespace {
struct SpeedRow {
  std::string_view chip;
  double speed;
};
// In this order: a later match overrides an earlier one.
constexpr SpeedRow kSpeedTable[] = {
    {"59", 1.4},    {"58", 1.2},   {"9600", 1.5}, {"9700", 2.0},  {"9800", 2.75},
    {"X800", 2.95}, {"X600", 1.8}, {"X300", 1.6}, {"6800", 2.95},
};

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

std::string_view glString(GLenum which) {
  const GLubyte* s = glGetString(which);
  return s != nullptr ? std::string_view(reinterpret_cast<const char*>(s)) : std::string_view();
}
}  // namespace

void classifyGpuStrings(std::string_view vendor, std::string_view renderer, DemoApp& app) {
  app.isAti = contains(vendor, "ATI");
  app.gpuSpeed = app.isAti ? 1.5 : 1.0;
  app.lowEndModel = contains(renderer, "5200") || contains(renderer, "6200") ? 5200 : 0;
  for (const SpeedRow& row : kSpeedTable) {
    if (contains(renderer, row.chip)) app.gpuSpeed = row.speed;
  }
}

void classifyGpu(DemoApp& app) { classifyGpuStrings(glString(GL_VENDOR), glString(GL_RENDERER), app); }
