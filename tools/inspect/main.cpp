// velmora-inspect: looks into the demo's data files.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "inspect_commands.h"

namespace {

const InspectCommandEntry kCommands[] = {
    {"jpeg", "FILE [-o OUT.ppm]", inspectJpeg},
    {"3ds", "FILE [--scene N]", inspect3ds},
};

}  // namespace

void printInspectUsage() {
  std::fprintf(stderr, "usage:\n");
  for (const auto& c : kCommands) std::fprintf(stderr, "  velmora-inspect %s %s\n", c.name, c.usage);
}

int main(int argc, char** argv) {
  setDiagnosticProgram("velmora-inspect");
  if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    printInspectUsage();
    return 0;
  }
  if (argc >= 2) {
    for (const auto& c : kCommands)
      if (std::strcmp(argv[1], c.name) == 0) return c.run(std::vector<std::string>(argv + 2, argv + argc));
  }
  printInspectUsage();
  return 2;
}
