#pragma once

// The production's picture: 800 x 600 pixels, 4:3. The window opens at this
// size, shots and captures are written at it, and the screen copies of the
// passes and the composition are cut to it.
inline constexpr int kPictureWidth = 800;
inline constexpr int kPictureHeight = 600;
