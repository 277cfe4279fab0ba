#pragma once

#include <string>

namespace voidskirmish::tools {

// Where the game looks for its files, below the folder the generator writes into.
struct AssetPaths {
  std::string models;    // ".../Voidskirmish/Material/"
  std::string textures;  // models + "Textures/", the folder material texture paths are relative to
};

}  // namespace voidskirmish::tools
