#include "figure.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <stdexcept>
#include <string>

#include "image.h"
#include "iso_surface.h"

namespace datagen {

using namespace mesh;

namespace {

// Rotations as rows.
struct Mat3 {
  Vec r[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};
Vec operator*(const Mat3& m, Vec v) { return {dot(m.r[0], v), dot(m.r[1], v), dot(m.r[2], v)}; }
Mat3 transposed(const Mat3& m) {
  Mat3 t;
  t.r[0] = {m.r[0].x, m.r[1].x, m.r[2].x};
  t.r[1] = {m.r[0].y, m.r[1].y, m.r[2].y};
  t.r[2] = {m.r[0].z, m.r[1].z, m.r[2].z};
  return t;
}
Mat3 operator*(const Mat3& a, const Mat3& b) {
  const Mat3 bt = transposed(b);
  Mat3 m;
  for (int i = 0; i < 3; ++i) m.r[i] = {dot(a.r[i], bt.r[0]), dot(a.r[i], bt.r[1]), dot(a.r[i], bt.r[2])};
  return m;
}
Mat3 rotation(Vec axis, double degrees) {
  const Vec k = unit(axis);
  const double a = degrees * kPi / 180, c = std::cos(a), s = std::sin(a), t = 1 - c;
  Mat3 m;
  m.r[0] = {t * k.x * k.x + c, t * k.x * k.y - s * k.z, t * k.x * k.z + s * k.y};
  m.r[1] = {t * k.x * k.y + s * k.z, t * k.y * k.y + c, t * k.y * k.z - s * k.x};
  m.r[2] = {t * k.x * k.z - s * k.y, t * k.y * k.z + s * k.x, t * k.z * k.z + c};
  return m;
}
// The least rotation taking direction a onto direction b.
Mat3 turning(Vec a, Vec b) {
  a = unit(a), b = unit(b);
  const Vec axis = cross(a, b);
  const double s = std::sqrt(dot(axis, axis));
  if (s < 1e-9) return {};
  return rotation(axis, std::atan2(s, dot(a, b)) * 180 / kPi);
}

enum Bone {
  pelvis,
  chest,
  neckBone,
  headBone,
  upperArm,  // + side * 3 for the right: upperArm, forearm, hand
  forearm,
  hand,
  thigh = 10,  // + side * 3: thigh, shin, foot
  shin,
  foot,
  boneCount = 16
};
constexpr int kParent[boneCount] = {-1, pelvis, chest,  neckBone, chest, upperArm, forearm, chest,
                                    7,  8,      pelvis, thigh,    shin,  pelvis,   13,      14};

enum Part { torso, neckPart, headPart, armPart, handPart, legPart, footPart };  // + side * 4 from armPart
constexpr int kPartCount = 11;
const char* const kPartNames[kPartCount] = {"torso",  "neck",  "head",   "arm_l", "hand_l", "leg_l",
                                            "foot_l", "arm_r", "hand_r", "leg_r", "foot_r"};
int limbBone(int bone, int side) { return bone + 3 * side; }
int limbPart(int part, int side) { return part + 4 * side; }

// Where the joints stand when the figure stands, y up, facing +z.
struct Skeleton {
  Vec pivot[boneCount], tip[boneCount];
};

struct Joints {
  Vec shoulder, elbow, wrist, fingers, hip, knee, ankle, toe;
};
Joints jointsOf(double s) {
  return {{19 * s, 143, 0}, {34 * s, 114, -2}, {47 * s, 88.5, 2}, {52.8 * s, 71.5, 4.4},
          {9.6 * s, 91, 0}, {11.6 * s, 48, 2}, {12.4 * s, 8, -1}, {13.4 * s, 2, 14}};
}

Skeleton restSkeleton() {
  Skeleton k;
  k.pivot[pelvis] = {0, 96, 0}, k.tip[pelvis] = {0, 108, 0};
  k.pivot[chest] = {0, 108, 0}, k.tip[chest] = {0, 147, 0};
  k.pivot[neckBone] = {0, 147, -1}, k.tip[neckBone] = {0, 158, 0};
  k.pivot[headBone] = {0, 158, 0}, k.tip[headBone] = {0, 176, 0};
  for (int side = 0; side < 2; ++side) {
    const Joints j = jointsOf(side ? -1 : 1);
    const Vec chain[] = {j.shoulder, j.elbow, j.wrist, j.fingers};
    for (int b = 0; b < 3; ++b) {
      k.pivot[limbBone(upperArm + b, side)] = chain[b];
      k.tip[limbBone(upperArm + b, side)] = chain[b + 1];
    }
    const Vec leg[] = {j.hip, j.knee, j.ankle, j.toe};
    for (int b = 0; b < 3; ++b) {
      k.pivot[limbBone(thigh + b, side)] = leg[b];
      k.tip[limbBone(thigh + b, side)] = leg[b + 1];
    }
  }
  return k;
}

// A pose: where the pelvis stands, and the bones aimed at world directions
// (turned about their own length by `twist` degrees). A bone not aimed
// keeps its parent's turn.
struct Aim {
  bool set = false;
  Vec direction;
  double twist = 0;
};
struct Pose {
  Vec root{0, 96, 0};
  std::array<Aim, boneCount> aim{};
};

Pose kneelingPose() {
  Pose p;
  // down on the right knee, the left foot planted in front, leaning into
  // the left thigh with the forearm over its knee, the head bowed
  p.root = {0, 52.3, -3};
  auto aim = [&](int bone, Vec d, double twist = 0) { p.aim[static_cast<std::size_t>(bone)] = {true, d, twist}; };
  aim(pelvis, {0, 1, -0.08});
  aim(chest, {0, 1, 0.22});
  aim(neckBone, {0, 1, 0.42});
  aim(headBone, {0, 1, 0.62});
  aim(limbBone(thigh, 0), {0.06, 0.02, 1});
  aim(limbBone(shin, 0), {0.02, -1, -0.06});
  aim(limbBone(foot, 0), {0.05, -0.35, 1});
  aim(limbBone(thigh, 1), {-0.04, -1, 0.2});
  aim(limbBone(shin, 1), {-0.02, 0.06, -1});
  aim(limbBone(foot, 1), {0, -0.25, -1});
  aim(limbBone(upperArm, 0), {0.22, -0.75, 0.6});
  aim(limbBone(forearm, 0), {-0.35, -0.45, 0.82});
  aim(limbBone(hand, 0), {-0.15, -0.85, 0.5}, 20);
  aim(limbBone(upperArm, 1), {-0.2, -1, 0.12});
  aim(limbBone(forearm, 1), {-0.05, -1, 0.35});
  aim(limbBone(hand, 1), {-0.05, -1, 0.2});
  return p;
}

// Each bone's turn and the offset that takes rest space to posed space:
// posed = turn * (rest - restPivot) + pivot.
struct Placed {
  Mat3 turn[boneCount], back[boneCount];
  Vec pivot[boneCount];
};
Placed place(const Skeleton& k, const Pose& pose) {
  Placed out;
  for (int b = 0; b < boneCount; ++b) {
    const int parent = kParent[b];
    const std::size_t i = static_cast<std::size_t>(b);
    if (parent < 0) {
      out.pivot[b] = pose.root;
    } else {
      out.pivot[b] = out.turn[parent] * (k.pivot[b] - k.pivot[parent]) + out.pivot[parent];
      out.turn[b] = out.turn[parent];
    }
    if (pose.aim[i].set)
      out.turn[b] =
          rotation(pose.aim[i].direction, pose.aim[i].twist) * turning(k.tip[b] - k.pivot[b], pose.aim[i].direction);
    out.back[b] = transposed(out.turn[b]);
  }
  return out;
}

double smoothMin(double a, double b, double k) {
  const double h = std::max(k - std::abs(a - b), 0.0) / k;
  return std::min(a, b) - h * h * k * 0.25;
}

// One piece of the body in rest space: a capsule whose radius runs from ra
// to rb, or an ellipsoid with its own axes; blended into what comes before
// it over `blend`, or carved out of it.
struct Piece {
  int bone = 0, part = 0;
  bool ellipsoid = false, carve = false;
  Vec a, b;  // capsule ends, or the ellipsoid's centre in a
  double ra = 0, rb = 0;
  Mat3 axes;  // the ellipsoid's axes as rows, and its radii along them
  Vec radii;
  double blend = 1;
  double floor = -1e9;  // cut flat below this height of rest space (soles)
  Vec centre;           // a ball around it, in rest space
  double reach = 0;

