#include "game/MatchSnapshot.h"

#include <utility>

#include "game/SameBits.h"

namespace voidskirmish::game {
namespace {

template <typename T>
std::size_t bytes(const std::vector<T>& items) {
  return items.size() * sizeof(T);
}

}  // namespace

const char* MatchSnapshot::firstDifference(const MatchSnapshot& other) const {
  const std::pair<const char*, bool> parts[] = {
      {"ship1", sameBits(ships[0], other.ships[0])},
      {"ship2", sameBits(ships[1], other.ships[1])},
      {"asteroids", sameBits(asteroidMatrices, other.asteroidMatrices)},
      {"beams", sameBits(beams, other.beams)},
      {"particles", particles == other.particles},
      {"random", random.state == other.random.state},
      {"computer", computerRandom.state == other.computerRandom.state},
      {"rounds", rounds == other.rounds},
      {"pause", paused == other.paused},
      {"out-of-bounds", outsideBoundary == other.outsideBoundary && sameBits(warningBlend, other.warningBlend) &&
                            sameBits(warningBlendDirection, other.warningBlendDirection)},
      {"frame", frameNumber == other.frameNumber},
  };
  for (const auto& [name, same] : parts) {
    if (!same) {
      return name;
    }
  }
  return nullptr;
}

std::size_t MatchSnapshot::size() const {
  return sizeof(*this) + bytes(asteroidMatrices) + bytes(beams) + bytes(particles.slots) + bytes(particles.live) +
         bytes(particles.positionSize) + bytes(particles.colours);
}

}  // namespace voidskirmish::game
