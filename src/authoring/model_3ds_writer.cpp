#include "authoring/model_3ds_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "authoring/book_writers.h"

namespace quire::authoring {
namespace {

enum : uint16_t {
  kMain = 0x4D4D,
  kVersion = 0x0002,
  kColourF = 0x0010,
  kColour24 = 0x0011,
  kPercent = 0x0030,
  kEditor = 0x3D3D,
  kMeshVersion = 0x3D3E,
  kMasterScale = 0x0100,
  kAmbientLight = 0x2100,
  kMaterial = 0xAFFF,
  kMatName = 0xA000,
  kMatAmbient = 0xA010,
  kMatDiffuse = 0xA020,
  kMatSpecular = 0xA030,
  kMatShininess = 0xA040,
  kMatShinStrength = 0xA041,
  kMatTransparency = 0xA050,
  kMatTwoSided = 0xA081,
  kMatShading = 0xA100,
  kMatTexture = 0xA200,
  kMapName = 0xA300,
  kMapTiling = 0xA351,
  kObject = 0x4000,
  kObjHidden = 0x4010,
  kTriMesh = 0x4100,
  kPoints = 0x4110,
  kFaces = 0x4120,
  kFaceMaterial = 0x4130,
  kTexVerts = 0x4140,
  kSmoothing = 0x4150,
  kMeshMatrix = 0x4160,
  kLight = 0x4600,
  kLightOff = 0x4620,
  kKeyframer = 0xB000,
  kKfHeader = 0xB00A,
  kKfSegment = 0xB008,
  kKfCurrentTime = 0xB009,
  kObjectNode = 0xB002,
  kNodeHeader = 0xB010,
  kPivot = 0xB013,
  kPositionTrack = 0xB020,
  kRotationTrack = 0xB021,
  kScaleTrack = 0xB022,
  kNodeId = 0xB030,
};

class Writer {
 public:
  void U8(uint32_t v) { out_ += static_cast<char>(v & 0xFF); }
  void U16(uint32_t v) {
    U8(v);
    U8(v >> 8);
  }
  void U32(uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void F32(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    U32(bits);
  }
  void Str(const std::string& s) {
    out_ += s;
    out_ += '\0';
  }
  // Chunk: id, then a 32-bit length covering the 6-byte head and everything inside.
  size_t Open(uint16_t id) {
    U16(id);
    const size_t at = out_.size();
    U32(0);
    return at;
  }
  void Close(size_t at) {
    const uint32_t length = uint32_t(out_.size() - at + 2);
    for (int i = 0; i < 4; ++i) out_[at + i] = static_cast<char>((length >> (8 * i)) & 0xFF);
  }
  void Colour24(uint16_t id, const Rgb& c) {
    const size_t outer = Open(id);
    const size_t inner = Open(kColour24);
    for (float v : c) U8(uint32_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)));
    Close(inner);
    Close(outer);
  }
  void ColourF(const Rgb& c) {
    const size_t at = Open(kColourF);
    for (float v : c) F32(v);
    Close(at);
  }
  void Percent(uint16_t id, float fraction) {
    const size_t outer = Open(id);
    const size_t inner = Open(kPercent);
    U16(uint32_t(std::lround(std::clamp(fraction, 0.0f, 1.0f) * 100)));
    Close(inner);
    Close(outer);
  }
  std::string& bytes() { return out_; }

