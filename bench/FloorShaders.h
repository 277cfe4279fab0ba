#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "scene/ShaderProgram.h"

namespace voidskirmish {

// The floor of a full-window pass: the pass's own vertex shader with a fragment shader that reads a single
// texel of the sampler the pass sets ("image", "color_texture", "scene"), at the first texture coordinate
// that vertex shader hands on.
std::unique_ptr<scene::ShaderProgram> oneFetchProgram(const std::string& vertexStem, const std::string& sampler);

// The floor of the scene and contour passes: a copy of the game's run-time folder in which every program keeps
// its vertex shader but colours each fragment with a constant, written to both outputs. A game built while
// working in root() draws the very same geometry with the cheapest fragment work there is. Removed with the
// object.
class ConstantColourGameFolder {
 public:
  ConstantColourGameFolder();
  ~ConstantColourGameFolder();
  ConstantColourGameFolder(const ConstantColourGameFolder&) = delete;
  ConstantColourGameFolder& operator=(const ConstantColourGameFolder&) = delete;

  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path root_;
};

}  // namespace voidskirmish