  double distance(Vec q) const {
    double d;
    if (ellipsoid) {
      // Quilez's estimate: the distance near the surface, a bound away from it
      const Vec l = axes * (q - a);
      const Vec s{l.x / radii.x, l.y / radii.y, l.z / radii.z};
      const Vec s2{s.x / radii.x, s.y / radii.y, s.z / radii.z};
      const double k0 = std::sqrt(dot(s, s)), k1 = std::sqrt(dot(s2, s2));
      d = k1 > 0 ? k0 * (k0 - 1) / k1 : -std::min({radii.x, radii.y, radii.z});
    } else {
      // a cone with round ends (Quilez)
      const Vec ba = b - a, pa = q - a;
      const double l2 = dot(ba, ba), rr = ra - rb, a2 = l2 - rr * rr, il2 = 1 / l2;
      const double y = dot(pa, ba), z = y - l2;
      const Vec xv = pa * l2 - ba * y;
      const double x2 = dot(xv, xv), y2 = y * y * l2, z2 = z * z * l2;
      const double k = (rr > 0 ? 1 : -1) * rr * rr * x2;
      if ((z > 0 ? 1 : -1) * a2 * z2 > k) {
        d = std::sqrt(x2 + z2) * il2 - rb;
      } else if ((y > 0 ? 1 : -1) * a2 * y2 < k) {
        d = std::sqrt(x2 + y2) * il2 - ra;
      } else {
        d = (std::sqrt(x2 * a2 * il2) + y * rr) * il2 - ra;
      }
    }
    if (floor > -1e8) d = -smoothMin(-d, q.y - floor, 1.5);
    return d;
  }
};

class Body {
 public:
  Body() : rest_(restSkeleton()) { sculpt(); }

