#pragma once
#include <cstdint>

// Every texture number the production draws with, in one table: the render
// targets the set-up makes and the pictures it loads. Numbers below 85000
// are offset by the texture table's base (always 0 here).

// Render targets.
inline constexpr int32_t kSceneTexture = 0;   // the scene pass's picture, composed in the window
inline constexpr int32_t kGlowTexture = 1;    // the self-feeding glow
inline constexpr int32_t kGlowTexture3 = 2;   // bound after the composition, never drawn into
inline constexpr int32_t kSceneTexture2 = 3;  // the refraction copy the water reads
inline constexpr int32_t kSpareTexture = 4;   // nothing is loaded there
inline constexpr int32_t kDepthTexture = 5;   // the projection pairs' depth, the heart's decal
inline constexpr int32_t kGlowTexture2 = 7;   // the ripple normal map

// Pictures.
inline constexpr int32_t kSignaturePicture = 8;
inline constexpr int32_t kBlobAlphaPicture = 9;  // the blob with its own alpha
inline constexpr int32_t kBlobPicture = 10;
inline constexpr int32_t kCloudPicture = 25;
inline constexpr int32_t kBloodPicture = 30;
inline constexpr int32_t kShadowPicture = 40;
inline constexpr int32_t kSkyFirstPicture = 80;       // six faces from here
inline constexpr int32_t kCausticFirstPicture = 100;  // sixteen frames from here
inline constexpr int32_t kGroundPicture = 123;        // the fixed function's meshes wear these two
inline constexpr int32_t kFacetPicture = 124;
inline constexpr int32_t kBackgroundPicture = 200;
inline constexpr int32_t kWingPicture = 202;
inline constexpr int32_t kBudPicture = 203;
inline constexpr int32_t kHorsePicture = 205;
inline constexpr int32_t kCircuitPicture = 206;
inline constexpr int32_t kLoadingTexture = 12345;  // the loading picture, absolute
// The heart's light: a number nothing is loaded at, so it samples black.
inline constexpr int32_t kUnloadedTexture = 1000;
