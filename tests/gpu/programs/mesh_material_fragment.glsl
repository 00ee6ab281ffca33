#version 120
// The material maps the mesh routine binds: the colour map ("texture2")
// tinted by the normal map ("texture"). Version 1.20, where "texture" is
// not yet the name of a built-in function.
uniform sampler2D texture;
uniform sampler2D texture2;

void main() { gl_FragColor = texture2D(texture2, gl_TexCoord[0].xy) * texture2D(texture, gl_TexCoord[0].xy); }
