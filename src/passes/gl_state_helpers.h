#pragma once

struct CameraView;
struct DemoApp;
struct OffscreenTarget;
class TextureTable;

// Small GL state helpers both parts and the passes share.

// The application's texture table.
TextureTable& textureTable(DemoApp& app);
const TextureTable& textureTable(const DemoApp& app);

// Fragment stage, then vertex stage, back to fixed function.
void disableProfiles(DemoApp& app);

// Binds texture number `number` (below 85000 offset by the texture base)
// to GL_TEXTURE_2D on the active unit; numbers outside the table bind none.
void bindTextureNumber(const DemoApp& app, int number);

// Back to the window: its context current, the demo's perspective as the
// projection and an identity modelview.
void setCameraProjection(DemoApp& app, const OffscreenTarget& target);

// The perspective every pass uses: vertical field of view 75 degrees plus
// the app's offset, aspect 1, the app's clip planes; multiplied onto the
// current matrix.
void multiplyDemoPerspective(const DemoApp& app);

// The texture matrix of unit 0 = bias (0..1) x the demo's perspective x the
// light's view: scene positions into the light's projective texture space.
// Leaves GL_TEXTURE as the matrix mode.
void loadLightTextureMatrix(const DemoApp& app, const CameraView& light);

// Texture matrix of unit 0 back to identity; modelview the matrix mode.
void resetTextureMatrix();
