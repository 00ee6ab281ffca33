#version 330 compatibility
// The water surface: the screen as it was before the water was drawn
// ("decal", the screen copy), read where this fragment lies on the screen
// and bent by the ripple normal map ("light"), tinted by the water's own
// map; the night sky reflects at grazing angles and the ripples catch a
// highlight that runs along their crests.
//
// The pass projects with the camera as the light, so the light's projective
// coordinates are 0..1 over the view; the copy holds the view in the
// lower-left corner of its texture, "extent" of it (800 / 1024 x 600 / 1024
// for the 800 x 600 picture).
//
// "texture" as a name hides the texture() function here, so the lookups
// use the older named forms.
uniform sampler2D texture;   // the water material's normal map: fine detail
uniform sampler2D texture2;  // the water material's colour map: the tint
uniform sampler2D decal;     // the screen copy
uniform sampler2D light;     // the ripple normal map

uniform vec3 extent;        // the picture's far corner in the copy (u, v)
const float kBend = 0.045;  // how far, in views, the steepest ripple shifts the picture

#include "projection_fragment.glsl"

void main() {
  vec3 ripple = texture2D(light, gl_TexCoord[6].xy).xyz * 2.0 - 1.0;
  vec3 detail = texture2D(texture, gl_TexCoord[0].xy * 3.0).xyz * 2.0 - 1.0;
  vec2 bend = ripple.xy * kBend + detail.xy * 0.006;

  vec4 p = gl_TexCoord[1];
  vec2 onScreen = p.w > 0.0 ? p.xy / p.w : vec2(0.5);
  vec3 below = texture2D(decal, clamp(onScreen + bend, 0.0, 1.0) * extent.xy).rgb;

  vec3 n = normalize(gl_TexCoord[2].xyz);
  vec3 t = grainOf(n, gl_TexCoord[3].xyz);
  n = normalize(n + (ripple.x * t + ripple.y * cross(n, t)) * 0.6);
  vec3 v = normalize(gl_TexCoord[5].xyz);
  vec3 l = normalize(gl_TexCoord[4].xyz);
  float facing = abs(dot(n, v));
  float fresnel = 0.08 + 0.6 * squared(squared(1.0 - facing));
  float across = dot(t, normalize(l + v));
  float sin32 = squared(squared(squared(squared(max(1.0 - across * across, 0.0)))));
  float crest = squared(sin32) * length(ripple.xy);  // sin^64

  vec3 tint = texture2D(texture2, gl_TexCoord[0].xy).rgb * gl_Color.rgb;
  vec3 colour = below * (0.65 + 0.9 * tint) * (1.0 - fresnel) + sky(reflect(-v, n)) * fresnel +
                vec3(0.8, 0.95, 1.0) * (0.5 * highlight(crest));
  gl_FragColor = vec4(colour, gl_Color.a);
}
