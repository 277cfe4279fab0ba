#pragma once

#include <glm/vec3.hpp>

#include <string>

namespace voidskirmish::scene {

// The switches every drawing operation reads and the keyboard toggles change.
struct RenderSettings {
  bool textures = true;
  bool frameTime = false;
  bool wireframe = false;
  bool blending = true;
  bool frustumCulling = false;
  bool celShading = true;
  bool particles = true;
  bool bloom = true;
  bool normalMapping = true;
  bool contours = true;
  bool colorWireframeModeEnabled = false;
  glm::vec3 colorWireframeMode{1.0f, 1.0f, 1.0f};
  bool lifePointsChanges = false;
  int mipmapMode = 2;    // 0 off, 1 nearest neighbour, 2 linear
  int samplingMode = 1;  // 0 nearest neighbour, 1 bilinear
  // Set from the command line, not by keys: the share of the window's resolution the 3-D scene and its
  // post-processing are drawn at (the head-up overlays always get the whole window), and bloom as a cheap mip
  // chain instead of the ten full-size passes.
  float renderScale = 1.0f;
  bool fastBloom = false;
  // Sound plays (M, --mute): a toggle of the play like the others, though nothing draws by it.
  bool sound = true;
  // Set from the settings or the command line: YOU and FOE beside the score and the life bar, for players who
  // cannot tell the HUD's green from its red.
  bool hudShapes = false;

  bool operator==(const RenderSettings& other) const;
};

const char* onOff(bool value);
const char* samplingModeName(int samplingMode);
const char* mipmapModeName(int mipmapMode);

}  // namespace voidskirmish::scene