  void pose(const Pose& p) {
    placed_ = place(rest_, p);
    centres_.clear();
    for (const Piece& piece : pieces_)
      centres_.push_back(placed_.turn[piece.bone] * (piece.centre - rest_.pivot[piece.bone]) +
                         placed_.pivot[piece.bone]);
  }

  double at(Vec p) const {
    // Pieces whose ball lies farther than the nearest ball's far side (and
    // a blend) change nothing: they are skipped, and bones are taken back
    // to rest space only when a piece needs them.
    double far = std::numeric_limits<double>::max();
    double gap[kMaxPieces];
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
      const Vec d = p - centres_[i];
      const double r = std::sqrt(dot(d, d));
      gap[i] = r - pieces_[i].reach;
      if (!pieces_[i].carve) far = std::min(far, r + pieces_[i].reach);
    }
    Vec local[boneCount];
    bool ready[boneCount] = {};
    double d = 1e9;
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
      const Piece& piece = pieces_[i];
      if (gap[i] > (piece.carve ? std::abs(d) : far) + 2 * kMaxBlend) continue;
      if (!ready[piece.bone]) {
        local[piece.bone] = placed_.back[piece.bone] * (p - placed_.pivot[piece.bone]) + rest_.pivot[piece.bone];
        ready[piece.bone] = true;
      }
      const double di = piece.distance(local[piece.bone]);
      d = piece.carve ? -smoothMin(-d, di, piece.blend) : smoothMin(d, di, piece.blend);
    }
    return d;
  }

  // p taken back to rest space by the bone of the piece of `part` nearest
  // to it: where the texture is laid out.
  Vec restOf(Vec p, int part) const {
    Vec local[boneCount];
    toRest(p, local);
    int bone = pelvis;
    double best = std::numeric_limits<double>::max();
    for (const Piece& piece : pieces_) {
      if (piece.carve || piece.part != part) continue;
      const double d = piece.distance(local[piece.bone]);
      if (d < best) best = d, bone = piece.bone;
    }
    return local[bone];
  }
  // The posed pieces' balls: the box the body lies in.
  void bounds(Vec& low, Vec& high) const {
    low = Vec{1e9, 1e9, 1e9}, high = Vec{-1e9, -1e9, -1e9};
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
      const Vec c = centres_[i], r{pieces_[i].reach, pieces_[i].reach, pieces_[i].reach};
      low = Vec{std::min(low.x, c.x - r.x), std::min(low.y, c.y - r.y), std::min(low.z, c.z - r.z)};
      high = Vec{std::max(high.x, c.x + r.x), std::max(high.y, c.y + r.y), std::max(high.z, c.z + r.z)};
    }
  }
  // How far p lies from each part's nearest piece.
  std::vector<double> partDistances(Vec p) const {
    Vec local[boneCount];
    toRest(p, local);
    std::vector<double> d(kPartCount, std::numeric_limits<double>::max());
    for (const Piece& piece : pieces_)
      if (!piece.carve) {
        double& best = d[static_cast<std::size_t>(piece.part)];
        best = std::min(best, piece.distance(local[piece.bone]));
      }
    return d;
  }
  const Skeleton& rest() const { return rest_; }

