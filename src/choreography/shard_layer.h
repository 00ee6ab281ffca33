#pragma once

struct SceneFrame;

// Layer 19. The fixed-function rendition darkens the picture through one
// large quad of the shadow picture (texture 40); the shader rendition's
// face shards are not drawn yet.
void drawShardsOrQuad(SceneFrame& frame);
