#include <benchmark/benchmark.h>

#include <sstream>
#include <vector>

#include "bot/Computers.h"
#include "game/Delivery.h"
#include "game/Play.h"

// What the computer costs a frame: both ships' decisions (the asteroid scan, the steering, the events), over a
// match that goes on between them; compare with BM_GameUpdate, one frame's rules, in the same run.
namespace voidskirmish::bot {
namespace {

constexpr float FRAME_DELTA = 1.0f / 60.0f;

void BM_ComputerDecide(benchmark::State& state) {
  std::ostringstream console;
  game::Play play(game::Match::Programs{}, console);
  Computers computers({{0, input::ComputerLevel::Hard}, {1, input::ComputerLevel::Hard}});
  std::vector<input::Event> events;
  for (auto _ : state) {
    events.clear();
    computers.decide(play.match, FRAME_DELTA, events);
    state.PauseTiming();
    for (const input::Event& event : events) {
      game::deliver(event, play);
    }
    play.update(FRAME_DELTA);
    play.endFrame();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ComputerDecide)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace voidskirmish::bot
