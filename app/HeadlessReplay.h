#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <ostream>

#include "game/Play.h"
#include "input/Recording.h"
#include "replay/FrameRules.h"
#include "replay/Seeker.h"

namespace voidskirmish::app {

// A recording played without a window or GL, as fast as the machine allows, printing what the windowed replay
// prints: the help, every frame's lines (the culling line counted without drawing) and the hashes of
// --net-check. F12 saves nothing. From a frame other than the first, the frames before it are advanced
// silently, as a windowed replay started there does.
//
// With a sync test of N frames, every frame is first saved, advanced N frames silently, restored and advanced
// the same N frames again, and the two results must agree bit for bit.
class HeadlessReplay {
 public:
  // From `start` when the recording begins in the middle of a match.
  HeadlessReplay(const input::Recording& recording, const std::optional<replay::Seeker::Position>& start,
                 bool netCheck, std::optional<int> syncFrames, std::size_t fromFrame = 1);

  // The process's exit code: 0, or 1 when the sync test found a difference (named on standard output).
  int run();

 private:
  // One recorded frame's rules; true when it holds ESC, which ends the replay after it.
  bool advance(const input::RecordedFrame& frame);
  // False, with the line that says where, when the frame's two re-runs differ.
  bool syncTest(std::size_t frame);

  const input::Recording& recording;
  const std::optional<replay::Seeker::Position>& start;
  const bool netCheck;
  const std::optional<int> syncFrames;
  const std::size_t fromFrame;
  std::ostream console;
  std::unique_ptr<game::Play> play;
  std::unique_ptr<replay::FrameRules> rules;
  game::Play::Snapshot before, first, second;
};

}  // namespace voidskirmish::app
