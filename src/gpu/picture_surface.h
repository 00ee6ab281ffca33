#pragma once
#include <cstdint>
#include <string>

#include "core/picture_size.h"

// Where the window's context draws the picture when the window does not
// show it pixel for pixel: a framebuffer object of the picture's size
// (colour, depth and stencil), presented into the window scaled to fit and
// centred, with black bars around it. When the window shows the picture at
// its own size the surface is not made and the picture is drawn straight
// into the window, as it always was.
struct PictureSurface {
  std::uint32_t framebuffer = 0;  // 0: the window's own
  std::uint32_t colour = 0;
  std::uint32_t depthStencil = 0;
  int width = 0;
  int height = 0;
};

// Makes the surface, or gives it a new size, in the current (window)
// context and binds it for drawing and reading; what it held is lost.
// False, with the reason in `error` and the surface released, when the
// driver refuses.
bool bindPictureSurface(PictureSurface& surface, int width, int height, std::string& error);

// Deletes the surface; the window's own framebuffer is bound again.
void releasePictureSurface(PictureSurface& surface);

// Puts the surface's picture into the window's back buffer at `shown`
// (linear filtering where the sizes differ), the rest of the window black.
// The window's context must be current; the surface stays bound and the
// context's state is as it was.
void presentPicture(const PictureSurface& surface, const PictureRect& shown);
