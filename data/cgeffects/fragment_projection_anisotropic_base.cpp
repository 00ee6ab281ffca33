#version 330 compatibility
// The ground, lit by a pool of projected light. The ground's colour map,
// bent by its normal map, takes a dim diffuse term; inside the light's
// projection a round pool of cold light falls on it, made uneven by the
// ripple map: "decal" gives the ripples that bend the light, "light" the
// ripples seen through them, and where the two focus the pool brightens
// into caustic lines. A faint wet sheen runs across the ground's grain.
//
// "texture" as a name hides the texture() function here, so the lookups
// use the older named forms.
uniform sampler2D texture;   // the ground's normal map
uniform sampler2D texture2;  // the ground's colour map
uniform sampler2D decal;     // ripple normal map, projected from the light
uniform sampler2D light;     // ripple normal map, projected from the light

#include "projection_fragment.glsl"

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec3 n = normalize(gl_TexCoord[2].xyz);
  vec3 t = grainOf(n, gl_TexCoord[3].xyz);
  vec3 bump = texture2D(texture, uv).xyz * 2.0 - 1.0;
  n = normalize(n + (bump.x * t + bump.y * cross(n, t)) * 0.7);
  t = grainOf(n, t);
  vec3 l = normalize(gl_TexCoord[4].xyz);
  vec3 v = normalize(gl_TexCoord[5].xyz);
  float diffuse = max(dot(n, l), 0.0);

  vec4 p = gl_TexCoord[1];
  vec2 s = p.q > 0.0 ? p.xy / p.q : vec2(-1.0);
  float pool = smoothstep(0.5, 0.2, length(s - 0.5));
  vec2 bent = texture2D(decal, s).xy * 2.0 - 1.0;
  vec2 seen = texture2D(light, s + bent * 0.03).xy * 2.0 - 1.0;
  float focus = 0.55 + 1.8 * dot(seen, seen);
  vec3 poolLight = vec3(0.6, 0.85, 1.0) * pool * focus * gl_TexCoord[6].x;

  float across = dot(t, normalize(l + v));
  float sin8 = squared(squared(max(1.0 - across * across, 0.0)));
  float sheen = sin8 * squared(sin8) * diffuse;  // sin^24
  float grazing = squared(squared(1.0 - max(dot(n, v), 0.0)));

  vec3 ground = texture2D(texture2, uv).rgb;
  vec3 colour = ground * (0.1 + 0.25 * diffuse + 0.5 * poolLight) + vec3(0.7, 0.8, 1.0) * (0.2 * highlight(sheen)) +
                sky(reflect(-v, n)) * (0.25 * grazing);
  gl_FragColor = vec4(colour * gl_Color.rgb, gl_Color.a);
}
