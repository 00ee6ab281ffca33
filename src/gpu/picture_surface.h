#pragma once
#include "core/picture_size.h"
#include "gpu/framebuffer_object.h"

// Where the window's context draws the picture when the window does not
// show it pixel for pixel: a framebuffer object of the picture's size
// (sizeFramebufferObject), presented into the window scaled to fit and
// centred, black bars around it. When the window shows the picture at its
// own size no such surface is made and the picture is drawn straight into
// the window, as it always was.

// Puts the surface's picture into the window's back buffer at `shown`
// (linear filtering where the sizes differ), the rest of the window black.
// The window's context must be current; the surface stays bound and the
// context's state is as it was. Nothing without a surface.
void presentPicture(const FramebufferObject& surface, const PictureRect& shown);
