#include "bench/FloorShaders.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

namespace voidskirmish {
namespace {

namespace fs = std::filesystem;

const fs::path SHADERS = "Voidskirmish/Shader";

constexpr const char* CONSTANT_COLOUR_SOURCE = R"(#version 430 core
layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 brightColor;
void main() {
  fragColor = vec4(0.5, 0.5, 0.5, 1.0);
  brightColor = vec4(0.0, 0.0, 0.0, 1.0);
}
)";

std::string oneFetchSource(const std::string& sampler, const std::string& coordinate) {
  return "#version 430 core\nin vec2 " + coordinate + ";\nuniform sampler2D " + sampler +
         ";\nlayout(location = 0) out vec4 fragColor;\nvoid main() { fragColor = texelFetch(" + sampler + ", ivec2(" +
         coordinate + " * vec2(textureSize(" + sampler + ", 0))), 0); }\n";
}

fs::path uniqueTemporary(const std::string& stem) {
  return fs::temp_directory_path() / (stem + "-" + std::to_string(::getpid()));
}

// The first two-component output of a vertex shader: the texture coordinate it hands on.
std::string firstCoordinateOf(const fs::path& vertexShader) {
  std::ifstream source(vertexShader);
  for (std::string line; std::getline(source, line);) {
    std::istringstream words(line);
    std::string qualifier, type, name;
    if (words >> qualifier >> type >> name && qualifier == "out" && type == "vec2" && name.back() == ';') {
      return name.substr(0, name.size() - 1);
    }
  }
  return "texCoord";
}

}  // namespace

std::unique_ptr<scene::ShaderProgram> oneFetchProgram(const std::string& vertexStem, const std::string& sampler) {
  const fs::path vertex = SHADERS / (vertexStem + ".vert");
  const std::string coordinate = firstCoordinateOf(vertex);
  const fs::path fragment = uniqueTemporary("voidskirmish-one-fetch-" + sampler + ".frag");
  std::ofstream(fragment) << oneFetchSource(sampler, coordinate);
  auto program = std::make_unique<scene::ShaderProgram>(vertex.string(), fragment.string());
  fs::remove(fragment);
  return program;
}

ConstantColourGameFolder::ConstantColourGameFolder() : root_(uniqueTemporary("voidskirmish-constant-colour")) {
  fs::remove_all(root_);
  const fs::path shaders = root_ / SHADERS;
  fs::create_directories(shaders);
  fs::create_directory_symlink(fs::absolute("Voidskirmish/Material"), root_ / "Voidskirmish/Material");
  for (const fs::directory_entry& entry : fs::directory_iterator(SHADERS)) {
    const fs::path name = entry.path().filename();
    if (name.extension() == ".frag") {
      std::ofstream(shaders / name) << CONSTANT_COLOUR_SOURCE;
    } else {
      fs::copy_file(entry.path(), shaders / name);
    }
  }
}

ConstantColourGameFolder::~ConstantColourGameFolder() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

}  // namespace voidskirmish
