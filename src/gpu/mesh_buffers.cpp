#include "gpu/mesh_buffers.h"

#include "gpu/gl_entry_points.h"

namespace {

template <typename T>
std::size_t bytes(const std::vector<T>& array) {
  return array.size() * sizeof(T);
}

ObjectBuffers upload(const MeshObject& object) {
  auto& gl = glExtensionTable;
  ObjectBuffers out;
  GLuint names[2] = {0, 0};
  gl.glGenBuffers(2, names);
  if (names[0] == 0 || names[1] == 0) {
    if (names[0] != 0 || names[1] != 0) gl.glDeleteBuffers(2, names);
    return out;
  }
  out.vertexBuffer = names[0];
  out.indexBuffer = names[1];
  out.normalOffset = bytes(object.vertices);
  out.tangentOffset = out.normalOffset + bytes(object.normals);
  out.texCoordOffset = out.tangentOffset + bytes(object.tangents);
  const std::size_t total = out.texCoordOffset + bytes(object.texCoords);

  gl.glBindBuffer(GL_ARRAY_BUFFER, out.vertexBuffer);
  gl.glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(total), nullptr, GL_STATIC_DRAW);
  gl.glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(bytes(object.vertices)), object.vertices.data());
  gl.glBufferSubData(GL_ARRAY_BUFFER, GLintptr(out.normalOffset), GLsizeiptr(bytes(object.normals)),
                     object.normals.data());
  gl.glBufferSubData(GL_ARRAY_BUFFER, GLintptr(out.tangentOffset), GLsizeiptr(bytes(object.tangents)),
                     object.tangents.data());
  gl.glBufferSubData(GL_ARRAY_BUFFER, GLintptr(out.texCoordOffset), GLsizeiptr(bytes(object.texCoords)),
                     object.texCoords.data());
  gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, out.indexBuffer);
  gl.glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(bytes(object.faces)), object.faces.data(), GL_STATIC_DRAW);
  return out;
}

}  // namespace

void uploadSceneBuffers(const MeshScene& scene, SceneBuffers& buffers) {
  releaseSceneBuffers(buffers);
  if (scene.objects.empty()) return;
  // Everything else in the demo draws from client memory and expects no
  // buffer bound; the bindings are put back as they were.
  GLint arrayBinding = 0, elementBinding = 0;
  glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBinding);
  glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBinding);
  for (const MeshObject& object : scene.objects) {
    ObjectBuffers made = objectArraysComplete(object) ? upload(object) : ObjectBuffers{};
    // Without buffer objects (or for an object that cannot be drawn safely)
    // the whole scene keeps to one source: client memory.
    if (made.vertexBuffer == 0 && objectArraysComplete(object)) {
      buffers.objects.push_back(made);
      releaseSceneBuffers(buffers);
      break;
    }
    buffers.objects.push_back(made);
  }
  glExtensionTable.glBindBuffer(GL_ARRAY_BUFFER, GLuint(arrayBinding));
  glExtensionTable.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, GLuint(elementBinding));
}

void releaseSceneBuffers(SceneBuffers& buffers) {
  for (const ObjectBuffers& object : buffers.objects) {
    const GLuint names[2] = {object.vertexBuffer, object.indexBuffer};
    if (names[0] != 0 || names[1] != 0) glExtensionTable.glDeleteBuffers(2, names);
  }
  buffers.objects.clear();
}

bool objectArraysComplete(const MeshObject& object) {
  const std::size_t n = object.vertices.size() / 3;
  return object.vertices.size() == 3 * n && object.normals.size() >= 3 * n && object.tangents.size() >= 3 * n &&
         object.texCoords.size() >= 2 * n && object.faces.size() % 3 == 0;
}
