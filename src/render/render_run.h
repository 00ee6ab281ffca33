#pragma once
#include "app/command_line.h"
#include "app/process_state.h"

// --shot and --capture, once start-up is done: every frame at the fixed
// step of the request, read back from the window after it is composed and
// before the swap, and handed to the PNG or video writer. Progress goes to
// stderr. A failure or an interrupt (Ctrl-C, the window closed) is named on
// stderr, leaves no result behind and gives 1; a complete result gives 0.
int runRender(ProcessState& state, const RenderRequest& request);

// Before any work: whether the request's result (shot, capture, the
// benchmark's JSON) can be written where it is asked for. False, with the
// message the job would give at its end, when it cannot.
bool renderOutputWritable(const RenderRequest& request);
