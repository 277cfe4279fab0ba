#include <benchmark/benchmark.h>

#include <glm/vec3.hpp>

#include <cstdlib>
#include <memory>

#include "bench/AllocationCounter.h"
#include "bench/BenchWindow.h"
#include "game/Match.h"
#include "game/Play.h"
#include "app/RunningGameState.h"
#include "sound/FrameSounds.h"

// The real game's frame at the windowed size, as the shell runs it, against the empty frame in the same window.
namespace voidskirmish::game {
namespace {

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 768;
constexpr float FRAME_DELTA = 1.0f / 60.0f;
constexpr int BURST_SIZE = 10000;
constexpr int FIRE = 0;
constexpr int WARM_UP_FRAMES = 3;
constexpr int COUNTED_FRAMES = 20;

// Ahead of ship1 (at the origin, looking along -Z) and of ship2 (20 units to its right); the burst spreads some
// 36 units, so both halves draw it.
const glm::vec3 BURST_CENTRE(0.0f, 0.0f, -40.0f);

// The match with the default settings, set up as the shell does, and warmed up so models are uploaded and the
// driver has built its shader variants.
struct GameContext {
  GameContext() {
    if (surface.problem != nullptr) {
      return;
    }
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    game = std::make_unique<RunningGameState>(surface.window);
    game->resize(WIDTH, HEIGHT);
    // OpenAL's null output mixes as a speaker would and plays into nothing.
    setenv("ALSOFT_DRIVERS", "null", 0);
    sounds = std::make_unique<sound::FrameSounds>(sound::SoundOutput::open("Voidskirmish/Sound/", 1.0f, std::cerr),
                                                  std::nullopt);
    fillBurst(BURST_SIZE);
    for (int i = 0; i < WARM_UP_FRAMES; ++i) {
      topUpBurst(BURST_SIZE);
      frame();
    }
  }

  // The context must be current while the match releases its GL names.
  ~GameContext() {
    if (game != nullptr) {
      glfwMakeContextCurrent(surface.window);
    }
  }

  bool ready(benchmark::State& state) const { return surface.makeCurrent(state); }

  // The shell's loop body at a fixed step, waiting for the driver to finish drawing.
  void frame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    game->update(FRAME_DELTA);
    game->render();
    surface.present();
    if (hearing) {
      // A burst each frame besides the engines: a one-shot voice started every frame.
      game->match().events.add(MatchEvents::Kind::Burst, BURST_CENTRE);
      sounds->hear(game->match().events, true);
    }
  }

  // Sound on or off from the next frame; with it, both ships thrust at full, so both engines play. Off puts the
  // match back where it was, so later benchmarks draw the same picture.
  void hear(bool on) {
    if (on && !hearing) {
      game->play().save(beforeSound);
      for (int player = 0; player < 2; ++player) {
        objects::Spaceship& ship = game->match().ship(player);
        ship.thrustForward = true;
        ship.thrust = ship.thrustAcceleration;
      }
    } else if (!on && hearing) {
      game->play().restore(beforeSound);
      sounds->hear(game->match().events, false);
    }
    hearing = on;
  }

  // Particles of every age up to a whole lifetime, so about as many die each frame as are topped up.
  void fillBurst(int size) {
    Match& match = game->match();
    match.particles->clearParticles();
    const int lifetimeFrames = static_cast<int>(1.5f / FRAME_DELTA);
    for (int i = 0; i < lifetimeFrames; ++i) {
      match.particles->spawnParticles(size / lifetimeFrames, FIRE, BURST_CENTRE, match.random);
      match.particles->updateParticles(FRAME_DELTA);
    }
  }

  // Replaces the particles that died in the last update.
  void topUpBurst(int size) {
    Match& match = game->match();
    if (liveParticles() < size) {
      match.particles->spawnParticles(size - liveParticles(), FIRE, BURST_CENTRE, match.random);
    }
  }

  int liveParticles() { return game->match().particles->particleCount; }

