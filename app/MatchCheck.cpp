#include "app/MatchCheck.h"

#include <glm/gtc/type_ptr.hpp>

#include <stdexcept>

#include "failure/LoadFailure.h"
#include "net/MatchHash.h"

namespace voidskirmish::app {

std::uint64_t matchHash(const game::Match& match) {
  net::MatchHash hash;
  for (int player = 0; player < 2; ++player) {
    const game::objects::Spaceship& ship = match.ship(player);
    hash.add(glm::value_ptr(ship.modelMatrix), 16);
    hash.add(ship.speed);
    hash.add(ship.lifePoints);
  }
  hash.add(static_cast<std::uint64_t>(match.particles->particleCount));
  hash.add(static_cast<std::uint64_t>(match.random.state));
  return hash.value();
}

std::uint64_t runTimeFilesHash() {
  try {
    return net::runTimeFilesHash("Voidskirmish");
  } catch (const std::runtime_error& refused) {
    throw failure::LoadFailure(failure::LoadFailure::Stream::Output, refused.what(), failure::LineEnd::Newline,
                               true);
  }
}

}  // namespace voidskirmish::app
