#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <array>
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

  // window: the halves in the window, whose overlays are laid out for width × height; scene: the same halves in
  // the scene's frame buffers, smaller than the window's below full resolution.
  void setLayout(const game::SplitLayout& window, const game::SplitLayout& scene, int width, int height);

  // The scene pass draws everything; the contour pass only the enemy ship, and only where it is on screen. The
  // head-up overlays go with the scene pass unless the scene is drawn below full resolution.
  void renderScene(scene::RenderSettings& settings, bool asteroids, bool skybox, bool boundaryWarning, bool effects,
                   bool enemyOnly);
  // Below full resolution, the overlays of the last scene pass, drawn afterwards in the window's own pixels so
  // they stay sharp; nothing at full resolution.
  void drawOverlaysApart(const scene::RenderSettings& settings) const;

  // The halves whose ship the computer flies carry its mark.
  std::array<bool, 2> computerFlown{};
  // A network match waiting for the other machine shows it.
  bool waiting = false;
  // With frustum culling on, the count of the upper half goes to the console as it is drawn; off where the
  // steps print it themselves (a network match played live).
  bool printsCulling = true;

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
  void drawOverlays(int player, bool warning, const scene::RenderSettings& settings) const;

  game::Match& match;
  scene::Skybox& skybox;
  const Overlays& overlays;
  const ParticleRenderer& particles;
  const scene::ShaderProgram* drawProgram;
  const scene::ShaderProgram* particleProgram;
  HalfRules halfRules;
  NearestFirst asteroidOrder;
  game::SplitLayout layout;       // the window's
  game::SplitLayout sceneLayout;  // the scene frame buffers'
  bool overlaysApart = false;
  std::array<EnemyDirection, 2> enemies{};  // as the last scene pass saw them, for the overlays apart
  int width = 0;
  int height = 0;
};

}  // namespace voidskirmish::render
