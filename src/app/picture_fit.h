#pragma once
#include <string>
#include <string_view>

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

// True for renderer strings of Mesa's software rasterisers, which draw a
// large picture too slowly to play: they draw 800 x 600 and the window
// shows it scaled.
bool softwareRenderer(std::string_view renderer);
