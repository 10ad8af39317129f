// Binary .3ds scenes: materials, triangle meshes, omni lights and keyframer nodes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quire::authoring {

using Vec3 = std::array<float, 3>;
using Rgb = std::array<float, 3>;  // 0..1

struct Material3ds {
  std::string name;
  Rgb ambient{0.2f, 0.2f, 0.2f}, diffuse{0.7f, 0.7f, 0.7f}, specular{0.9f, 0.9f, 0.9f};
  float shininess = 0.3f;     // 0..1
  float transparency = 0.0f;  // 0 opaque .. 1 invisible
  int shading = 3;            // 0 wire, 1 flat, 2 Gouraud, 3 Phong, 4 metal
  bool twoSided = false;
  std::string textureFile;  // bitmap name of the texture map, none when empty
};

struct FaceGroup3ds {
  std::string material;
  std::vector<uint16_t> faces;
};

struct Mesh3ds {
  std::string name;
  bool hidden = false;
  std::vector<Vec3> vertices;
  std::vector<std::array<float, 2>> uv;  // empty, or one pair per vertex
  std::vector<std::array<uint16_t, 3>> faces;
  std::vector<uint32_t> smoothing;  // empty, or one mask per face
  std::vector<FaceGroup3ds> groups;
  // Local axes X, Y, Z and origin (rows of the 4x3 matrix), in world coordinates.
  std::array<float, 12> matrix{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
};

struct Light3ds {
  std::string name;
  Vec3 position{};
  Rgb colour{1, 1, 1};
  bool off = false;
};

// Keyframer object node: one key per track, at frame 0.
struct Node3ds {
  std::string name;  // the mesh it places
  int parent = -1;   // index of the parent node in Scene3ds::nodes, -1 for none
  Vec3 pivot{};
  Vec3 position{};
  float angle = 0;  // rotation in radians about `axis`
  Vec3 axis{0, 0, 1};
  Vec3 scale{1, 1, 1};
};

struct Scene3ds {
  std::vector<Material3ds> materials;
  std::vector<Mesh3ds> meshes;
  std::vector<Light3ds> lights;
  std::vector<Node3ds> nodes;
  Rgb ambientLight{0.1f, 0.1f, 0.1f};
  uint32_t frames = 100;
};

// The file's bytes (release 3: counter-clockwise front faces). InputError for a mesh with
// 65536 vertices or faces or more, a face or group naming a missing vertex or face,
// texture coordinates or smoothing masks that do not match the counts, or a node whose
// parent does not come before it.
std::string Write3ds(const Scene3ds& scene);

}  // namespace quire::authoring
