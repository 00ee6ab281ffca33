#include "assets/mesh_normals.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

struct Vec {
  double x = 0, y = 0, z = 0;
};

Vec operator-(const Vec& a, const Vec& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec crossOf(const Vec& a, const Vec& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// A zero vector stays zero; anything else gets unit length.
Vec normalized(const Vec& v) {
  const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (length == 0.0 || !std::isfinite(length)) return length == 0.0 ? v : Vec{};
  return {v.x / length, v.y / length, v.z / length};
}

Vec load3(const std::vector<float>& a, std::size_t i) { return {a[3 * i], a[3 * i + 1], a[3 * i + 2]}; }
void store3(float* out, const Vec& v) {
  out[0] = float(v.x);
  out[1] = float(v.y);
  out[2] = float(v.z);
}

// Every per-vertex array sized to the vertex count, so that splitting and
// drawing can index them all alike.
void fitVertexArrays(MeshObject& o) {
  const std::size_t n = o.vertices.size() / 3;
  o.vertices.resize(3 * n);
  o.normals.resize(3 * n);
  o.binormals.resize(3 * n);
  o.tangents.resize(3 * n);
  o.texCoords.resize(2 * n);
  o.texCoordsAsRead.resize(2 * n);
}

// Faces around each vertex, compressed: faces of vertex v are
// list[offset[v] .. offset[v + 1]). A face naming one vertex twice is listed
// once for it.
struct FaceLists {
  std::vector<uint32_t> offset;
  std::vector<uint32_t> list;

  void build(const std::vector<FaceRecord>& records, std::size_t vertexCount) {
    offset.assign(vertexCount + 1, 0);
    for (const FaceRecord& f : records) {
      ++offset[f.a + 1];
      if (f.b != f.a) ++offset[f.b + 1];
      if (f.c != f.a && f.c != f.b) ++offset[f.c + 1];
    }
    for (std::size_t v = 0; v < vertexCount; ++v) offset[v + 1] += offset[v];
    list.resize(offset[vertexCount]);
    std::vector<uint32_t> fill(offset.begin(), offset.end() - 1);
    for (uint32_t i = 0; i < records.size(); ++i) {
      const FaceRecord& f = records[i];
      list[fill[f.a]++] = i;
      if (f.b != f.a) list[fill[f.b]++] = i;
      if (f.c != f.a && f.c != f.b) list[fill[f.c]++] = i;
    }
  }
};

// The smoothing words around one vertex, each with its faces, in the order
// the words are first met.
void groupByWord(const std::vector<FaceRecord>& records, const uint32_t* faces, std::size_t count,
                 std::vector<std::pair<uint32_t, uint32_t>>& scratch, std::vector<std::vector<uint32_t>>& groups) {
  groups.clear();
  // (word, position) sorted by word then position: each word's run starts at
  // its first meeting; the runs are then ordered by that first position.
  scratch.clear();
  for (std::size_t k = 0; k < count; ++k) scratch.emplace_back(records[faces[k]].smoothing, uint32_t(k));
  std::sort(scratch.begin(), scratch.end());
  std::vector<std::pair<uint32_t, std::size_t>> runs;  // first position, run start
  for (std::size_t k = 0; k < scratch.size(); ++k)
    if (k == 0 || scratch[k].first != scratch[k - 1].first) runs.emplace_back(scratch[k].second, k);
  std::sort(runs.begin(), runs.end());
  for (const auto& run : runs) {
    groups.emplace_back();
    const uint32_t word = scratch[run.second].first;
    for (std::size_t k = run.second; k < scratch.size() && scratch[k].first == word; ++k)
      groups.back().push_back(faces[scratch[k].second]);
  }
}

std::size_t countDistinctWords(const std::vector<FaceRecord>& records, const uint32_t* faces, std::size_t count,
                               std::vector<uint32_t>& scratch) {
  if (count == 0) return 1;
  scratch.clear();
  for (std::size_t k = 0; k < count; ++k) scratch.push_back(records[faces[k]].smoothing);
  std::sort(scratch.begin(), scratch.end());
  return std::size_t(std::unique(scratch.begin(), scratch.end()) - scratch.begin());
}

template <int N>
void appendCopy(std::vector<float>& array, std::size_t from) {
  for (int k = 0; k < N; ++k) array.push_back(array[N * from + k]);
}

void splitBySmoothing(MeshObject& o, FaceLists& lists) {
  const std::size_t original = o.vertices.size() / 3;
  std::vector<uint32_t> words;
  std::size_t total = 0;
  bool anySplit = false;
  for (std::size_t v = 0; v < original; ++v) {
    const std::size_t n = lists.offset[v + 1] - lists.offset[v];
    const std::size_t distinct = countDistinctWords(o.faceRecords, lists.list.data() + lists.offset[v], n, words);
    total += distinct;
    anySplit = anySplit || distinct > 1;
  }
  if (!anySplit || total > std::size_t(kMaxMeshVertices)) return;

  std::vector<std::pair<uint32_t, uint32_t>> scratch;
  std::vector<std::vector<uint32_t>> groups;
  for (std::size_t v = 0; v < original; ++v) {
    const std::size_t n = lists.offset[v + 1] - lists.offset[v];
    if (n < 2) continue;
    groupByWord(o.faceRecords, lists.list.data() + lists.offset[v], n, scratch, groups);
    for (std::size_t g = 1; g < groups.size(); ++g) {
      const uint16_t added = uint16_t(o.vertices.size() / 3);
      appendCopy<3>(o.vertices, v);
      appendCopy<3>(o.normals, v);
      appendCopy<3>(o.binormals, v);
      appendCopy<3>(o.tangents, v);
      appendCopy<2>(o.texCoords, v);
      appendCopy<2>(o.texCoordsAsRead, v);
      for (uint32_t face : groups[g]) {
        FaceRecord& f = o.faceRecords[face];
        if (f.a == v) f.a = added;
        if (f.b == v) f.b = added;
        if (f.c == v) f.c = added;
      }
    }
  }
  lists.build(o.faceRecords, o.vertices.size() / 3);
}

// Sum over the faces around vertex v of one per-face vector, normalized.
Vec faceSum(const MeshObject& o, const FaceLists& lists, std::size_t v, float (FaceRecord::*vector)[3]) {
  Vec sum;
  for (uint32_t k = lists.offset[v]; k < lists.offset[v + 1]; ++k) {
    const float* value = o.faceRecords[lists.list[k]].*vector;
    sum.x += value[0];
    sum.y += value[1];
    sum.z += value[2];
  }
  return normalized(sum);
}

}  // namespace

void computeNormals(MeshObject& o, bool smoothingGroups) {
  fitVertexArrays(o);
  const std::size_t vertexCount = o.vertices.size() / 3;
  std::erase_if(o.faceRecords,
                [&](const FaceRecord& f) { return f.a >= vertexCount || f.b >= vertexCount || f.c >= vertexCount; });

  for (FaceRecord& f : o.faceRecords) {
    const Vec a = load3(o.vertices, f.a), b = load3(o.vertices, f.b), c = load3(o.vertices, f.c);
    store3(f.normal, normalized(crossOf(b - c, b - a)));
  }

  FaceLists lists;
  lists.build(o.faceRecords, vertexCount);
  if (smoothingGroups) splitBySmoothing(o, lists);

  const std::size_t finalCount = o.vertices.size() / 3;
  for (std::size_t v = 0; v < finalCount; ++v) store3(&o.normals[3 * v], faceSum(o, lists, v, &FaceRecord::normal));

  o.faces.resize(3 * o.faceRecords.size());
  for (std::size_t i = 0; i < o.faceRecords.size(); ++i) {
    o.faces[3 * i] = o.faceRecords[i].a;
    o.faces[3 * i + 1] = o.faceRecords[i].b;
    o.faces[3 * i + 2] = o.faceRecords[i].c;
  }
}

void computeTangents(MeshObject& o) {
  fitVertexArrays(o);
  const std::size_t vertexCount = o.vertices.size() / 3;
  std::erase_if(o.faceRecords,
                [&](const FaceRecord& f) { return f.a >= vertexCount || f.b >= vertexCount || f.c >= vertexCount; });

  for (FaceRecord& f : o.faceRecords) {
    const float* ta = &o.texCoords[2 * f.a];
    const float* tb = &o.texCoords[2 * f.b];
    const float* tc = &o.texCoords[2 * f.c];
    const double du1 = double(tb[0]) - ta[0], dv1 = double(tb[1]) - ta[1];
    const double du2 = double(tc[0]) - ta[0], dv2 = double(tc[1]) - ta[1];
    for (int k = 0; k < 3; ++k) {
      const Vec e1{double(o.vertices[3 * f.b + k]) - o.vertices[3 * f.a + k], du1, dv1};
      const Vec e2{double(o.vertices[3 * f.c + k]) - o.vertices[3 * f.a + k], du2, dv2};
      const Vec q = crossOf(e1, e2);
      double tu = 0.0, tv = 0.0;
      // A mapping without area gives no direction for u or v.
      if (q.x != 0.0) {
        tu = -q.y / q.x;
        tv = -q.z / q.x;
        if (!std::isfinite(tu) || !std::isfinite(tv)) tu = tv = 0.0;
      }
      f.tangent[k] = float(tu);
      f.tangentV[k] = float(tv);
    }
  }

  FaceLists lists;
  lists.build(o.faceRecords, vertexCount);
  for (std::size_t v = 0; v < vertexCount; ++v) {
    const Vec tangent = faceSum(o, lists, v, &FaceRecord::tangent);
    store3(&o.tangents[3 * v], tangent);
    store3(&o.binormals[3 * v], normalized(crossOf(tangent, load3(o.normals, v))));
  }
}
