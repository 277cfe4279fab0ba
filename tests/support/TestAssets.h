#pragma once

// Models and pictures the tests write themselves (COLLADA through Assimp, images through FreeImage) into a
// temporary folder that goes away with the test.

#include <FreeImage.h>
#include <assimp/Exporter.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scene/Texture.h"

namespace voidskirmish::testing {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "voidskirmish-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() { std::filesystem::remove_all(path_); }

  std::string file(const std::string& name) const { return (path_ / name).string(); }
  // The file's name relative to the texture folder, as a material stores it.
  std::string textureName(const std::string& name) const {
    return std::filesystem::relative(path_ / name, std::filesystem::absolute(scene::TEXTURE_FOLDER)).string();
  }

 private:
  std::filesystem::path path_;
};

struct Vertex {
  aiVector3D position;
  std::optional<aiVector3D> uv;
};

// One mesh; each face is 1, 2 or 3 indices into the vertices.
inline aiMesh* makeMesh(const std::vector<Vertex>& vertices, const std::vector<std::vector<unsigned>>& faces) {
  auto* mesh = new aiMesh;
  mesh->mNumVertices = static_cast<unsigned>(vertices.size());
  mesh->mVertices = new aiVector3D[vertices.size()];
  const bool withUvs = vertices.front().uv.has_value();
  if (withUvs) {
    mesh->mTextureCoords[0] = new aiVector3D[vertices.size()];
    mesh->mNumUVComponents[0] = 2;
  }
  for (size_t i = 0; i < vertices.size(); ++i) {
    mesh->mVertices[i] = vertices[i].position;
    if (withUvs) {
      mesh->mTextureCoords[0][i] = *vertices[i].uv;
    }
  }
  mesh->mNumFaces = static_cast<unsigned>(faces.size());
  mesh->mFaces = new aiFace[faces.size()];
  for (size_t f = 0; f < faces.size(); ++f) {
    mesh->mFaces[f].mNumIndices = static_cast<unsigned>(faces[f].size());
    mesh->mFaces[f].mIndices = new unsigned[faces[f].size()];
    std::copy(faces[f].begin(), faces[f].end(), mesh->mFaces[f].mIndices);
    const aiPrimitiveType types[] = {aiPrimitiveType_POINT, aiPrimitiveType_LINE, aiPrimitiveType_TRIANGLE};
    mesh->mPrimitiveTypes |= types[faces[f].size() - 1];
  }
  return mesh;
}

// A square of side 2 × half in the plane z, facing +Z, uv (0, 0) at its lower left corner.
inline aiMesh* makeQuad(float half, float z = 0.0f, bool withUvs = true) {
  auto corner = [&](float x, float y) {
    return Vertex{{x * half, y * half, z}, withUvs ? std::optional(aiVector3D((x + 1) / 2, (y + 1) / 2, 0)) : std::nullopt};
  };
  return makeMesh({corner(-1, -1), corner(1, -1), corner(1, 1), corner(-1, 1)}, {{0, 1, 2}, {0, 2, 3}});
}

// A zig-zag strip of non-degenerate triangles along +X.
inline aiMesh* makeStrip(unsigned triangles, float y = 0.0f) {
  std::vector<Vertex> vertices;
  std::vector<std::vector<unsigned>> faces;
  for (unsigned i = 0; i < triangles + 2; ++i) {
    vertices.push_back({{static_cast<float>(i), y + static_cast<float>(i % 2), 0.0f}, aiVector3D(i % 2, i % 3, 0)});
  }
  for (unsigned i = 0; i < triangles; ++i) {
    faces.push_back(i % 2 == 0 ? std::vector<unsigned>{i, i + 1, i + 2} : std::vector<unsigned>{i + 1, i, i + 2});
  }
  return makeMesh(vertices, faces);
}