 private:
  void toRest(Vec p, Vec* local) const {
    for (int b = 0; b < boneCount; ++b) local[b] = placed_.back[b] * (p - placed_.pivot[b]) + rest_.pivot[b];
  }

  Piece& add(int bone, int part, double blend) {
    if (pieces_.size() == kMaxPieces || blend > kMaxBlend) throw std::logic_error("figure: piece table");
    pieces_.emplace_back();
    Piece& p = pieces_.back();
    p.bone = bone, p.part = part, p.blend = blend;
    return p;
  }
  void cone(int bone, int part, Vec a, Vec b, double ra, double rb, double blend) {
    Piece& p = add(bone, part, blend);
    p.a = a, p.b = b, p.ra = ra, p.rb = rb;
    p.centre = lerp(a, b, 0.5);
    p.reach = std::sqrt(dot(b - a, b - a)) / 2 + std::max(ra, rb);
  }
  // An ellipsoid with radius `along` on `axis`, `front` on the part of
  // `frontHint` square to it, and `side` on the third axis.
  Piece& blob(int bone, int part, Vec centre, Vec axis, double along, double front, double side, double blend,
              Vec frontHint = {0, 0, 1}) {
    Piece& p = add(bone, part, blend);
    p.ellipsoid = true;
    p.a = centre;
    const Vec e1 = unit(axis), e2 = unit(frontHint - e1 * dot(frontHint, e1));
    p.axes.r[0] = e1, p.axes.r[1] = e2, p.axes.r[2] = cross(e1, e2);
    p.radii = {along, front, side};
    p.centre = centre;
    p.reach = std::max({along, front, side});
    return p;
  }
  // An upright ellipsoid: half-widths across (x), up (y) and deep (z).
  Piece& box(int bone, int part, Vec centre, double x, double y, double z, double blend) {
    return blob(bone, part, centre, {0, 1, 0}, y, z, x, blend);
  }
  void carve(int bone, int part, Vec centre, double r, double blend) {
    Piece& p = box(bone, part, centre, r, r, r, blend);
    p.carve = true;
  }

  void sculpt();

  static constexpr std::size_t kMaxPieces = 128;
  static constexpr double kMaxBlend = 5;

  Skeleton rest_;
  Placed placed_;
  std::vector<Piece> pieces_;
  std::vector<Vec> centres_;  // posed
};

