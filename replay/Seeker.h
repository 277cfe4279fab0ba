#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <ostream>
#include <vector>

#include "game/Play.h"
#include "input/Recording.h"
#include "replay/FrameRules.h"
#include "replay/Timeline.h"

namespace voidskirmish::replay {

// Reaches any frame of a recording exactly: keeps the play's state every few recorded seconds, and for a frame
// restores the nearest state kept before it into a play of its own and advances that silently to the frame.
// A kept state is what a straight replay has there, so any seek, forward or back, gives the same bits.
//
// Memory: the states kept together stay below memoryBound; one more that would pass it thins them out, every
// other one dropped and the spacing doubled (the start is always kept).
class Seeker {
 public:
  struct Position {
    game::Play::Snapshot play;
    bool minimised = false;
  };

  static constexpr double SPACING_SECONDS = 5.0;
  static constexpr std::size_t MEMORY_BOUND = std::size_t{64} << 20;

  // `start` is the play before the first frame, as the replay set it up (minimised as a recording's snapshot
  // may say).
  Seeker(const input::Recording& recording, const Timeline& timeline, const game::Play& start,
         double spacingSeconds = SPACING_SECONDS, std::size_t memoryBound = MEMORY_BOUND,
         bool startMinimised = false);

  // The state after `frames` frames as a straight replay passes it (with no toggle of the watcher's in it):
  // kept when one is due there.
  void offer(std::size_t frames, const game::Play& play, bool minimised);
  // The state after `frames` frames (0 to the timeline's frames), bit for bit that of playing them from the start.
  const Position& after(std::size_t frames);

  std::size_t kept() const { return states.size(); }
  std::size_t keptBytes() const { return bytes; }
  double spacing() const { return spacingSeconds; }

 private:
  bool due(std::size_t frames) const;
  void keep(std::size_t frames, const game::Play& from, bool minimised);
  static std::size_t sizeOf(const Position& position) { return sizeof(Position) + position.play.match.size(); }

  const input::Recording& recording;
  const Timeline& timeline;
  double spacingSeconds;
  const std::size_t memoryBound;
  std::map<std::size_t, Position> states;
  std::size_t bytes = 0;
  std::ostream silent{nullptr};  // what the frames it advances print goes nowhere
  // Made at the first state not kept, so a replay never sought builds no second match.
  std::unique_ptr<game::Play> play;
  std::unique_ptr<FrameRules> rules;
  Position found;
};

}  // namespace voidskirmish::replay
