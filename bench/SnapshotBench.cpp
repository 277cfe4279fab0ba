#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <vector>

#include "game/Match.h"
#include "game/Play.h"
#include "replay/FrameRules.h"

// Saving and restoring a whole match with a burst alive, against copying the snapshot's bytes once each way; and
// what a network match's picture costs a frame, the last confirmed step restored and the predicted ones run again,
// a step at a time against BM_GameUpdate.
namespace voidskirmish::game {
namespace {

constexpr int LIVE_PARTICLES = 10000;
constexpr float STEP = 1.0f / 60.0f;

void addBurst(Match& match) {
  match.particles->spawnParticles(LIVE_PARTICLES, 0, glm::vec3(0.0f, 0.0f, -40.0f), match.random);
  match.particles->updateParticles(STEP);
  const scene::RenderSettings settings;
  for (int shot = 0; shot < 4; ++shot) {  // beams in flight
    match.fire(match.ship1.get(), match.ship2.get(), settings);
  }
}

std::unique_ptr<Match> matchWithBurst() {
  auto match = std::make_unique<Match>(Match::Programs{});
  addBurst(*match);
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

// The steps beyond the confirmed one run as a network match runs them for its picture: restored, then each step's
// rules with nothing printed. Eight is about what a link of 80 ms each way asks for.
void BM_RollbackSteps(benchmark::State& state) {
  std::ostringstream console;
  Play play(Match::Programs{}, console);
  addBurst(play.match);
  Play::Snapshot confirmed;
  play.save(confirmed);
  const auto steps = static_cast<int>(state.range(0));
  for (auto _ : state) {
    play.restore(confirmed);
    replay::FrameRules rules(play, 1, console);
    for (int step = 0; step < steps; ++step) {
      rules.run(STEP, std::nullopt);
    }
    console.str({});
  }
  state.counters["steps"] = steps;
}
BENCHMARK(BM_RollbackSteps)->ArgName("steps")->Arg(8)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace voidskirmish::game
