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
  // The end of a frame (or an ENTER within it): a round that ended in it is scored and the score line printed;
  // true then.
  bool settle(std::ostream& out);
  // ENTER: the next round begins; the score stays.
  void startNext() { decided = false; }
  // Between a round's end and ENTER; the player who won it, or NOBODY when both ships died in one frame.
  bool over() const { return decided; }
  int winner() const { return winner_; }
  static constexpr int NOBODY = -1;
  bool operator==(const Rounds& other) const {
    return wins == other.wins && diedThisFrame == other.diedThisFrame && decided == other.decided &&
           winner_ == other.winner_;
  }

  std::array<int, 2> wins{};

 private:
  friend class SnapshotCoding;  // writes and reads a saved match
  std::array<bool, 2> diedThisFrame{};
  bool decided = false;
  int winner_ = NOBODY;
};

}  // namespace voidskirmish::game
