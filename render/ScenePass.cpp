#include "render/ScenePass.h"

#include <GL/glew.h>

#include <iostream>
#include <utility>

#include "render/HalfCulling.h"
#include "scene/Frustum.h"

namespace voidskirmish::render {

ScenePass::ScenePass(game::Match& match, scene::Skybox& skybox, const Overlays& overlays,
                     const ParticleRenderer& particles, const scene::ShaderProgram* drawProgram,
                     const scene::ShaderProgram* particleProgram, HalfRules halfRules)
    : match(match), skybox(skybox), overlays(overlays), particles(particles), drawProgram(drawProgram),
      particleProgram(particleProgram), halfRules(std::move(halfRules)) {
  scene::totalObjectCount = 2 + match.asteroids->asteroidCount;
}

void ScenePass::setLayout(const game::SplitLayout& window, const game::SplitLayout& scene, int newWidth,
                          int newHeight) {
  layout = window;
  sceneLayout = scene;
  overlaysApart = false;
  for (int player = 0; player < 2; ++player) {
    const game::Viewport &own = window.viewports[player], &drawn = scene.viewports[player];
    overlaysApart = overlaysApart || own.width != drawn.width || own.height != drawn.height;
  }
  width = newWidth;
  height = newHeight;
}

void ScenePass::renderScene(scene::RenderSettings& settings, bool asteroids, bool skyboxOn, bool boundaryWarning,
                            bool effects, bool enemyOnly) {
  const float tanHalfFov = tanHalfFieldOfView();
  for (int player = 0; player < 2; ++player) {
    if (!layout.shows(player)) {
      continue;
    }
    scene::culledObjectCount = 0;
    const game::Viewport& viewport = sceneLayout.viewports[player];
    glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
    const HalfView half = prepareHalf(player, tanHalfFov);

    drawShips(player, half, settings, enemyOnly);
    if (asteroids) {
      drawAsteroids(half, settings);
    }
    if (skyboxOn) {
      glUseProgram(skybox.shader->program);
      skybox.draw(half.cameraPosition, &settings, half.view, half.projection);
    }
    if (boundaryWarning && match.outsideBoundary[player]) {
      drawBoundaryWarning(half, settings);
    }
    if (boundaryWarning) {
      halfRules(player);
    }
    if (effects) {
      drawEffects(player, half, settings, boundaryWarning);
    }
  }
}

ScenePass::HalfView ScenePass::prepareHalf(int player, float tanHalfFov) const {
  const game::objects::Spaceship& own = match.ship(player);
  const scene::Camera& camera = *own.camera;
  HalfView half;
  half.projection = halfProjection(tanHalfFov, layout.aspectRatio, camera.nearPlane, camera.farPlane);
  half.view = own.getViewMatrix();
  const glm::mat4& pose = camera.modelMatrix;
  half.cameraPosition = glm::vec3(pose * glm::vec4(0, 0, 0, 1));
  const glm::vec3 forward(pose * glm::vec4(0, 0, -1, 0));
  scene::frustum = halfFrustum(match, player, tanHalfFov, layout.aspectRatio);
  const game::objects::Spaceship& enemy = match.enemyOf(player);
  half.enemy = classifyEnemy(half.view, half.projection, enemy.position(), own.position(), forward);
  return half;
}

void ScenePass::drawShips(int player, const HalfView& half, scene::RenderSettings& settings, bool enemyOnly) {
  game::objects::Spaceship& own = match.ship(player);
  game::objects::Spaceship& enemy = match.enemyOf(player);
  glUseProgram(own.shader->program);
  if (enemyOnly) {
    if (half.enemy == EnemyDirection::OnScreen) {
      enemy.drawShip(own.shader, half.cameraPosition, &settings, half.view, half.projection);
    }
    return;
  }
  // The own ship is never culled.
  const bool culling = settings.frustumCulling;
  settings.frustumCulling = false;
  own.drawShip(own.shader, half.cameraPosition, &settings, half.view, half.projection);
  settings.frustumCulling = culling;
  enemy.drawShip(own.shader, half.cameraPosition, &settings, half.view, half.projection);
}

void ScenePass::drawAsteroids(const HalfView& half, const scene::RenderSettings& settings) {
  game::objects::Asteroid& asteroids = *match.asteroids;
  glUseProgram(asteroids.shader->program);
  // Asteroids are closed, so their far sides never show; skipping them halves the triangles to set up. The
  // wireframe shows every edge.
  if (!settings.wireframe) {
    glEnable(GL_CULL_FACE);
  }
  for (std::uint32_t j : asteroidOrder.order(asteroids.asteroidSpheres, asteroids.asteroidCount, half.cameraPosition)) {
    asteroids.setModelMatrix(asteroids.asteroidMatrices[j]);
    asteroids.draw(asteroids.shader, half.view, half.projection, half.cameraPosition, &asteroids.asteroidSpheres[j],
                   &scene::culledObjectCount, &settings);
  }
  glDisable(GL_CULL_FACE);
}

void ScenePass::drawBoundaryWarning(const HalfView& half, scene::RenderSettings& settings) {
  game::objects::BoundarySphere& arena = *match.boundarySphere;
  glUseProgram(drawProgram->program);
  settings.colorWireframeMode = glm::vec3(1.0f, 0.0f, 0.0f);
  const bool wireframe = settings.wireframe;
  settings.wireframe = true;
  settings.colorWireframeModeEnabled = true;
  arena.draw(drawProgram, half.view, half.projection, half.cameraPosition, &arena.boundingSphere,
             &scene::culledObjectCount, &settings);
  settings.wireframe = wireframe;
  settings.colorWireframeModeEnabled = false;
}

void ScenePass::drawEffects(int player, const HalfView& half, scene::RenderSettings& settings, bool boundaryWarning) {
  for (const auto& beam : match.laserBeams) {
    beam->drawLaser(half.cameraPosition, &settings, half.view, half.projection);
  }
  if (settings.particles) {
    particles.drawParticles(*match.particles, half.view, half.projection, particleProgram, &settings);
  }
  enemies[player] = half.enemy;
  if (!overlaysApart) {
    drawOverlays(player, boundaryWarning && match.outsideBoundary[player], settings);
  }
  if (settings.frustumCulling && player == 0 && printsCulling) {
    std::cout << "Objects culled for ship1 (top): " << scene::culledObjectCount << " / " << scene::totalObjectCount << std::endl;
  }
}

void ScenePass::drawOverlaysApart(const scene::RenderSettings& settings) const {
  if (!overlaysApart) {
    return;
  }
  for (int player = 0; player < 2; ++player) {
    if (layout.shows(player)) {
      const game::Viewport& viewport = layout.viewports[player];
      glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
      drawOverlays(player, match.outsideBoundary[player], settings);
    }
  }
}

void ScenePass::drawOverlays(int player, bool warning, const scene::RenderSettings& settings) const {
  const game::objects::Spaceship& own = match.ship(player);
  overlays.drawLifeBar(own.lifePoints, warning ? match.warningColor(player) : game::lifeColor(own));
  if (settings.hudShapes) {
    overlays.drawLifeLabel(width, height);
  }
  overlays.drawCrosshair(width, height);
  const EnemyDirection enemy = enemies[player];
  if (enemy != EnemyDirection::OnScreen) {
    overlays.drawDirectionArrow(enemy == EnemyDirection::Left, enemy == EnemyDirection::Above,
                                enemy == EnemyDirection::Right, enemy == EnemyDirection::Below, width, height);
  }
  overlays.drawScore(match.rounds.wins[player], match.rounds.wins[1 - player], settings.hudShapes, width, height);
  if (match.paused) {
    overlays.drawPausedMark(width, height);
  } else if (waiting) {
    overlays.drawWaitingMark(width, height);
  }
  if (match.rounds.over()) {
    const int winner = match.rounds.winner();
    overlays.drawRoundBanner(winner == game::Rounds::NOBODY ? "NOBODY" : winner == player ? "YOU" : "FOE", width,
                             height);
  }
  if (computerFlown[player]) {
    overlays.drawComputerMark(width, height);
  }
}

}  // namespace voidskirmish::render
