#include "app/HeadlessMatch.h"

#include "app/MatchCheck.h"
#include "net/MatchHash.h"

namespace voidskirmish::app {

HeadlessMatch::HeadlessMatch(const Options& options, input::RecordingWriter* recorder, std::streambuf* out)
    : options(options),
      recorder(recorder),
      console(out),
      play(std::make_unique<game::Play>(game::Match::Programs{}, console)),
      computers(options.computers),
      rules(*play, std::nullopt, console) {
  if (options.seed) {
    play->match.computerRandom.state = *options.seed;
  }
  play->resize(WIDTH, HEIGHT);
  play->controls.printHelp();
}

int HeadlessMatch::run() {
  for (int rounds = 0; rounds < options.rounds;) {
    rounds += step();
  }
  return 0;
}

bool HeadlessMatch::step() {
  std::vector<input::Event>& events = frame.events;
  events.clear();
  computers.decide(play->match, STEP, events);
  rules.advance(frame);
  const long frameNumber = play->match.frameNumber;
  if (options.netCheck && frameNumber % net::HASH_INTERVAL == 0) {
    console << net::matchHashLine(static_cast<std::uint32_t>(frameNumber), matchHash(play->match)) << std::endl;
  }
  if (recorder != nullptr) {
    recorder->writeFrame(events, STEP, std::nullopt);
  }
  const bool over = !play->match.ship1->alive || !play->match.ship2->alive;
  const bool ended = over && !roundOver;
  roundOver = over;
  return ended;
}

}  // namespace voidskirmish::app
