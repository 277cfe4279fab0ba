#pragma once

#include <memory>
#include <optional>

#include "game/MatchEvents.h"
#include "sound/SoundOutput.h"

namespace voidskirmish::sound {

// Turns a shown frame's match events into sound. Split screen shares one pair of speakers: ship 1 (the upper
// half) hears the world on the left channel and ship 2 (the lower half) on the right, each sound on each side as
// loud as it is near that side's ship, never fainter than FARTHEST. So a shot by ship 1 is loud on the left and
// still plain on the right. Pause, resume and a round's end are as loud on both sides; a player's warning is
// heard on that player's side only. A network match shows one ship: both channels hear the world from it.
class FrameSounds {
 public:
  static constexpr float NEAR = 10.0f;      // world units: nearer is full loudness, then it falls with distance
  static constexpr float FARTHEST = 0.2f;

  // Without an output (no device, a sound missing) every frame is silent.
  FrameSounds(std::unique_ptr<SoundOutput> output, std::optional<int> onlyPlayer);

  // The frame just shown; `on` false (muted) silences what plays and starts nothing.
  void hear(const game::MatchEvents& events, bool on);

 private:
  Balance near(const game::MatchEvents& events, glm::vec3 position, float gain) const;
  glm::vec3 listener(const game::MatchEvents& events, int side) const;

  std::unique_ptr<SoundOutput> output;
  std::optional<int> onlyPlayer;
  bool wasOn = true;
};

}  // namespace voidskirmish::sound
