#pragma once
#include <array>
#include <string>

#include "core/picture_size.h"
#include "gpu/picture_surface.h"
#include "platform/gl_window.h"

// The demo maker's keys since the last frame: Space, '.', ',' and '/'.
struct PlaybackRequests {
  bool togglePause = false;
  int steps = 0;        // frames of 1/60 s to step while paused
  int jumpSeconds = 0;  // negative: back
};

// The shell's process-wide state: the choices of the setup dialog, the
// window, and the input the window procedure records for the next frame.
struct ShellState {
  bool fullscreen = false;
  bool musicEnabled = false;
  bool slowCard = false;
  bool active = true;
  std::array<bool, 256> keys{};
  // Keys pressed since the last frame read them, whatever their release
  // did since: a tap shorter than a slow frame still counts.
  std::array<bool, 256> pressedSinceFrame{};
  bool endRequested = false;
  double endStartTime = 0.0;
  bool leftButtonDown = false;
  double wheel = 0.0;
  std::string clipboardText;
  PlaybackRequests playback;

  bool quitPosted = false;  // the loop ends at its next message
  int quitCode = 0;

  PlatformGl gl;
  // The window may be resized (windowed live runs), and was since the
  // picture was last fitted to it.
  bool resizable = false;
  bool resized = false;
  // The picture size asked for (--size; 800 x 600 on a software
  // rasteriser); 0 x 0 draws the picture at the size the window shows it.
  int askedPictureWidth = 0;
  int askedPictureHeight = 0;
  // Where the picture is drawn when the window does not show it pixel for
  // pixel, and where in the window it shows.
  FramebufferObject pictureSurface;
  PictureRect shown;
  int windowHeight = 0;  // the drawable's, when the picture was last fitted
};
