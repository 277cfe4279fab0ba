#pragma once

#include <optional>
#include <ostream>

#include "game/Play.h"
#include "input/Recording.h"

namespace voidskirmish::replay {

// A recorded frame's rules run on a play without a window, exactly as the windowed game runs them, the drawing
// left out: its events, the update, the out-of-bounds rules and culling line of the halves it would draw, and
// the frame's end. A recorded size of zero is a minimised window, which draws no half, so in a local match its
// out-of-bounds rules wait as they do on screen.
class FrameRules {
 public:
  // The longest step the rules take: a hand-edited recording gets no longer steps than live play would.
  static constexpr double LONGEST_DELTA = 0.5;

  FrameRules(game::Play& play, std::optional<int> networkPlayer, std::ostream& console)
      : play(play), networkPlayer(networkPlayer), console(console) {}

  // True when the frame holds ESC, which ends a replay after it.
  bool advance(const input::RecordedFrame& frame);
  // The parts of advance(): one of the frame's events; once they are in, the update, where the window draws;
  // then the rest of the frame. A network match hands its own toggles over as they are pressed, its steps'
  // events when they are known, and draws between the two when a screenshot is taken.
  void deliver(const input::Event& event);
  void update(float delta, const std::optional<input::ScaleLine>& scale);
  void finish();
  void run(float delta, const std::optional<input::ScaleLine>& scale) {
    update(delta, scale);
    finish();
  }

  // As of the last size delivered; saved and restored along with the play.
  bool minimised = false;

 private:
  void applyHalfRules();

  game::Play& play;
  const std::optional<int> networkPlayer;
  std::ostream& console;
};

}  // namespace voidskirmish::replay
