#include "app/HeadlessReplay.h"

#include <algorithm>
#include <iostream>
#include <variant>

#include "app/HalfRules.h"
#include "app/MatchCheck.h"
#include "app/Shell.h"
#include "game/Delivery.h"
#include "net/MatchHash.h"

namespace voidskirmish::app {

HeadlessReplay::HeadlessReplay(const input::Recording& recording, bool netCheck, std::optional<int> syncFrames)
    : recording(recording), netCheck(netCheck), syncFrames(syncFrames), console(std::cout.rdbuf()) {}

int HeadlessReplay::run() {
  play = std::make_unique<game::Play>(game::Match::Programs{}, console);
  play->resize(recording.header.width, recording.header.height);
  play->controls.printHelp();
  long played = 0;
  for (std::size_t i = 0; i < recording.frames.size(); ++i) {
    if (syncFrames && !syncTest(i)) {
      return 1;
    }
    const bool escape = advance(recording.frames[i]);
    ++played;
    if (escape) {
      break;
    }
  }
  console << "Replay finished after " << played << " frames" << std::endl;
  if (syncFrames) {
    console << "Sync test passed: " << played << " frames, each re-run after " << *syncFrames << " frames"
            << std::endl;
  }
  return 0;
}

bool HeadlessReplay::advance(const input::RecordedFrame& frame) {
  bool escape = false;
  for (const input::Event& event : frame.events) {
    escape = escape || input::isEscapePress(event);
    if (const auto* size = std::get_if<input::SizeEvent>(&event)) {
      // As the window's game state does: a minimised window keeps its last layout.
      minimised = size->width <= 0 || size->height <= 0;
      if (minimised) {
        continue;
      }
    }
    game::deliver(event, *play);
  }
  play->update(std::min(frame.delta, static_cast<float>(Shell::LONGEST_RULES_DELTA)));
  applyHalfRules(*play, recording.header.networkPlayer, minimised, console);
  play->endFrame();
  const long frameNumber = play->match.frameNumber;
  if (netCheck && frameNumber % net::HASH_INTERVAL == 0) {
    console << net::matchHashLine(static_cast<std::uint32_t>(frameNumber), matchHash(play->match)) << std::endl;
  }
  return escape;
}

bool HeadlessReplay::syncTest(std::size_t frame) {
  const std::size_t end = std::min(recording.frames.size(), frame + static_cast<std::size_t>(*syncFrames));
  const bool wasMinimised = minimised;
  const auto rerun = [&](game::Play::Snapshot& result) {
    std::size_t next = frame;
    while (next < end && !advance(recording.frames[next])) {
      ++next;
    }
    play->save(result);
  };
  play->save(start);
  console.rdbuf(nullptr);  // re-run frames print nothing
  rerun(first);
  play->restore(start);
  minimised = wasMinimised;
  rerun(second);
  play->restore(start);
  minimised = wasMinimised;
  console.rdbuf(std::cout.rdbuf());
  if (const char* part = second.firstDifference(first)) {
    console << "Sync test failed at frame " << frame + 1 << ": " << part << " differs after " << end - frame
            << " frames" << std::endl;
    return false;
  }
  return true;
}

}  // namespace voidskirmish::app
