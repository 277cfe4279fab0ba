#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include <memory>

#include "game/ParticlePool.h"

namespace voidskirmish::game {
namespace {

// A frame step so short that no particle dies while the benchmark runs.
constexpr float TINY_STEP = 1e-7f;

std::unique_ptr<ParticlePool> filledPool(int live) {
  auto pool = std::make_unique<ParticlePool>();
  Random random;
  pool->spawnParticles(live, 0, glm::vec3(0.0f), random);
  return pool;
}

// The whole pool is walked whatever the number of live particles; the live ones are also moved and packed.
void BM_UpdateParticles(benchmark::State& state) {
  const auto pool = filledPool(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    pool->updateParticles(TINY_STEP);
    benchmark::DoNotOptimize(pool->particleCount);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sizeof(pool->particlePool)));
}
BENCHMARK(BM_UpdateParticles)->Arg(0)->Arg(10000)->Arg(MAX_PARTICLES)->Unit(benchmark::kMicrosecond);

// Floor for the walk: reading one field of every record touches every cache line of the pool once.
void BM_SweepPoolLife(benchmark::State& state) {
  const auto pool = filledPool(MAX_PARTICLES);
  for (auto _ : state) {
    float sum = 0.0f;
    for (const Particle& particle : pool->particlePool) {
      sum += particle.life;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sizeof(pool->particlePool)));
}
BENCHMARK(BM_SweepPoolLife)->Unit(benchmark::kMicrosecond);

// Floor for a full update: copying the pool's bytes once, about what reading and rewriting it costs.
void BM_CopyPoolBytes(benchmark::State& state) {
  const auto pool = filledPool(0);
  std::vector<char> copy(sizeof(pool->particlePool));
  for (auto _ : state) {
    std::memcpy(copy.data(), pool->particlePool.data(), copy.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(copy.size()));
}
BENCHMARK(BM_CopyPoolBytes)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace voidskirmish::game
