#pragma once
#include "math/flag_vec3.h"

// Puts the basis vectors a, b, c into the first three columns (rows 0..2)
// of the current GL texture matrix and loads the result into the current
// matrix stack; the translation column and the bottom row stay as read.
// Flags are ignored. Needs a current GL context; mesh drawing calls it with
// the texture matrix stack current, as one step of the object transform.
void loadBasisMatrix(const FlagVec3& a, const FlagVec3& b, const FlagVec3& c);
