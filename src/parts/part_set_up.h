#pragma once
#include <vector>

#include "assets/picture_prefetch.h"
#include "choreography/layer_windows.h"

class DemoPart;
class TextureTable;
struct PictureLayout;
struct DemoApp;

// The set-up both parts share, step for step; `kind` says which rendition
// will play. The shader rendition loads the five projection pairs (each
// with its mesh), the glow's blur and the window's composition; the
// fixed-function one loads the four meshes it draws and the two base
// pictures they wear, and opens no shader file. Every texture number, file, seed and constant is otherwise the
// same, so both leave the random generator in the same state. Needs the GL
// context current; a picture that cannot be loaded stops the loading (the
// texture table says so) and the caller ends the run.
void setUpPart(DemoPart& part, DemoApp& app, RenditionKind kind);

// The scene copies at the picture's target size, when the picture changed
// size after the set-up; black until the next frame fills them.
void resizeScreenCopies(TextureTable& textures, const PictureLayout& picture);

// Every picture setUpPart loads through the texture table for `kind`, in
// the order it loads them, in the form it asks for each: the list to
// decode ahead. The meshes' own pictures are not in it.
std::vector<PictureRequest> setUpPictures(RenditionKind kind);
