#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "game/Random.h"
#include "render/ParticlePool.h"

namespace voidskirmish::render {
namespace {

// A frame step so short that no particle dies while the benchmark runs.
constexpr float TINY_STEP = 1e-7f;

void fillPool(int live) {
  clearParticles();
  game::restartRandomSequence();
  spawnParticles(live, 0, glm::vec3(0.0f));
}

// The whole pool is walked whatever the number of live particles; the live ones are also moved and packed.
void BM_UpdateParticles(benchmark::State& state) {
  fillPool(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    updateParticles(TINY_STEP);
    benchmark::DoNotOptimize(particleCount);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sizeof(particlePool)));
  clearParticles();
}
BENCHMARK(BM_UpdateParticles)->Arg(0)->Arg(10000)->Arg(MAX_PARTICLES)->Unit(benchmark::kMicrosecond);

// Floor for the walk: reading one field of every record touches every cache line of the pool once.
void BM_SweepPoolLife(benchmark::State& state) {
  fillPool(MAX_PARTICLES);
  for (auto _ : state) {
    float sum = 0.0f;
    for (const Particle& particle : particlePool) {
      sum += particle.life;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sizeof(particlePool)));
  clearParticles();
}
BENCHMARK(BM_SweepPoolLife)->Unit(benchmark::kMicrosecond);

// Floor for a full update: copying the pool's bytes once, about what reading and rewriting it costs.
void BM_CopyPoolBytes(benchmark::State& state) {
  std::vector<char> copy(sizeof(particlePool));
  for (auto _ : state) {
    std::memcpy(copy.data(), particlePool.data(), copy.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sizeof(particlePool)));
}
BENCHMARK(BM_CopyPoolBytes)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace voidskirmish::render