struct MaterialSpec {
  aiColor3D diffuse{1.0f, 1.0f, 1.0f};
  aiColor3D specular{0.0f, 0.0f, 0.0f};
  std::string diffuseMap;  // empty: none
  std::string normalMap;   // empty: none
};

// Writes the meshes (all on the root node) and materials as a COLLADA file; the scene takes ownership.
inline void writeModel(const std::string& path, const std::vector<aiMesh*>& meshes,
                       const std::vector<MaterialSpec>& materials = {MaterialSpec{}}) {
  aiScene scene;
  scene.mRootNode = new aiNode("root");
  scene.mNumMeshes = scene.mRootNode->mNumMeshes = static_cast<unsigned>(meshes.size());
  scene.mMeshes = new aiMesh*[meshes.size()];
  scene.mRootNode->mMeshes = new unsigned[meshes.size()];
  for (unsigned i = 0; i < scene.mNumMeshes; ++i) {
    scene.mMeshes[i] = meshes[i];
    scene.mRootNode->mMeshes[i] = i;
  }
  scene.mNumMaterials = static_cast<unsigned>(materials.size());
  scene.mMaterials = new aiMaterial*[materials.size()];
  for (unsigned i = 0; i < scene.mNumMaterials; ++i) {
    const MaterialSpec& spec = materials[i];
    auto* material = scene.mMaterials[i] = new aiMaterial;
    const aiString name("material");
    material->AddProperty(&name, AI_MATKEY_NAME);
    material->AddProperty(&spec.diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
    material->AddProperty(&spec.specular, 1, AI_MATKEY_COLOR_SPECULAR);
    if (!spec.diffuseMap.empty()) {
      const aiString map(spec.diffuseMap);
      material->AddProperty(&map, AI_MATKEY_TEXTURE_DIFFUSE(0));
    }
    if (!spec.normalMap.empty()) {
      const aiString map(spec.normalMap);
      material->AddProperty(&map, AI_MATKEY_TEXTURE_NORMALS(0));
    }
  }
  Assimp::Exporter exporter;
  if (exporter.Export(&scene, "collada", path) != AI_SUCCESS) {
    throw std::runtime_error("could not write " + path + ": " + exporter.GetErrorString());
  }
}

inline RGBQUAD rgba(BYTE red, BYTE green, BYTE blue, BYTE alpha = 255) {
  RGBQUAD colour{};
  colour.rgbRed = red, colour.rgbGreen = green, colour.rgbBlue = blue, colour.rgbReserved = alpha;
  return colour;
}

// An 8-bit-per-channel picture whose pixel (x, y), y counted from the bottom row, is colour(x, y).
inline void writeImage(const std::string& path, FREE_IMAGE_FORMAT format, int width, int height, int bitsPerPixel,
                       const std::function<RGBQUAD(int, int)>& colour) {
  std::unique_ptr<FIBITMAP, decltype(&FreeImage_Unload)> image(FreeImage_Allocate(width, height, bitsPerPixel),
                                                               &FreeImage_Unload);
  for (int y = 0; y < height; ++y) {
    BYTE* row = FreeImage_GetScanLine(image.get(), y);
    for (int x = 0; x < width; ++x) {
      const RGBQUAD c = colour(x, y);
      const BYTE channels[] = {c.rgbRed, c.rgbGreen, c.rgbBlue, c.rgbReserved};
      if (bitsPerPixel == 8) {
        row[x] = c.rgbRed;  // a new 8-bit picture has a grey palette
        continue;
      }
      BYTE* pixel = row + x * bitsPerPixel / 8;
      const int offsets[] = {FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE, FI_RGBA_ALPHA};
      for (int k = 0; k < bitsPerPixel / 8; ++k) {
        pixel[offsets[k]] = channels[k];
      }
    }
  }
  if (!FreeImage_Save(format, image.get(), path.c_str(), 0)) {
    throw std::runtime_error("could not write " + path);
  }
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace voidskirmish::testing
