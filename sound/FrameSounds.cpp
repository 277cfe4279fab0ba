#include "sound/FrameSounds.h"

#include <glm/geometric.hpp>

namespace voidskirmish::sound {
namespace {

using Kind = game::MatchEvents::Kind;

// Loudness with the files' peak of 0.7: a shot, its hit and the explosion of a ship dying at the listener stay
// below full scale together.
struct Voice {
  Sound sound;
  float gain;
  bool placed;  // false: as loud on both sides
};

Voice voiceOf(Kind kind) {
  switch (kind) {
    case Kind::Shot: return {Sound::Laser, 0.5f, true};
    case Kind::ShipHit: return {Sound::ShipHit, 0.6f, true};
    case Kind::AsteroidHit: return {Sound::AsteroidHit, 0.55f, true};
    case Kind::Burst: return {Sound::Burst, 0.4f, true};
    case Kind::Explosion: return {Sound::Explosion, 0.8f, true};
    case Kind::Collision: return {Sound::Collision, 0.65f, true};
    case Kind::RoundEnd: return {Sound::RoundEnd, 0.5f, false};
    case Kind::Paused: return {Sound::Pause, 0.5f, false};
    case Kind::Resumed: break;
  }
  return {Sound::Resume, 0.5f, false};
}

constexpr float ENGINE_GAIN = 0.3f;
constexpr float WARNING_GAIN = 0.4f;
constexpr int ENGINE_LOOP = 0;   // and 1 for ship 2
constexpr int WARNING_LOOP = 2;  // and 3

}  // namespace

FrameSounds::FrameSounds(std::unique_ptr<SoundOutput> output, std::optional<int> onlyPlayer)
    : output(std::move(output)), onlyPlayer(onlyPlayer) {}

void FrameSounds::hear(const game::MatchEvents& events, bool on) {
  if (!output) {
    return;
  }
  if (!on) {
    if (wasOn) {
      output->stopAll();
    }
    wasOn = false;
    return;
  }
  wasOn = true;
  for (const game::MatchEvents::Happening& happening : events.frame()) {
    const Voice voice = voiceOf(happening.kind);
    output->play(voice.sound, voice.placed ? near(events, happening.position, voice.gain)
                                           : Balance{voice.gain, voice.gain});
  }
  for (int ship = 0; ship < 2; ++ship) {
    const float thrust = events.thrust[ship];
    output->loop(ENGINE_LOOP + ship, Sound::Engine, near(events, events.shipPosition[ship], ENGINE_GAIN * thrust),
                 0.8f + 0.5f * events.speed[ship]);
    const bool heard = !onlyPlayer || *onlyPlayer == ship;
    const float warning = heard ? WARNING_GAIN * events.warning[ship] : 0.0f;
    const bool left = onlyPlayer || ship == 0;
    const bool right = onlyPlayer || ship == 1;
    output->loop(WARNING_LOOP + ship, Sound::Warning, Balance{left ? warning : 0.0f, right ? warning : 0.0f}, 1.0f);
  }
}

glm::vec3 FrameSounds::listener(const game::MatchEvents& events, int side) const {
  return events.shipPosition[onlyPlayer.value_or(side)];
}

Balance FrameSounds::near(const game::MatchEvents& events, glm::vec3 position, float gain) const {
  const auto loudness = [&](int side) {
    const float distance = glm::distance(position, listener(events, side));
    return gain * glm::clamp(NEAR / glm::max(distance, NEAR), FARTHEST, 1.0f);
  };
  return {loudness(0), loudness(1)};
}

}  // namespace voidskirmish::sound
