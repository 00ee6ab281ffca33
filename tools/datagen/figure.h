#pragma once
// The human figure: one smooth closed body sculpted as a distance field of
// blended capsules and ellipsoids hung on a skeleton, posed standing or
// kneeling, polygonised and cut into the objects the demo walks.
#include <vector>

#include "meshes.h"

namespace datagen {

// Objects in file order: torso, neck, head, then arm, hand, leg and foot of
// the left side (+x) and of the right. Material 0 is the skin, 1 the hands
// and feet. Within each object the faces run from the lowest centroid up,
// so drawing a share of them builds the figure from the ground.
std::vector<MeshObject> figureObjects(bool kneeling);

}  // namespace datagen
