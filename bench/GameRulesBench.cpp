#include <benchmark/benchmark.h>

#include <glm/gtc/matrix_transform.hpp>

#include <memory>
#include <vector>

#include "game/Match.h"

namespace voidskirmish {
namespace {

std::unique_ptr<game::Match> freshMatch() {
  return std::make_unique<game::Match>(game::Match::Programs{});
}

// A line test against all 100 asteroid spheres of the real field, as every shot makes it.
void BM_NearestHitOverTheField(benchmark::State& state) {
  const auto match = freshMatch();
  const game::collision::Line ray = match->ship1->getLaserLine();
  for (auto _ : state) {
    benchmark::DoNotOptimize(match->asteroids->nearestHit(ray));
  }
  state.counters["spheres"] = static_cast<double>(match->asteroids->sphereCount());
}
BENCHMARK(BM_NearestHitOverTheField);

// The floor of the field test: one line test, cycling through the field so hits and misses mix as they do there.
void BM_IntersectOneSphere(benchmark::State& state) {
  const auto match = freshMatch();
  const game::collision::Line ray = match->ship1->getLaserLine();
  const std::vector<glm::vec4>& spheres = match->asteroids->asteroidSpheres;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(game::collision::intersectSphere(spheres[i], ray));
    i = i + 1 == spheres.size() ? 0 : i + 1;
  }
}
BENCHMARK(BM_IntersectOneSphere);

// One whole shot that hits the enemy: the line tests, the damage, the burst and the beam, built from the model the
// match read at set-up.
void BM_FireHittingTheEnemy(benchmark::State& state) {
  const auto match = freshMatch();
  for (glm::vec4& sphere : match->asteroids->asteroidSpheres) {
    sphere.w = 0.0f;
  }
  match->ship2->setModelMatrix(glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, -50)), glm::vec3(2)));
  const scene::RenderSettings settings;
  for (auto _ : state) {
    match->fire(match->ship1.get(), match->ship2.get(), settings);
    state.PauseTiming();
    match->restart();
    match->laserBeams.clear();
    match->particles->clearParticles();  // a full pool would make every spawn scan all 100000 slots
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FireHittingTheEnemy)->Unit(benchmark::kMicrosecond);

// One frame of the rules without drawing, both ships flying and no particles alive.
void BM_MatchUpdateWithIdleParticles(benchmark::State& state) {
  const auto match = freshMatch();
  for (glm::vec4& sphere : match->asteroids->asteroidSpheres) {
    sphere.w = 0.0f;
  }
  scene::RenderSettings settings;
  for (auto* ship : {match->ship1.get(), match->ship2.get()}) {
    ship->thrustForward = true;
    ship->thrust = ship->thrustAcceleration;
    ship->yawLeft = true;
    ship->yawAcceleration = ship->turnAcceleration;
  }
  for (auto _ : state) {
    match->update(1.0f / 60.0f, settings);
  }
  state.counters["live_particles"] = match->particles->particleCount;
}
BENCHMARK(BM_MatchUpdateWithIdleParticles)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace voidskirmish

BENCHMARK_MAIN();
