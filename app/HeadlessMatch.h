#pragma once

#include <memory>
#include <iostream>
#include <ostream>
#include <vector>

#include "app/CommandLine.h"
#include "bot/Computers.h"
#include "game/Play.h"
#include "input/Recording.h"
#include "input/RecordingWriter.h"
#include "replay/FrameRules.h"

namespace voidskirmish::app {

// A match between two computer players without a window or GL, in fixed steps of 1/60 s as fast as the machine
// allows, printing the game's console lines as a windowed match in the standard window would: the help, the
// announcements, every round's lines. Ends once the asked number of rounds is over, after that round's score
// line. With a recorder, every frame is written as live play writes it, so the recording replays the match.
class HeadlessMatch {
 public:
  // The console goes to `out` (nothing at all when null).
  HeadlessMatch(const Options& options, input::RecordingWriter* recorder, std::streambuf* out = std::cout.rdbuf());

  // Plays options.rounds rounds; the process's exit code.
  int run();
  // One frame; true when a round ended in it.
  bool step();
  const game::Match& match() const { return play->match; }

  static constexpr float STEP = 1.0f / 60.0f;
  static constexpr int WIDTH = 1024;
  static constexpr int HEIGHT = 768;

 private:
  const Options& options;
  input::RecordingWriter* recorder;
  std::ostream console;
  std::unique_ptr<game::Play> play;
  bot::Computers computers;
  replay::FrameRules rules;  // a local match's, in the whole standard window
  input::RecordedFrame frame{{}, STEP, std::nullopt};
  bool roundOver = false;
};

}  // namespace voidskirmish::app
