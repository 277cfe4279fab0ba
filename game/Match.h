#pragma once

#include <array>
#include <deque>
#include <iostream>
#include <memory>

#include "game/MatchEvents.h"
#include "game/MatchSnapshot.h"
#include "game/ParticlePool.h"
#include "game/Random.h"
#include "scene/RenderSettings.h"
#include "game/Rounds.h"
#include "game/objects/Asteroid.h"
#include "game/objects/BoundarySphere.h"
#include "game/objects/LaserBeam.h"
#include "game/objects/Spaceship.h"
#include "scene/ModelFile.h"

namespace voidskirmish::game {

// The world of the one match and its rules, free of OpenGL: the arena, both ships, the asteroid field, the
// per-player out-of-bounds state, firing, contacts and the per-frame update. Player 0 is ship1 (upper half),
// player 1 is ship2 (lower half).
class Match {
 public:
  struct Programs {
    const scene::ShaderProgram* draw = nullptr;
    const scene::ShaderProgram* normalMapping = nullptr;
    const scene::ShaderProgram* laser = nullptr;
  };

  // Builds the arena, ship1 at the origin, ship2 20 units along x, the asteroid field and the beams' model, in
  // that order. Everything the rules print goes to `console`.
  explicit Match(const Programs& programs, std::ostream& console = std::cout);
  Match(const Match&) = delete;
  Match& operator=(const Match&) = delete;

  // Fills `snapshot` (reusing its storage) with everything that decides the match's future.
  void save(MatchSnapshot& snapshot) const;
  // Back to exactly the saved point: advancing from there gives the same state, lines and pictures again.
  void restore(const MatchSnapshot& snapshot);

  // One frame (counted, paused or not): flight, spin, ship contacts, particles, asteroid contacts and arena test, beams, frame-time line.
  // While paused only the frame-time line.
  void update(float deltaTime, scene::RenderSettings& settings);
  // Resolves a shot at once against the asteroids and the target; leaves a beam and a burst.
  void fire(objects::Spaceship* shooter, objects::Spaceship* target, const scene::RenderSettings& settings);
  // ENTER: a round that ended in this frame is scored first, then both ships are back to full life where they
  // stand and the next round begins.
  void restart();
  // The last step of a frame, drawn or not: a round that ended in it is scored, and the frame's events are
  // complete.
  void endFrame();
  // The rules of a player outside the arena, applied once per drawn frame where that player's half is drawn:
  // the life-point loss (a death there ends the warning and throws the big burst), then the warning pulse
  // turning at its ends. Nothing while the player is inside or the match is paused.
  void applyBoundaryRules(int player, const scene::RenderSettings& settings);
  // The life bar's warning colour: the life colour blended toward red by the player's pulse.
  glm::vec3 warningColor(int player) const;

  objects::Spaceship& ship(int player) { return player == 0 ? *ship1 : *ship2; }
  const objects::Spaceship& ship(int player) const { return player == 0 ? *ship1 : *ship2; }
  objects::Spaceship& enemyOf(int player) { return player == 0 ? *ship2 : *ship1; }

  Programs programs;
  Random random;  // first drawn by the asteroid field, then by every burst
  Random computerRandom;  // the computer players' chance alone, so their choices leave the rest as it was
  std::unique_ptr<ParticlePool> particles = std::make_unique<ParticlePool>();
  std::unique_ptr<objects::BoundarySphere> boundarySphere;
  std::unique_ptr<objects::Spaceship> ship1;
  std::unique_ptr<objects::Spaceship> ship2;
  std::unique_ptr<objects::Asteroid> asteroids;
  scene::ModelFile beamModel;
  // The beams in flight, in firing order; all live equally long, so expired ones are always at the front.
  std::deque<std::unique_ptr<objects::LaserBeam>> laserBeams;
  std::array<bool, 2> outsideBoundary{};
  std::array<float, 2> warningBlend{};
  float warningBlendDirection = 1.0f;
  Rounds rounds;
  bool paused = false;  // nothing in the match moves or changes
  long frameNumber = 0;  // frames updated so far
  MatchEvents events;  // what could be heard of the last frame
  std::ostream& console;

 private:
  void advance(float deltaTime, const scene::RenderSettings& settings);
  void collide(objects::Spaceship& ship, const scene::RenderSettings& settings);
  void applyOutOfBoundsLoss(int player, const scene::RenderSettings& settings);
  void turnWarningPulse(int player);
  // The game-over block naming the ship's half; the round goes to the other ship.
  void destroyed(objects::Spaceship& ship);
  void settleRound();
};

// Life-bar colour: between the ship's full and low life colours by its life points.
glm::vec3 lifeColor(const objects::Spaceship& ship);

}  // namespace voidskirmish::game