void Body::sculpt() {
  // trunk: pelvis, belly and chest, broad back, shoulders
  box(pelvis, torso, {0, 95, -0.5}, 14.4, 10.5, 9.5, 1);
  box(pelvis, torso, {0, 101, 2.2}, 13.2, 7, 8.6, 4);
  for (double s : {1.0, -1.0}) box(pelvis, torso, {6.4 * s, 89.5, -5}, 7.2, 8.6, 6.4, 3);
  box(pelvis, torso, {0, 87, 4.0}, 4.5, 4.5, 2.6, 3);
  box(chest, torso, {0, 112, 0.8}, 14.2, 13, 9.3, 5);
  box(chest, torso, {0, 127.5, 0}, 15.8, 15.5, 10, 5);
  box(chest, torso, {0, 131, -2.6}, 16.8, 11.5, 8.2, 4);
  box(chest, torso, {0, 138, 0}, 16.6, 8, 8.6, 5);
  for (double s : {1.0, -1.0}) {
    box(chest, torso, {7 * s, 133, 5.2}, 7.5, 5.5, 3.2, 3);
    cone(chest, torso, {0, 153, -2.8}, {15 * s, 146.5, -1.5}, 4.4, 3.4, 4);
  }
  cone(neckBone, neckPart, {0, 145, -1.5}, {0, 160, -0.5}, 6.5, 5.5, 3);

  // head: skull, face and jaw, brow, cheekbones, nose, lips, chin, ears,
  // eye sockets with the eyes in them
  box(headBone, headPart, {0, 168.6, -1}, 8.2, 10.4, 9.8, 3);
  box(headBone, headPart, {0, 162, 2.2}, 6.5, 7.8, 7.2, 3);
  box(headBone, headPart, {0, 155.9, 7.2}, 2.6, 2.0, 2.3, 2);
  box(headBone, headPart, {0, 168.6, 5.8}, 6.2, 1.7, 3.6, 2);
  for (double s : {1.0, -1.0}) {
    cone(headBone, headPart, {5.9 * s, 160.5, 0.2}, {2.2 * s, 155.6, 5.8}, 1.8, 2.0, 2);
    box(headBone, headPart, {5 * s, 164.5, 5.8}, 2.0, 1.4, 1.8, 1.5);
    blob(headBone, headPart, {8.2 * s, 165, -0.6}, {0, 1, 0.15}, 2.9, 1.7, 1.0, 1);
    box(headBone, headPart, {1.4 * s, 162, 9.5}, 1.0, 0.8, 0.9, 0.8);
  }
  cone(headBone, headPart, {0, 167, 9.2}, {0, 162.7, 11.2}, 0.8, 1.1, 1);
  box(headBone, headPart, {0, 159.3, 8.9}, 2.4, 1.3, 0.9, 1.2);
  for (double s : {1.0, -1.0}) carve(headBone, headPart, {3.3 * s, 166.5, 9.0}, 1.8, 1);
  for (double s : {1.0, -1.0}) box(headBone, headPart, {3.3 * s, 166.4, 7.0}, 1.2, 1.2, 1.2, 0.5);

  for (int side = 0; side < 2; ++side) {
    const double s = side ? -1 : 1;
    const Joints j = jointsOf(s);
    const int arm = limbPart(armPart, side), palm = limbPart(handPart, side);
    const int leg = limbPart(legPart, side), sole = limbPart(footPart, side);
    const int ua = limbBone(upperArm, side), fa = limbBone(forearm, side), hb = limbBone(hand, side);
    const int th = limbBone(thigh, side), sh = limbBone(shin, side), ft = limbBone(foot, side);

    // arm: deltoid, upper arm with biceps and triceps, forearm
    const Vec up = unit(j.elbow - j.shoulder), fore = unit(j.wrist - j.elbow);
    blob(ua, arm, j.shoulder + up * 3 + Vec{1.0 * s, 0, 0.2}, up, 8, 6, 5.6, 3);
    cone(ua, arm, j.shoulder, j.elbow, 5.3, 3.7, 3);
    blob(ua, arm, lerp(j.shoulder, j.elbow, 0.5) + Vec{0, 0, 1.4}, up, 8, 3.7, 3.9, 2);
    blob(ua, arm, lerp(j.shoulder, j.elbow, 0.38) + Vec{0, 0, -1.5}, up, 9, 3.7, 4.1, 2);
    cone(fa, arm, j.elbow, j.wrist, 3.7, 2.5, 2);
    blob(fa, arm, lerp(j.elbow, j.wrist, 0.3) + Vec{0.3 * s, 0, 0}, fore, 8.5, 4.1, 3.6, 2.5);

    // hand: palm towards the thigh, four fingers side by side, the thumb in
    // front
    const Vec d = unit(j.fingers - j.wrist);
    const Vec inward{-0.3 * s, 0, 0.95};  // palms turned forward, thumbs out
    const Vec n = unit(inward - d * dot(inward, d));
    const Vec w = cross(n, d) * s;
    blob(hb, palm, j.wrist + d * 4.8 - n * 0.2, d, 4.8, 4.0, 1.6, 2, w);
    // the fingers held together, a little curled in
    const double offset[4] = {2.5, 0.85, -0.85, -2.4}, reach[4] = {7.0, 7.8, 7.3, 5.8};
    for (int f = 0; f < 4; ++f)
      cone(hb, palm, j.wrist + d * 8.4 + w * offset[f],
           j.wrist + d * (8.4 + reach[f]) + n * 0.9 + w * (offset[f] * 1.05), 1.0, 0.85, 1.5);
    blob(hb, palm, j.wrist + d * 3.8 + w * 2.3 + n * 0.9, d, 3, 1.8, 1.4, 1.5, w);
    cone(hb, palm, j.wrist + d * 2.2 + w * 2.6 + n * 0.6, j.wrist + d * 7.6 + w * 4.4 + n * 1.6, 1.45, 1.0, 1.2);

    // leg: thigh with its muscles, knee and kneecap, shin and calf
    const Vec down = unit(j.knee - j.hip), lower = unit(j.ankle - j.knee);
    cone(th, leg, j.hip, j.knee, 8.4, 5.0, 4);
    blob(th, leg, lerp(j.hip, j.knee, 0.42) + Vec{0.8 * s, 0, 2.0}, down, 15, 6.5, 6.3, 3);
    blob(th, leg, lerp(j.hip, j.knee, 0.45) + Vec{0, 0, -2.0}, down, 15, 5.8, 5.6, 3);
    blob(th, leg, lerp(j.hip, j.knee, 0.25) + Vec{-2.2 * s, 0, 0.3}, down, 11, 5, 5, 3);
    box(sh, leg, j.knee + Vec{0, 1, 0.6}, 4.6, 5, 4.6, 2);
    box(sh, leg, j.knee + Vec{0, 1.5, 3.6}, 2.3, 2.6, 1.6, 1.5);
    cone(sh, leg, j.knee, j.ankle, 4.5, 2.7, 2);
    blob(sh, leg, lerp(j.knee, j.ankle, 0.27) + Vec{0.3 * s, 0, -2.4}, lower, 10, 4.6, 4.8, 3);
    cone(sh, leg, j.ankle + Vec{0, 12, -2.5}, j.ankle + Vec{0, -3, -3.5}, 1.4, 1.5, 2);

    // foot: heel, arch and the ball with the toes, the sole cut flat
    const double ground = -0.3;
    box(ft, sole, j.ankle + Vec{0, -5.1, -2.8}, 2.8, 3.4, 3.2, 2).floor = ground;
    box(ft, sole, j.ankle + Vec{0.5 * s, -5.3, 5}, 3.6, 2.9, 8, 2).floor = ground;
    box(ft, sole, j.ankle + Vec{1 * s, -6.5, 12.8}, 4.2, 1.9, 4.0, 1.5).floor = ground;
  }
}

