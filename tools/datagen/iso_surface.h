#pragma once
// Closed triangle meshes from a signed distance field: marching tetrahedra
// over a regular grid, then smoothing and quadric-error decimation.
#include <array>
#include <cstddef>
#include <functional>
#include <vector>

#include "mesh_build.h"

namespace datagen::mesh {

struct TriMesh {
  std::vector<Vec> points;
  std::vector<std::array<int, 3>> tris;  // counter-clockwise seen from outside
};

// Negative inside. Growing no faster than distance lets the sampler skip
// space far from the surface.
using Field = std::function<double(Vec)>;

// The zero set of `field` in the box [low, high] sampled every `step`. Each
// grid edge's crossing is one point, so the result is welded and closed.
TriMesh polygonise(const Field& field, Vec low, Vec high, double step);

// Taubin's smoothing: `passes` pairs of a shrinking and an inflating
// Laplacian step, so the shape keeps its size.
void taubin(TriMesh& m, int passes);

// Collapses edges, cheapest first by quadric error (with a length term that
// keeps the triangles even), until at most `faces` remain. Collapses that
// would fold a triangle or pinch the surface are refused: closed and
// manifold in, closed and manifold out. With `keepBends`, so are those that
// would leave two faces meeting at a sharper angle than before (28 degrees
// being always allowed).
void decimate(TriMesh& m, std::size_t faces, bool keepBends);

// Evens the triangles out (each point moves half-way towards its
// neighbours' centroid within its tangent plane) and puts the points back
// on the field's zero set.
void relaxOnto(TriMesh& m, const Field& field, int passes);

// Cuts the faces beside every edge where the surface bends more than
// `degrees` into four (and their neighbours in two, so no crack opens), the
// new points put on the field's zero set. Returns how many faces were cut.
std::size_t refineBends(TriMesh& m, const Field& field, double degrees);

// Cuts the mesh along the borders between regions. Every point has a score
// per region and lies in the one it scores least for; where an edge's ends
// lie in different regions a point goes where their two scores tie (moved
// onto the field's zero set), and the faces are split there, so the
// borders run as smooth lines instead of along the triangles. Returns the
// region of every face.
std::vector<int> cutRegions(TriMesh& m, const Field& field, const std::vector<std::vector<double>>& score);

Vec faceNormal(const TriMesh& m, const std::array<int, 3>& t);  // not normalised

}  // namespace datagen::mesh
