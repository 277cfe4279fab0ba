#pragma once

#include <array>
#include <vector>

#include <glm/vec3.hpp>

namespace voidskirmish::game {

// What could be heard of one frame, as plain data: what happened where, and how each ship's engine and warning
// stand at its end. The match fills it while the frame runs; the frame's first happening or update starts it
// afresh, so it always holds the last frame and a frame run again (a restore, a seek) only replaces it. Not part
// of the match's saved state: it changes nothing that follows.
class MatchEvents {
 public:
  enum class Kind { Shot, ShipHit, AsteroidHit, Burst, Explosion, Collision, RoundEnd, Paused, Resumed };
  struct Happening {
    Kind kind;
    glm::vec3 position;  // where in the world; the origin for pause, resume and a round's end
  };

  MatchEvents() { happenings.reserve(64); }  // a frame holds a few; the storage is reused from frame to frame

  void add(Kind kind, glm::vec3 position = glm::vec3(0.0f)) {
    begin();
    happenings.push_back({kind, position});
  }
  // The frame's update: the state at its end.
  void begin() {
    if (complete) {
      happenings.clear();
      complete = false;
    }
  }
  // The frame is over: the next happening belongs to the next one.
  void end() { complete = true; }

  const std::vector<Happening>& frame() const { return happenings; }

  std::array<glm::vec3, 2> shipPosition{};
  std::array<float, 2> thrust{};      // 0 to 1: the share of full thrust a ship's engine gives
  std::array<float, 2> speed{};       // 0 to 1: the share of top speed
  std::array<float, 2> warning{};     // 0 to 1: the warning pulse of a player outside the arena, 0 inside

 private:
  std::vector<Happening> happenings;
  bool complete = false;
};

}  // namespace voidskirmish::game
