#pragma once
#include "app/command_line.h"
#include "app/process_state.h"

// --bench, once start-up is done: the whole choreography at the request's
// fixed step, as fast as it draws, without sound or read-back. Each frame's
// draw time is taken with glFinish before the clock is read; one frame in
// kLayerSampleEvery is drawn again layer by layer, with glFinish around each
// layer, for the per-layer split (so the finishes do not slow the frames
// the figures come from). Prints the figures on stdout, writes them as JSON
// to the request's `out` when named. 0, or 1 when the JSON cannot be
// written or the run was interrupted.
int runBench(ProcessState& state, const RenderRequest& request);
