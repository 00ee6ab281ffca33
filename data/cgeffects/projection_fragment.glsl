// Shared by the projection fragment programs, which include it after their
// samplers: the helpers they all light with.
// The night sky the rims reflect: the fog's blue overhead (the world is
// z-up), darker towards the ground. Written here rather than read from a
// "cube" picture: the scene code binds none.
vec3 sky(vec3 direction) {
  return mix(vec3(0.02, 0.03, 0.08), vec3(0.2, 0.3, 0.65), clamp(direction.z * 0.5 + 0.5, 0.0, 1.0));
}

// The highlight's falloff, steeper than the raw term so it reads as a
// narrow sheen (a ramp picture would do this; the scene code binds none).
vec3 highlight(float x) { return vec3(x * x * (3.0 - 2.0 * x)); }

// The grain perpendicular to the normal; any perpendicular where the mesh
// gave none.
vec3 grainOf(vec3 n, vec3 t) {
  t -= n * dot(n, t);
  if (dot(t, t) < 1e-8) t = cross(n, abs(n.z) < 0.9 ? vec3(0.0, 0.0, 1.0) : vec3(1.0, 0.0, 0.0));
  return normalize(t);
}

// Highlights raise sin(angle) to powers of two by squaring its square:
// pow() costs a logarithm and an exponential per fragment, the highlight
// the better part of a millisecond a frame on a software rasteriser.
float squared(float x) { return x * x; }
