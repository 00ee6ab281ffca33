#version 330 compatibility
// A projection pair's fragment program: the material's colour map and
// its normal map, the light's picture projected onto the surface, a
// reflection from the cube map and the ramp for the highlight.
// "texture" as a name hides the texture() function here, so the lookups
// use the older named forms.
uniform sampler2D texture;
uniform sampler2D texture2;
uniform sampler2D decal;
uniform sampler2D light;
uniform samplerCube cube;
uniform sampler1D oned;

void main() {
  vec4 colour = texture2D(texture2, gl_TexCoord[0].xy);
  vec3 bump = texture2D(texture, gl_TexCoord[0].xy).xyz * 2.0 - 1.0;
  vec3 normal = normalize(gl_TexCoord[2].xyz + bump * 0.3);
  float diffuse = max(dot(normal, normalize(gl_TexCoord[3].xyz)), 0.0);
  vec4 projected = texture2DProj(decal, gl_TexCoord[1]) * texture2DProj(light, gl_TexCoord[1]);
  float inFront = gl_TexCoord[1].q > 0.0 ? 1.0 : 0.0;
  vec4 reflection = textureCube(cube, gl_TexCoord[4].xyz);
  float highlight = texture1D(oned, diffuse).r;
  gl_FragColor = vec4(colour.rgb * (0.3 + diffuse) + projected.rgb * inFront + reflection.rgb * highlight,
                      gl_Color.a);
}