  BenchWindow surface{WIDTH, HEIGHT, "frame bench"};
  std::unique_ptr<RunningGameState> game;
  std::unique_ptr<sound::FrameSounds> sounds;
  bool hearing = false;
  Play::Snapshot beforeSound;
};

GameContext& context() {
  static GameContext shared;
  return shared;
}

// The floor: clear and swap in the game's window.
void BM_GameEmptyFrame(benchmark::State& state) {
  if (!context().ready(state)) {
    return;
  }
  for (auto _ : state) {
    context().surface.presentEmptyFrame();
  }
}
BENCHMARK(BM_GameEmptyFrame)->Apply(timeGlWork);

// Update, both halves, contours, bloom when asked for and the combining pass, with the given number of
// particles kept alive.
void BM_GameFrame(benchmark::State& state) {
  if (!context().ready(state)) {
    return;
  }
  const int burst = static_cast<int>(state.range(0));
  context().game->settings().bloom = state.range(1) != 0;
  context().fillBurst(burst);
  double liveParticles = 0.0;
  for (auto _ : state) {
    state.PauseTiming();
    context().topUpBurst(burst);
    state.ResumeTiming();
    context().frame();
    liveParticles += context().liveParticles();
  }
  state.counters["live_particles"] = benchmark::Counter(liveParticles, benchmark::Counter::kAvgIterations);
  context().game->settings().bloom = true;
}
BENCHMARK(BM_GameFrame)
    ->ArgNames({"particles", "bloom"})
    ->Args({0, 1})
    ->Args({0, 0})
    ->Args({BURST_SIZE, 1})
    ->Apply(timeGlWork)
    ->MinTime(3.0);

// The whole frame without and with its sound (two engines and a burst a frame), for the ratio of the two.
void BM_GameFrameSound(benchmark::State& state) {
  if (!context().ready(state)) {
    return;
  }
  context().fillBurst(0);
  context().hear(state.range(0) != 0);
  for (auto _ : state) {
    context().frame();
  }
  context().hear(false);
}
BENCHMARK(BM_GameFrameSound)->ArgName("sound")->Arg(0)->Arg(1)->Apply(timeGlWork)->MinTime(3.0);

// The scene and its post-processing drawn at a share of the window and bloom off, full or fast; the first frame
// at a new scale (which rebuilds the targets) is not counted.
void drawAt(const benchmark::State& state) {
  context().game->settings().renderScale = static_cast<float>(state.range(0)) / 100.0f;
  context().game->settings().bloom = state.range(1) != 0;
  context().game->settings().fastBloom = state.range(1) == 2;
}

void restoreDefaultDrawing() {
  context().game->settings().renderScale = 1.0f;
  context().game->settings().bloom = true;
  context().game->settings().fastBloom = false;
}

void BM_GameFrameAtScale(benchmark::State& state) {
  if (!context().ready(state)) {
    return;
  }
  drawAt(state);
  context().fillBurst(0);
  context().frame();
  for (auto _ : state) {
    context().frame();
  }
  restoreDefaultDrawing();
}
BENCHMARK(BM_GameFrameAtScale)
    ->ArgNames({"scale_percent", "bloom"})  // bloom 0 off, 1 the ten full passes, 2 fast
    ->ArgsProduct({{100, 75, 50, 35}, {0, 1, 2}})
    ->Apply(timeGlWork)
    ->MinTime(3.0);

// One frame's rules alone: flight, spin, contacts and the particle update over the whole pool.
void BM_GameUpdate(benchmark::State& state) {
  if (!context().ready(state)) {
    return;
  }
  context().fillBurst(BURST_SIZE);
  for (auto _ : state) {
    state.PauseTiming();
    context().topUpBurst(BURST_SIZE);
    state.ResumeTiming();
    context().game->update(FRAME_DELTA);
  }
  state.counters["live_particles"] = context().liveParticles();
}
BENCHMARK(BM_GameUpdate)->Unit(benchmark::kMicrosecond);

// A zero count means something only if the counter sees an allocation that certainly happens.
bool counterSeesAllocations() {
  const AllocationCounter counter;
  auto probe = std::make_unique<int>(1);
  benchmark::DoNotOptimize(probe.get());
  return counter.count() == 1;
}

// Calls of operator new during whole frames once the match has warmed up and nobody fires (a shot loads the
// beam's model, rightly). Anything above zero is a per-frame allocation to hunt down.
void BM_GameSteadyStateAllocations(benchmark::State& state) {
  if (!context().ready(state)) {
    return;
  }
  if (!counterSeesAllocations()) {
    state.SkipWithError("operator new is not replaced in this binary: nothing would be counted");
    return;
  }
  drawAt(state);
  context().hear(state.range(2) != 0);
  context().frame();
  context().fillBurst(BURST_SIZE);
  double allocations = 0.0;
  for (auto _ : state) {
    context().topUpBurst(BURST_SIZE);
    const AllocationCounter counter;
    context().frame();
    allocations += static_cast<double>(counter.count());
  }
  state.counters["allocations"] = allocations;
  state.counters["allocations_per_frame"] = benchmark::Counter(allocations, benchmark::Counter::kAvgIterations);
  context().hear(false);
  restoreDefaultDrawing();
}
BENCHMARK(BM_GameSteadyStateAllocations)
    ->ArgNames({"scale_percent", "bloom", "sound"})
    ->Args({100, 1, 0})
    ->Args({50, 2, 0})
    ->Args({50, 2, 1})
    ->Iterations(COUNTED_FRAMES)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace voidskirmish::game
