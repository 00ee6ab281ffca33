#pragma once
#include <string>
#include <vector>

// One subcommand of velmora-inspect. Returns the exit code: 0 fine, 1 the
// file could not be read or decoded, 2 wrong command line.
using InspectCommand = int (*)(const std::vector<std::string>& args);

struct InspectCommandEntry {
  const char* name;
  const char* usage;  // arguments after the name
  InspectCommand run;
};

int inspectJpeg(const std::vector<std::string>& args);
int inspect3ds(const std::vector<std::string>& args);

void printInspectUsage();
