#pragma once
// Windows' own gl.h stops at OpenGL 1.1, and the demo's sources, written
// against Mesa's gl.h, expect the newer names that Mesa's brings along with
// glext.h. The Windows build finds this file first.
#include_next <GL/gl.h>
#include <GL/glext.h>