// Where each object's texture wraps: around an axis from `origin` along
// `along`, the seam opposite `front`, `around` repeats of the picture
// round it and one every kRepeat along it.
struct Wrap {
  Vec origin, along, front;
  int around;
};
constexpr double kRepeat = 45.0;

Wrap wrapOf(int part, const Skeleton& k) {
  const int side = part >= armPart + 4 ? 1 : 0;
  const double s = side ? -1 : 1;
  const Joints j = jointsOf(s);
  switch (part - (part >= armPart ? 4 * side : 0)) {
    case torso:
      return {{0, 80, 0}, {0, 1, 0}, {0, 0, 1}, 2};
    case neckPart:
      return {{0, 140, 0}, {0, 1, 0}, {0, 0, 1}, 1};
    case headPart:
      return {k.pivot[headBone] - Vec{0, 6, 0}, {0, 1, 0}, {0, 0, 1}, 1};
    case armPart:  // seams on the side towards the body
      return {j.shoulder, unit(j.wrist - j.shoulder), {s, 0, 0}, 1};
    case handPart:
      return {j.wrist, unit(j.fingers - j.wrist), {s, 0, 0}, 1};
    case legPart:
      return {j.hip, unit(j.ankle - j.hip), {s, 0, 0}, 1};
    default:  // foot: the seam runs along the sole
      return {j.ankle + Vec{0, -5, -6}, unit(j.toe - j.ankle + Vec{0, 5, 6}), {0, 1, 0}, 1};
  }
}

