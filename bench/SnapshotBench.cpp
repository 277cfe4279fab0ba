#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "game/Match.h"

// Saving and restoring a whole match with a burst alive, against copying the snapshot's bytes once each way.
namespace voidskirmish::game {
namespace {

constexpr int LIVE_PARTICLES = 10000;

std::unique_ptr<Match> matchWithBurst() {
  auto match = std::make_unique<Match>(Match::Programs{});
  match->particles->spawnParticles(LIVE_PARTICLES, 0, glm::vec3(0.0f, 0.0f, -40.0f), match->random);
  match->particles->updateParticles(1.0f / 60.0f);
  const scene::RenderSettings settings;
  for (int shot = 0; shot < 4; ++shot) {  // beams in flight
    match->fire(match->ship1.get(), match->ship2.get(), settings);
  }
  return match;
}

void BM_MatchSaveAndRestore(benchmark::State& state) {
  const auto match = matchWithBurst();
  MatchSnapshot snapshot;
  match->save(snapshot);
  for (auto _ : state) {
    match->save(snapshot);
    match->restore(snapshot);
  }
  state.counters["snapshot_bytes"] = static_cast<double>(snapshot.size());
  state.counters["live_particles"] = static_cast<double>(snapshot.particles.live.size());
}
BENCHMARK(BM_MatchSaveAndRestore)->Unit(benchmark::kMicrosecond);

// The floor: the snapshot's bytes copied out and back in.
void BM_CopySnapshotBytes(benchmark::State& state) {
  const auto match = matchWithBurst();
  MatchSnapshot snapshot;
  match->save(snapshot);
  std::vector<char> live(snapshot.size(), 1);
  std::vector<char> copy(snapshot.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), live.data(), copy.size());
    benchmark::ClobberMemory();
    std::memcpy(live.data(), copy.data(), copy.size());
    benchmark::ClobberMemory();
  }
  state.counters["snapshot_bytes"] = static_cast<double>(snapshot.size());
}
BENCHMARK(BM_CopySnapshotBytes)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace voidskirmish::game
