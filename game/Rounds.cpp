#include "game/Rounds.h"

namespace voidskirmish::game {

void Rounds::shipDied(int player) { diedThisFrame[player] = true; }

bool Rounds::settle(std::ostream& out) {
  if (!diedThisFrame[0] && !diedThisFrame[1]) {
    return false;
  }
  const bool ends = !decided;
  if (ends) {
    decided = true;
    winner_ = diedThisFrame[0] == diedThisFrame[1] ? NOBODY : diedThisFrame[0] ? 1 : 0;
    if (winner_ != NOBODY) {
      ++wins[static_cast<std::size_t>(winner_)];
    }
    out << "Score: upper " << wins[0] << ", lower " << wins[1] << std::endl;
  }
  diedThisFrame = {};
  return ends;
}

}  // namespace voidskirmish::game
