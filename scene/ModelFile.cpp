#include "scene/ModelFile.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <assimp/version.h>
#include <glm/common.hpp>

#include <iostream>
#include <limits>

#include "failure/LoadFailure.h"
#include "scene/CrashGuard.h"
#include "scene/RegularFile.h"

namespace voidskirmish::scene {
namespace {

constexpr const char* CANNOT_LOAD = "Could not load model. ";

std::string naming(const std::string& path, const std::string& reason) {
  return "Could not load model file " + path + ": " + reason + "\n";
}

// The loader's own message, then a line that names the file and says why.
[[noreturn]] void cannotLoad(const std::string& path, const std::string& reason) {
  std::cout << CANNOT_LOAD << std::flush;
  throw failure::LoadFailure(failure::LoadFailure::Stream::Error, naming(path, reason), failure::LineEnd::None,
                             true);
}

// Assimp's COLLADA reader overflows the stack on a node that instances itself or on very deep nesting, and an
// empty <init_from> fails one of its assertions; neither can be refused through the import flags.
std::string importerCrashed(const std::string& path) {
  return naming(path, "the model importer (Assimp " + std::to_string(aiGetVersionMajor()) + "." +
                          std::to_string(aiGetVersionMinor()) + "." + std::to_string(aiGetVersionPatch()) +
                          ") crashed reading it");
}

bool isTriangle(const aiFace& face) { return face.mNumIndices == 3; }

std::size_t cornerCount(const aiScene& scene) {
  std::size_t count = 0;
  for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
    const aiMesh& mesh = *scene.mMeshes[m];
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      count += isTriangle(mesh.mFaces[f]) ? 3 : 0;
    }
  }
  return count;
}

glm::vec3 transformed(const glm::mat4& transform, const aiVector3D& v, float w) {
  return glm::vec3(transform * glm::vec4(v.x, v.y, v.z, w));
}

glm::vec3 transformedPoint(const glm::mat4& transform, const aiVector3D& v) { return transformed(transform, v, 1.0f); }

// Directions turn and scale with the model but must not pick up its offset: the gun's and the hull's load-time
// translations would otherwise swamp their normals and flatten their lighting. They are not renormalised; the
// shaders normalise what they light with.
glm::vec3 transformedDirection(const glm::mat4& transform, const aiVector3D& v) {
  return transformed(transform, v, 0.0f);
}

void append(std::vector<float>& to, glm::vec3 v) { to.insert(to.end(), {v.x, v.y, v.z}); }

std::optional<std::string> texturePath(const aiMaterial& material, aiTextureType type) {
  aiString path;
  if (aiGetMaterialTexture(&material, type, 0, &path) != AI_SUCCESS) {
    return std::nullopt;
  }
  return std::string(path.C_Str());
}

// A key the material lacks reads as black.
glm::vec3 colour(const aiMaterial& material, const char* key, unsigned type, unsigned index) {
  aiColor4D value(0.0f, 0.0f, 0.0f, 0.0f);
  aiGetMaterialColor(&material, key, type, index, &value);
  return {value.r, value.g, value.b};
}

ModelFile::Material readMaterial(const aiMaterial& material) {
  ModelFile::Material result;
  result.diffuseColor = colour(material, AI_MATKEY_COLOR_DIFFUSE);
  result.specularColor = colour(material, AI_MATKEY_COLOR_SPECULAR);
  result.normalMap = texturePath(material, aiTextureType_NORMALS);
  result.diffuseMap = texturePath(material, aiTextureType_DIFFUSE);
  return result;
}

void flatten(const aiScene& scene, const glm::mat4& transform, ModelFile& model) {
  const std::size_t corners = cornerCount(scene);
  for (auto* list : {&model.positions, &model.normals, &model.tangents, &model.bitangents}) {
    list->reserve(3 * corners);
  }
  model.uvs.reserve(2 * corners);
  model.indices.reserve(corners);

  glm::vec3 low(std::numeric_limits<float>::max());
  glm::vec3 high(std::numeric_limits<float>::lowest());
  const aiVector3D noNormal(1.0f, 1.0f, 1.0f);
  const aiVector3D noTangent(0.0f, 0.0f, 1.0f);
  for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
    const aiMesh& mesh = *scene.mMeshes[m];
    const bool hasTangents = mesh.HasTangentsAndBitangents();
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (!isTriangle(face)) {
        continue;  // points and lines have no surface to draw
      }
      for (unsigned c = 0; c < 3; ++c) {
        const unsigned i = face.mIndices[c];
        const glm::vec3 position = transformedPoint(transform, mesh.mVertices[i]);
        append(model.positions, position);
        low = glm::min(low, position);
        high = glm::max(high, position);
        const aiVector3D uv = mesh.HasTextureCoords(0) ? mesh.mTextureCoords[0][i] : aiVector3D();
        model.uvs.insert(model.uvs.end(), {uv.x, uv.y});
        append(model.normals, transformedDirection(transform, mesh.HasNormals() ? mesh.mNormals[i] : noNormal));
        append(model.tangents, transformedDirection(transform, hasTangents ? mesh.mTangents[i] : noTangent));
        append(model.bitangents, transformedDirection(transform, hasTangents ? mesh.mBitangents[i] : noTangent));
        model.indices.push_back(static_cast<std::uint32_t>(model.indices.size()));
      }
    }
  }
  model.minCorner = low;
  model.maxCorner = high;
}

}  // namespace

ModelFile ModelFile::read(const std::string& path, const glm::mat4& vertexTransform) {
  if (const std::optional<std::string> why = whyNotRegularFile(path)) {
    cannotLoad(path, *why);
  }
  Assimp::Importer importer;  // owns the scene until the end of this function
  const aiScene* scene = nullptr;
  {
    const CrashGuard guard(CANNOT_LOAD, importerCrashed(path));
    scene = importer.ReadFile(path, aiProcessPreset_TargetRealtime_Quality);
  }
  if (scene == nullptr) {
    cannotLoad(path, importer.GetErrorString());
  }
  ModelFile model;
  flatten(*scene, vertexTransform, model);
  if (model.indices.empty()) {
    cannotLoad(path, "no triangles");  // nothing to draw and no extents to size a bounding sphere with
  }
  for (unsigned m = 0; m < scene->mNumMaterials; ++m) {
    model.materials.push_back(readMaterial(*scene->mMaterials[m]));
  }
  return model;
}

}  // namespace voidskirmish::scene
