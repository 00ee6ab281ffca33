#pragma once

#include "app/shell_state.h"
#include "gpu/texture_table.h"

// Where the loading picture lives in the texture table.
inline constexpr const char* kLoadingPicture = "textures/loading.jpg";

// One frame of the loading screen: the loading picture as a square in the
// middle of the picture (520 x 520 at 800 x 600) on black, its colour
// multiplied by `level` (0..1), then shown. Leaves the projection matrix
// in a perspective of its own; the part sets its own when it draws. False
// when the picture cannot be loaded: the message has been shown and the
// run should end.
bool drawLoadingScreen(TextureTable& textures, ShellState& shell, double level);
