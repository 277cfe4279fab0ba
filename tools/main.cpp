// Generates every model and picture the game reads from Voidskirmish/Material/ and every sound in
// Voidskirmish/Sound/. The output is the
// same to the byte on every run, so the committed files can be checked against a fresh run.
#include <filesystem>
#include <iostream>

#include "AssetPaths.h"
#include "Asteroid.h"
#include "BasicShapes.h"
#include "GameSounds.h"
#include "ShipModels.h"
#include "ShipTexture.h"
#include "Starfield.h"

int main(int argc, char** argv) {
  using namespace voidskirmish::tools;
  if (argc != 2) {
    std::cerr << "Usage: " << argv[0] << " OUTPUT_ROOT\n";
    return 2;
  }
  try {
    const std::filesystem::path models = std::filesystem::path(argv[1]) / "Voidskirmish" / "Material";
    std::filesystem::create_directories(models / "Textures" / "Skybox");
    const AssetPaths paths{models.string() + "/", (models / "Textures").string() + "/"};
    writeBoundarySphere(paths);
    writeCylinder(paths);
    writeSkybox(paths);
    writeAsteroid(paths);
    writeShipHull(paths);
    writeShipGun(paths);
    writeShipTexture(paths);
    const std::filesystem::path sounds = std::filesystem::path(argv[1]) / "Voidskirmish" / "Sound";
    std::filesystem::create_directories(sounds);
    writeGameSounds(sounds.string() + "/");
  } catch (const std::exception& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
  return 0;
}