std::array<float, 2> wrapped(const Wrap& w, Vec rest) {
  const Vec q = rest - w.origin;
  const double along = dot(q, w.along);
  const Vec f = unit(w.front - w.along * dot(w.front, w.along));
  const Vec g = cross(w.along, f);
  const double phi = std::atan2(dot(q, g), dot(q, f));  // 0 in front, +-pi at the seam
  return {static_cast<float>(w.around * (phi / (2 * kPi) + 0.5)), static_cast<float>(along / kRepeat)};
}

MeshObject objectOf(const TriMesh& m, const Body& body, const std::vector<int>& part, int which) {
  MeshObject o;
  o.name = kPartNames[which];
  const int material = which >= armPart && (which - armPart) % 2 == 1 ? 1 : 0;  // hands and feet
  const Wrap wrap = wrapOf(which, body.rest());
  std::vector<std::size_t> faces;
  for (std::size_t f = 0; f < m.tris.size(); ++f)
    if (part[f] == which) faces.push_back(f);
  // heights as the file stores them, so that its order is the order seen
  auto centreY = [&](std::size_t f) {
    double y = 0;
    for (int k : m.tris[f]) y += static_cast<float>(m.points[static_cast<std::size_t>(k)].y);
    return y;
  };
  std::stable_sort(faces.begin(), faces.end(), [&](std::size_t a, std::size_t b) { return centreY(a) < centreY(b); });

  // A vertex is copied once more where the texture's seam passes it.
  std::map<std::pair<int, bool>, std::uint16_t> local;
  std::map<int, std::array<float, 2>> uvAt;
  for (std::size_t f : faces) {
    const auto& t = m.tris[f];
    std::array<float, 2> uv[3];
    for (int k = 0; k < 3; ++k) {
      const int v = t[static_cast<std::size_t>(k)];
      auto found = uvAt.find(v);
      if (found == uvAt.end())
        found = uvAt.emplace(v, wrapped(wrap, body.restOf(m.points[static_cast<std::size_t>(v)], which))).first;
      uv[k] = found->second;
    }
    const float lo = std::min({uv[0][0], uv[1][0], uv[2][0]}), hi = std::max({uv[0][0], uv[1][0], uv[2][0]});
    const bool seam = hi - lo > wrap.around * 0.5f;
    std::uint16_t idx[3];
    for (int k = 0; k < 3; ++k) {
      const bool shifted = seam && uv[k][0] < wrap.around * 0.5f;
      const auto key = std::make_pair(t[static_cast<std::size_t>(k)], shifted);
      auto found = local.find(key);
      if (found == local.end()) {
        found = local.emplace(key, static_cast<std::uint16_t>(o.vertices.size())).first;
        const Vec p = m.points[static_cast<std::size_t>(key.first)];
        o.vertices.push_back({static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)});
        o.uvs.push_back({uv[k][0] + (shifted ? static_cast<float>(wrap.around) : 0.0f), uv[k][1]});
      }
      idx[k] = found->second;
    }
    o.faces.push_back({idx[0], idx[1], idx[2], 1, material});
  }
  return o;
}

}  // namespace

std::vector<MeshObject> figureObjects(bool kneeling) {
  Body body;
  body.pose(kneeling ? kneelingPose() : Pose{});
  const Field field = [&body](Vec p) { return body.at(p); };
  Vec low, high;
  body.bounds(low, high);
  // Sampled on a grid wider than a finger and decimated to even triangles;
  // then cut finer where the surface bends sharply and decimated again,
  // keeping those bends, so that the faces go where the curvature is.
  TriMesh m = polygonise(field, low - Vec{2, 2, 2}, high + Vec{2, 2, 2}, 1.25);
  taubin(m, 2);
  decimate(m, 12000, false);
  relaxOnto(m, field, 2);
  for (int round = 0; round < 2; ++round) {
    refineBends(m, field, 30);
    relaxOnto(m, field, 2);
  }
  decimate(m, 12800, true);
  relaxOnto(m, field, 1);
  std::vector<std::vector<double>> score;
  for (const Vec& p : m.points) score.push_back(body.partDistances(p));
  const std::vector<int> part = cutRegions(m, field, score);
  std::vector<MeshObject> objects;
  for (int p = 0; p < kPartCount; ++p) objects.push_back(objectOf(m, body, part, p));
  return objects;
}

}  // namespace datagen
