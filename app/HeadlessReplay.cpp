#include "app/HeadlessReplay.h"

#include <algorithm>
#include <iostream>

#include "app/MatchCheck.h"
#include "net/MatchHash.h"
#include "replay/Seeker.h"

namespace voidskirmish::app {

HeadlessReplay::HeadlessReplay(const input::Recording& recording,
                               const std::optional<replay::Seeker::Position>& start, bool netCheck,
                               std::optional<int> syncFrames, std::size_t fromFrame)
    : recording(recording),
      start(start),
      netCheck(netCheck),
      syncFrames(syncFrames),
      fromFrame(fromFrame),
      console(std::cout.rdbuf()) {}

int HeadlessReplay::run() {
  play = std::make_unique<game::Play>(game::Match::Programs{}, console, game::PlayStart::of(recording.header));
  rules = std::make_unique<replay::FrameRules>(*play, recording.header.networkPlayer, console);
  play->resize(recording.header.width, recording.header.height);
  play->controls.printHelp();
  if (start) {
    play->restore(start->play);
    rules->minimised = start->minimised;
  }
  std::size_t played = 0;
  if (fromFrame > 1) {
    const replay::Timeline timeline(recording);
    replay::Seeker seeker(recording, timeline, *play, replay::Seeker::SPACING_SECONDS, replay::Seeker::MEMORY_BOUND,
                          rules->minimised);
    const replay::Seeker::Position& there = seeker.after(fromFrame - 1);
    play->restore(there.play);
    rules->minimised = there.minimised;
    played = fromFrame - 1;
  }
  for (std::size_t i = played; i < recording.frames.size(); ++i) {
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
  const bool escape = rules->advance(frame);
  const long frameNumber = play->match.frameNumber;
  if (netCheck && frameNumber % net::HASH_INTERVAL == 0) {
    console << net::matchHashLine(static_cast<std::uint32_t>(frameNumber), matchHash(play->match)) << std::endl;
  }
  return escape;
}

bool HeadlessReplay::syncTest(std::size_t frame) {
  const std::size_t end = std::min(recording.frames.size(), frame + static_cast<std::size_t>(*syncFrames));
  const bool wasMinimised = rules->minimised;
  const auto rerun = [&](game::Play::Snapshot& result) {
    std::size_t next = frame;
    while (next < end && !advance(recording.frames[next])) {
      ++next;
    }
    play->save(result);
  };
  play->save(before);
  console.rdbuf(nullptr);  // re-run frames print nothing
  rerun(first);
  play->restore(before);
  rules->minimised = wasMinimised;
  rerun(second);
  play->restore(before);
  rules->minimised = wasMinimised;
  console.rdbuf(std::cout.rdbuf());
  if (const char* part = second.firstDifference(first)) {
    console << "Sync test failed at frame " << frame + 1 << ": " << part << " differs after " << end - frame
            << " frames" << std::endl;
    return false;
  }
  return true;
}

}  // namespace voidskirmish::app
