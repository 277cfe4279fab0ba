#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>

#include "input/Keys.h"
#include "replay/FrameRules.h"
#include "replay/Seeker.h"

// A seek into a ten-minute recording against replaying the same frames headless from the start. The seek lands
// just before the next kept state, its worst case; the states were kept as a watched replay passed them.
namespace voidskirmish::replay {
namespace {

constexpr std::size_t FRAMES = 10 * 60 * 60;

const input::Recording& tenMinutes() {
  static const input::Recording recording = [] {
    input::Recording made;
    made.header.width = 1024;
    made.header.height = 768;
    for (std::size_t frame = 0; frame < FRAMES; ++frame) {
      input::RecordedFrame& next = made.frames.emplace_back();
      next.delta = 1.0f / 60.0f;
      if (frame % 20 == 0) {  // both ships fire three times a second, and fly now and then
        next.events = {input::KeyEvent{input::keys::SPACE, true}, input::KeyEvent{input::keys::KP_0, true}};
      }
      if (frame % 600 == 100 || frame % 600 == 400) {
        next.events.push_back(input::KeyEvent{input::keys::W, frame % 600 == 100});
      }
    }
    return made;
  }();
  return recording;
}

struct Straight {
  std::ostringstream console;
  game::Play play{game::Match::Programs{}, console};
  FrameRules rules{play, std::nullopt, console};

  Straight() { play.resize(1024, 768); }
  void advance(std::size_t frames) {
    for (std::size_t frame = 0; frame < frames; ++frame) {
      rules.advance(tenMinutes().frames[frame]);
      console.str("");
    }
  }
};

std::size_t target(const benchmark::State& state) {
  return static_cast<std::size_t>(state.range(0)) - 1;  // the last frame before a kept state
}

void BM_ReplayFramesHeadless(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto straight = std::make_unique<Straight>();
    state.ResumeTiming();
    straight->advance(target(state));
    benchmark::DoNotOptimize(straight->play.match.frameNumber);
  }
}
BENCHMARK(BM_ReplayFramesHeadless)->Arg(FRAMES / 2)->Arg(FRAMES)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SeekWithKeptStates(benchmark::State& state) {
  const Timeline timeline(tenMinutes());
  Straight watched;
  Seeker seeker(tenMinutes(), timeline, watched.play);
  for (std::size_t frame = 0; frame < FRAMES; ++frame) {
    watched.rules.advance(tenMinutes().frames[frame]);
    watched.console.str("");
    seeker.offer(frame + 1, watched.play, false);
  }
  seeker.after(1);  // builds the seeker's own play
  for (auto _ : state) {
    benchmark::DoNotOptimize(seeker.after(target(state)).play.match.frameNumber);
  }
  state.counters["kept"] = static_cast<double>(seeker.kept());
  state.counters["kept_MiB"] = static_cast<double>(seeker.keptBytes()) / (1 << 20);
}
BENCHMARK(BM_SeekWithKeptStates)->Arg(FRAMES / 2)->Arg(FRAMES)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace voidskirmish::replay
