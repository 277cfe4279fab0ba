#pragma once

#include <utility>
#include <vector>

#include "bot/Pilot.h"
#include "game/Match.h"
#include "input/Event.h"

namespace voidskirmish::bot {

// The computer players of one game, on the machine that runs them. Each frame, before the frame's events are
// delivered: the computer's ships lose the input a person would give them (their key set, their pad, and for
// ship1 the mouse), and gain the computer's pad events. The first frame announces who flies what. When the
// computer flies both ships it also starts the next round (ENTER) a few seconds after one ends, when the winner
// has broken off.
class Computers {
 public:
  explicit Computers(const std::vector<std::pair<int, input::ComputerLevel>>& ships);

  bool flies(int ship) const;
  bool fliesBoth() const { return flies(0) && flies(1); }

  // Whether the event is a person's flight or fire for a ship the computer flies.
  bool isPersonal(const input::Event& event) const;
  // Takes such events out.
  void dropPersonalInput(std::vector<input::Event>& events) const;
  // Appends the computer's events for the frame about to run for `delta` seconds.
  void decide(game::Match& match, float delta, std::vector<input::Event>& events);

  // How long after a round ends the computer starts the next.
  static constexpr float RESTART_SECONDS = 4.0f;

 private:
  std::vector<Pilot> pilots;
  bool announced = false;
  float sinceRoundEnded = 0.0f;
};

}  // namespace voidskirmish::bot
