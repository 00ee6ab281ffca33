#pragma once
#include <cstdint>

// A 3-vector that carries a state flag: 0 unset, 1 set, 2 normalized.
// Arithmetic on an unset operand yields the default {1, 0, 0, 0}.
struct FlagVec3 {
  int32_t flag = 1;
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};
