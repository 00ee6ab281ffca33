#pragma once
#include <string>
#include <string_view>

#include "core/picture_size.h"

struct ProcessState;
struct ShellState;

// The picture for the window as it is now: its size (the one asked for,
// else the largest 4:3 part of the window), where it shows in the window,
// whether it is drawn into a surface of its own, the render targets of
// its passes and the window context's viewport. Run with the window's
// context current, once before the start-up makes the render targets and
// again whenever the window has changed size. False, with the reason in
// `error`, when the driver cannot draw a picture that large.
bool fitPictureToWindow(ProcessState& s, std::string& error);

// Shows the frame drawn: the picture into the window when it was drawn
// into its own surface, then the swap.
void showFrame(ShellState& shell);

// A fullscreen window's cursor position as it would lie on the
// production's own 800 x 600 screen, where its picture filled the display:
// relative to where the picture shows (`shown`, rows from the bottom, in a
// screen `screenHeight` high), scaled to 800 x 600. The camera's mouse
// nudge is measured from that screen's middle, (400, 300).
void cursorOnProductionScreen(const PictureRect& shown, int screenHeight, int& x, int& y);

// True for renderer strings of Mesa's software rasterisers, which draw a
// large picture too slowly to play: they draw 800 x 600 and the window
// shows it scaled.
bool softwareRenderer(std::string_view renderer);
