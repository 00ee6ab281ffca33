#pragma once
#include "app/shell_state.h"
#include "director/frame_inputs.h"
#include "platform/events.h"

// Applies one window event to the shell state and the frame inputs.
// `frameDelta` is the last frame's step, which the arrow keys scale by.
void windowProc(ShellState& shell, FrameInputs& inputs, const PlatformEvent& event, double frameDelta);

// Space, '.', ',' and '/' pressed: what the demo maker asks of playback.
void notePlaybackKey(PlaybackRequests& requests, int virtualKey, bool repeat);

// The arrow keys act on every event that gets default processing.
void applyArrowKeys(const ShellState& shell, FrameInputs& inputs, double frameDelta);

// The middle button: remember the point and log the camera and point as text.
void recordCameraAndPoint(ShellState& shell, FrameInputs& inputs);
