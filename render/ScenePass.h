#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <functional>

#include "game/Match.h"
#include "scene/RenderSettings.h"
#include "game/SplitLayout.h"
#include "render/EnemyDirection.h"
#include "render/NearestFirst.h"
#include "render/Overlays.h"
#include "render/ParticleRenderer.h"
#include "scene/Skybox.h"

namespace voidskirmish::render {

// Draws the world twice, once into each half of the window, each from its own ship's camera: ships, asteroids,
// skybox, the arena warning, beams, particles and the head-up overlays, with the frustum rebuilt per half.
class ScenePass {
 public:
  // The game's rules that go with drawing a half: called once per half of the scene pass, where the arena
  // warning is drawn, so they apply exactly as often as halves are drawn and in the console's order.
  using HalfRules = std::function<void(int player)>;

  ScenePass(game::Match& match, scene::Skybox& skybox, const Overlays& overlays, const ParticleRenderer& particles,
            const scene::ShaderProgram* drawProgram, const scene::ShaderProgram* particleProgram,
            HalfRules halfRules);

  void setLayout(const game::SplitLayout& layout, int width, int height);

  // The scene pass draws everything; the contour pass only the enemy ship, and only where it is on screen.
  void renderScene(scene::RenderSettings& settings, bool asteroids, bool skybox, bool boundaryWarning, bool effects,
                   bool enemyOnly);

 private:
  struct HalfView {
    glm::mat4 view;
    glm::mat4 projection;
    glm::vec3 cameraPosition;
    EnemyDirection enemy;
  };

  HalfView prepareHalf(int player, float tanHalfFov) const;
  void drawShips(int player, const HalfView& half, scene::RenderSettings& settings, bool enemyOnly);
  void drawAsteroids(const HalfView& half, const scene::RenderSettings& settings);
  void drawBoundaryWarning(const HalfView& half, scene::RenderSettings& settings);
  void drawEffects(int player, const HalfView& half, scene::RenderSettings& settings, bool boundaryWarning);

  game::Match& match;
  scene::Skybox& skybox;
  const Overlays& overlays;
  const ParticleRenderer& particles;
  const scene::ShaderProgram* drawProgram;
  const scene::ShaderProgram* particleProgram;
  HalfRules halfRules;
  NearestFirst asteroidOrder;
  game::SplitLayout layout;
  int width = 0;
  int height = 0;
};

}  // namespace voidskirmish::render
