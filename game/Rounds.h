#pragma once

#include <array>
#include <ostream>

namespace voidskirmish::game {

// The duel as a series of rounds: how many each player has won since the game started. A round ends when a ship
// loses its last life point, and the other ship wins it. Deaths are gathered over a frame and settled at its end,
// so two in the same frame give the round to nobody. Deaths after the round is decided, before ENTER starts the
// next one, change nothing.
class Rounds {
 public:
  void shipDied(int player);
  // The end of a frame (or an ENTER within it): a round that ended in it is scored and the score line printed.
  void settle(std::ostream& out);
  // ENTER: the next round begins; the score stays.
  void startNext() { decided = false; }
  bool operator==(const Rounds& other) const {
    return wins == other.wins && diedThisFrame == other.diedThisFrame && decided == other.decided;
  }

  std::array<int, 2> wins{};

 private:
  friend class SnapshotCoding;  // writes and reads a saved match
  std::array<bool, 2> diedThisFrame{};
  bool decided = false;
};

}  // namespace voidskirmish::game
