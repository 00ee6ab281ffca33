#pragma once

// Further GL contexts beside the window's own: each has its own state
// (matrices, enables, bindings) while sharing textures and other objects
// with the context that was current when it was made. A context is drawn
// with on the window it is made current on.

// The window and context current on this thread; false (both null) when
// no context is current.
bool platformCurrentGl(void*& window, void*& context);

// A new context sharing objects with the one current now; null on failure
// (see platformError). The new context is current when this returns.
void* platformCreateSharedContext(void* window);

bool platformMakeContextCurrent(void* window, void* context);
void platformDeleteSharedContext(void* context);
