#version 330 compatibility
// A lit, anisotropically highlighted surface with a picture projected from
// the light (the heart, the ghost copies of the man, the stone man). The
// material's colour map, bent by its normal map, takes a diffuse term, a
// highlight that runs across the surface's grain and a rim from the sky;
// the projected picture is "decal" modulated by "light": where the light
// picture is dark the decal still shows at a third, so a decal without a
// light picture (the heart's) reads as an even fill light. A surface whose
// colour has an alpha below one is a ghost instead (below).
//
// "texture" as a name hides the texture() function here, so the lookups
// use the older named forms.
uniform sampler2D texture;   // the material's normal map
uniform sampler2D texture2;  // the material's colour map
uniform sampler2D decal;     // projected from the light
uniform sampler2D light;     // projected from the light, modulates the decal

#include "projection_fragment.glsl"

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec3 n = normalize(gl_TexCoord[2].xyz);
  vec3 t = grainOf(n, gl_TexCoord[3].xyz);
  vec3 bump = texture2D(texture, uv).xyz * 2.0 - 1.0;
  n = normalize(n + (bump.x * t + bump.y * cross(n, t)) * 0.5);
  t = grainOf(n, t);

  vec3 l = normalize(gl_TexCoord[4].xyz);
  vec3 v = normalize(gl_TexCoord[5].xyz);
  float diffuse = max(dot(n, l), 0.0);
  float across = dot(t, normalize(l + v));
  float sin2 = max(1.0 - across * across, 0.0);
  float sheen = squared(squared(squared(squared(sin2)))) * smoothstep(0.0, 0.25, diffuse);  // sin^32
  float edge = 1.0 - max(dot(n, v), 0.0);
  float rim = edge * edge * sqrt(edge);  // edge^2.5

  vec4 p = gl_TexCoord[1];
  float inFront = p.q > 0.0 ? 1.0 : 0.0;  // behind the light the projection mirrors
  vec3 projected = texture2DProj(decal, p).rgb * (0.35 + 0.65 * texture2DProj(light, p).rgb) * inFront;

  if (gl_Color.a < 0.999) {
    // A ghost (the copies of the man, drawn with the colour's alpha below
    // one and added onto the picture): its own dark colour, faint where it
    // faces the eye so the scene shows through, its outline lit by the glow
    // it carries as its projected picture, dissolving with distance.
    vec3 glow = texture2DProj(decal, p).rgb * inFront;
    float outline = edge * edge;
    vec3 ghost = gl_Color.rgb * (0.4 + 2.6 * outline) + glow * gl_Color.rgb * (1.0 + 3.0 * outline);
    float fade = exp(-0.025 * length(gl_TexCoord[5].xyz));
    gl_FragColor = vec4(ghost, gl_Color.a * (0.3 + 0.7 * outline) * fade);
    return;
  }

  vec3 surface = texture2D(texture2, uv).rgb;
  vec3 colour = surface * (0.25 + 0.75 * diffuse) + projected * (0.4 + 0.6 * diffuse) +
                vec3(1.0, 0.9, 0.85) * (0.35 * highlight(sheen)) + sky(reflect(-v, n)) * (0.35 * rim);
  gl_FragColor = vec4(colour * gl_Color.rgb, gl_Color.a);
}
