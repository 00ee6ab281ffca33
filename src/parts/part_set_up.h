#pragma once
#include "choreography/layer_windows.h"

class DemoPart;
struct DemoApp;

// The set-up both parts share, step for step; `kind` says which rendition
// will play. The shader rendition loads the five projection pairs (each
// with its mesh) and the glow's blur; the fixed-function one loads the four
// meshes it draws and the two base pictures they wear, and opens no shader
// file. Every texture number, file, seed and constant is otherwise the
// same, so both leave the random generator in the same state. Needs the GL
// context current; a picture that cannot be loaded stops the loading (the
// texture table says so) and the caller ends the run.
void setUpPart(DemoPart& part, DemoApp& app, RenditionKind kind);