 private:
  std::string out_;
};

void Fail(const std::string& what) {
  throw InputError{"3DS: " + what};
}

void Check(const Scene3ds& scene) {
  for (const Mesh3ds& mesh : scene.meshes) {
    if (mesh.vertices.size() >= 0x10000 || mesh.faces.size() >= 0x10000)
      Fail("mesh \"" + mesh.name + "\" is too large");
    for (const auto& face : mesh.faces)
      for (uint16_t v : face)
        if (v >= mesh.vertices.size()) Fail("mesh \"" + mesh.name + "\" names a missing vertex");
    if (!mesh.uv.empty() && mesh.uv.size() != mesh.vertices.size())
      Fail("mesh \"" + mesh.name + "\" needs one texture coordinate per vertex");
    if (!mesh.smoothing.empty() && mesh.smoothing.size() != mesh.faces.size())
      Fail("mesh \"" + mesh.name + "\" needs one smoothing mask per face");
    for (const auto& group : mesh.groups)
      for (uint16_t f : group.faces)
        if (f >= mesh.faces.size()) Fail("mesh \"" + mesh.name + "\" groups a missing face");
  }
  for (size_t i = 0; i < scene.nodes.size(); ++i)
    if (scene.nodes[i].parent >= int(i) || scene.nodes[i].parent < -1)
      Fail("node \"" + scene.nodes[i].name + "\" must follow its parent");
}

void WriteMaterial(Writer& w, const Material3ds& m) {
  const size_t at = w.Open(kMaterial);
  const size_t name = w.Open(kMatName);
  w.Str(m.name);
  w.Close(name);
  w.Colour24(kMatAmbient, m.ambient);
  w.Colour24(kMatDiffuse, m.diffuse);
  w.Colour24(kMatSpecular, m.specular);
  w.Percent(kMatShininess, m.shininess);
  w.Percent(kMatShinStrength, m.shininess > 0 ? 0.5f : 0.0f);
  w.Percent(kMatTransparency, m.transparency);
  if (m.twoSided) w.Close(w.Open(kMatTwoSided));
  const size_t shading = w.Open(kMatShading);
  w.U16(uint32_t(m.shading));
  w.Close(shading);
  if (!m.textureFile.empty()) {
    const size_t map = w.Open(kMatTexture);
    const size_t amount = w.Open(kPercent);
    w.U16(100);
    w.Close(amount);
    const size_t file = w.Open(kMapName);
    w.Str(m.textureFile);
    w.Close(file);
    const size_t tiling = w.Open(kMapTiling);
    w.U16(0);
    w.Close(tiling);
    w.Close(map);
  }
  w.Close(at);
}

void WriteMesh(Writer& w, const Mesh3ds& mesh) {
  const size_t object = w.Open(kObject);
  w.Str(mesh.name);
  if (mesh.hidden) w.Close(w.Open(kObjHidden));
  const size_t tri = w.Open(kTriMesh);
  const size_t points = w.Open(kPoints);
  w.U16(uint32_t(mesh.vertices.size()));
  for (const Vec3& v : mesh.vertices)
    for (float c : v) w.F32(c);
  w.Close(points);
  if (!mesh.uv.empty()) {
    const size_t uv = w.Open(kTexVerts);
    w.U16(uint32_t(mesh.uv.size()));
    for (const auto& t : mesh.uv) {
      w.F32(t[0]);
      w.F32(t[1]);
    }
    w.Close(uv);
  }
  const size_t matrix = w.Open(kMeshMatrix);
  for (float f : mesh.matrix) w.F32(f);
  w.Close(matrix);
  const size_t faces = w.Open(kFaces);
  w.U16(uint32_t(mesh.faces.size()));
  for (const auto& face : mesh.faces) {
    for (uint16_t v : face) w.U16(v);
    w.U16(0x7);  // all three edges visible
  }
  for (const FaceGroup3ds& group : mesh.groups) {
    const size_t g = w.Open(kFaceMaterial);
    w.Str(group.material);
    w.U16(uint32_t(group.faces.size()));
    for (uint16_t f : group.faces) w.U16(f);
    w.Close(g);
  }
  if (!mesh.smoothing.empty()) {
    const size_t s = w.Open(kSmoothing);
    for (uint32_t mask : mesh.smoothing) w.U32(mask);
    w.Close(s);
  }
  w.Close(faces);
  w.Close(tri);
  w.Close(object);
}

void WriteLight(Writer& w, const Light3ds& light) {
  const size_t object = w.Open(kObject);
  w.Str(light.name);
  const size_t at = w.Open(kLight);
  for (float c : light.position) w.F32(c);
  w.ColourF(light.colour);
  if (light.off) w.Close(w.Open(kLightOff));
  w.Close(at);
  w.Close(object);
}

// Track head: flags, two unused words, key count; then per key its frame and spline flags.
void TrackHead(Writer& w) {
  w.U16(0);
  w.U32(0);
  w.U32(0);
  w.U32(1);
  w.U32(0);  // frame 0
  w.U16(0);  // no tension, continuity, bias or easing values follow
}

void WriteNode(Writer& w, const Node3ds& node, size_t id) {
  const size_t at = w.Open(kObjectNode);
  const size_t nodeId = w.Open(kNodeId);
  w.U16(uint32_t(id));
  w.Close(nodeId);
  const size_t header = w.Open(kNodeHeader);
  w.Str(node.name);
  w.U16(0);  // flags
  w.U16(0);
  w.U16(node.parent < 0 ? 0xFFFF : uint32_t(node.parent));
  w.Close(header);
  const size_t pivot = w.Open(kPivot);
  for (float c : node.pivot) w.F32(c);
  w.Close(pivot);
  const size_t position = w.Open(kPositionTrack);
  TrackHead(w);
  for (float c : node.position) w.F32(c);
  w.Close(position);
  const size_t rotation = w.Open(kRotationTrack);
  TrackHead(w);
  w.F32(node.angle);
  for (float c : node.axis) w.F32(c);
  w.Close(rotation);
  const size_t scale = w.Open(kScaleTrack);
  TrackHead(w);
  for (float c : node.scale) w.F32(c);
  w.Close(scale);
  w.Close(at);
}

}  // namespace

std::string Write3ds(const Scene3ds& scene) {
  Check(scene);
  Writer w;
  const size_t main = w.Open(kMain);
  const size_t version = w.Open(kVersion);
  w.U32(3);
  w.Close(version);

  const size_t editor = w.Open(kEditor);
  const size_t meshVersion = w.Open(kMeshVersion);
  w.U32(3);
  w.Close(meshVersion);
  for (const Material3ds& m : scene.materials) WriteMaterial(w, m);
  const size_t scale = w.Open(kMasterScale);
  w.F32(1.0f);
  w.Close(scale);
  const size_t ambient = w.Open(kAmbientLight);
  w.ColourF(scene.ambientLight);
  w.Close(ambient);
  for (const Mesh3ds& mesh : scene.meshes) WriteMesh(w, mesh);
  for (const Light3ds& light : scene.lights) WriteLight(w, light);
  w.Close(editor);

  if (!scene.nodes.empty()) {
    const size_t kf = w.Open(kKeyframer);
    const size_t header = w.Open(kKfHeader);
    w.U16(5);
    w.Str("MAXSCENE");
    w.U32(scene.frames);
    w.Close(header);
    const size_t segment = w.Open(kKfSegment);
    w.U32(0);
    w.U32(scene.frames);
    w.Close(segment);
    const size_t now = w.Open(kKfCurrentTime);
    w.U32(0);
    w.Close(now);
    for (size_t i = 0; i < scene.nodes.size(); ++i) WriteNode(w, scene.nodes[i], i);
    w.Close(kf);
  }
  w.Close(main);
  return std::move(w.bytes());
}

}  // namespace quire::authoring
