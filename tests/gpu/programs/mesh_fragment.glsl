#version 330 compatibility
// The incoming colour, alpha included.
void main() { gl_FragColor = gl_Color; }
