#include "ModelWriter.h"

#include <fstream>
#include <memory>
#include <stdexcept>

#include <assimp/Exporter.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>

#include "MeshBuilder.h"

namespace voidskirmish::tools {
namespace {

constexpr const char* fixedTimestamp = "2024-01-01T00:00:00";

std::unique_ptr<aiMaterial> makeMaterial(const MaterialDescription& description) {
  auto material = std::make_unique<aiMaterial>();
  const aiString name(description.name);
  material->AddProperty(&name, AI_MATKEY_NAME);
  const aiColor3D diffuse(description.diffuse.r, description.diffuse.g, description.diffuse.b);
  const aiColor3D specular(description.specular.r, description.specular.g, description.specular.b);
  material->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
  material->AddProperty(&specular, 1, AI_MATKEY_COLOR_SPECULAR);
  material->AddProperty(&description.shininess, 1, AI_MATKEY_SHININESS);
  if (!description.diffuseTexture.empty()) {
    const aiString path(description.diffuseTexture);
    material->AddProperty(&path, AI_MATKEY_TEXTURE_DIFFUSE(0));
  }
  if (!description.normalTexture.empty()) {
    const aiString path(description.normalTexture);
    material->AddProperty(&path, AI_MATKEY_TEXTURE_NORMALS(0));
  }
  return material;
}

std::string withFixedTimestamps(std::string xml) {
  for (const std::string tag : {"created", "modified"}) {
    const std::string open = "<" + tag + ">";
    const std::string close = "</" + tag + ">";
    for (auto start = xml.find(open); start != std::string::npos; start = xml.find(open, start + 1)) {
      const auto valueStart = start + open.size();
      const auto valueEnd = xml.find(close, valueStart);
      if (valueEnd == std::string::npos) {
        break;
      }
      xml.replace(valueStart, valueEnd - valueStart, fixedTimestamp);
    }
  }
  return xml;
}

}  // namespace

void writeModel(const std::string& path, const std::string& name, const MeshBuilder& mesh, bool withUvs,
                const MaterialDescription& material) {
  aiScene scene;
  scene.mNumMeshes = 1;
  scene.mMeshes = new aiMesh* [1] { mesh.toAiMesh(withUvs, 0).release() };
  scene.mMeshes[0]->mName = aiString(name);
  scene.mNumMaterials = 1;
  scene.mMaterials = new aiMaterial* [1] { makeMaterial(material).release() };
  scene.mRootNode = new aiNode(name);
  scene.mRootNode->mNumMeshes = 1;
  scene.mRootNode->mMeshes = new unsigned[1]{0};

  Assimp::Exporter exporter;
  const aiExportDataBlob* blob = exporter.ExportToBlob(&scene, "collada");
  if (blob == nullptr) {
    throw std::runtime_error("Could not export " + path + ": " + exporter.GetErrorString());
  }
  const std::string xml(static_cast<const char*>(blob->data), blob->size);
  std::ofstream file(path, std::ios::binary);
  file << withFixedTimestamps(xml);
  if (!file) {
    throw std::runtime_error("Could not write " + path);
  }
}

}  // namespace voidskirmish::tools
