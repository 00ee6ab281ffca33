#version 330 compatibility
// Skin under water light (the base man). The material's colour map, bent
// by its normal map, lit from the light with a diffuse term and a highlight
// that runs across the surface's grain (anisotropic, as on hair or
// brushed skin), and the caustic frame projected from the light on top,
// cyan-white. The frame comes in twice ("decal" and "light" are the same
// picture): their product sharpens the bright lines of the caustics. The
// scene's oscillators ("alpha") make the caustics' brightness breathe.
//
// "texture" as a name hides the texture() function here, so the lookups
// use the older named forms.
uniform sampler2D texture;   // the material's normal map
uniform sampler2D texture2;  // the material's colour map
uniform sampler2D decal;     // caustic frame, projected from the light
uniform sampler2D light;     // caustic frame, projected from the light
uniform vec3 alpha;          // the scene's oscillators, each in -1..1

#include "projection_fragment.glsl"

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec3 n = normalize(gl_TexCoord[2].xyz);
  vec3 t = grainOf(n, gl_TexCoord[3].xyz);
  vec3 bump = texture2D(texture, uv).xyz * 2.0 - 1.0;
  n = normalize(n + (bump.x * t + bump.y * cross(n, t)) * 0.6);
  t = grainOf(n, t);

  vec3 l = normalize(gl_TexCoord[4].xyz);
  vec3 v = normalize(gl_TexCoord[5].xyz);
  float diffuse = max(dot(n, l), 0.0);
  float across = dot(t, normalize(l + v));
  float sin16 = squared(squared(squared(max(1.0 - across * across, 0.0))));
  float sheen = sin16 * squared(sin16) * smoothstep(0.0, 0.25, diffuse);  // sin^48
  float edge = 1.0 - max(dot(n, v), 0.0);
  float rim = edge * edge * edge;

  vec4 p = gl_TexCoord[1];
  float inFront = p.q > 0.0 ? 1.0 : 0.0;  // behind the light the projection mirrors
  vec3 caustic = texture2DProj(decal, p).rgb * texture2DProj(light, p).rgb * inFront;
  float breath = 1.45 + 0.3 * alpha.x + 0.15 * alpha.z;

  vec3 skin = texture2D(texture2, uv).rgb;
  vec3 colour = skin * (0.1 + 0.36 * diffuse) + caustic * vec3(0.55, 0.9, 1.0) * breath * (0.3 + 0.7 * diffuse) +
                vec3(1.0, 0.93, 0.8) * (0.45 * highlight(sheen)) + sky(reflect(-v, n)) * (0.4 * rim);
  gl_FragColor = vec4(colour * gl_Color.rgb, gl_Color.a);
}
