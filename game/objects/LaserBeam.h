#pragma once

#include "game/collision/Line.h"
#include "scene/Geometry.h"

namespace voidskirmish::game::objects {

class Spaceship;

// The picture of a shot: a thin cylinder from the shooter along its line of fire that fades within half a
// second. Damage is settled when the shot is fired; the beam never collides.
class LaserBeam : public scene::Geometry, public collision::Line {
 public:
  // The cylinder every beam is made of, read once when the match is set up so a shot reads nothing from disk.
  static scene::ModelFile readModel();

  // What a saved match keeps of a beam in flight; without padding, so saves compare byte for byte.
  struct Saved {
    glm::mat4 modelMatrix{1.0f};
    collision::Line line;
    float timeLeft = 0.0f;
  };

  // A beam that ends at a hit point.
  LaserBeam(const Spaceship* shooter, glm::vec3 end, const scene::ShaderProgram* laserProgram,
            const scene::ModelFile& model);
  // A beam that hit nothing: very long, along the shooter's line of fire.
  LaserBeam(const Spaceship* shooter, const scene::ShaderProgram* laserProgram, const scene::ModelFile& model);
  // A beam as it was saved.
  LaserBeam(const Saved& saved, const scene::ShaderProgram* laserProgram, const scene::ModelFile& model);

  Saved save() const { return {modelMatrix, *this, timeLeft}; }

  void update(float deltaTime) override { timeLeft -= deltaTime; }
  float alpha() const;  // timeLeft clamped to [0, 1]
  // Draws with the laser program and its fade; never culled.
  void drawLaser(glm::vec3 cameraPosition, scene::RenderSettings* settings, glm::mat4 view, glm::mat4 projection);

  float timeLeft = 0.5f;
  float defaultHalfLength = 1000000.0f;

 private:
  scene::UniformLocations<1> alphaUniform{{"alpha"}};
};

}  // namespace voidskirmish::game::objects
