#include "bot/Skill.h"

#include <array>

namespace voidskirmish::bot {

const Skill& skillOf(input::ComputerLevel level) {
  // In the order of ComputerLevel.
  static const std::array<Skill, 3> skills{{
      {0.6f, 0.1f, 0.08f, 0.5f, 0.0f, false},
      {0.3f, 0.04f, 0.03f, 0.3f, 0.3f, true},
      {0.12f, 0.01f, 0.0f, 0.2f, 0.6f, true},
  }};
  return skills[static_cast<std::size_t>(level)];
}

}  // namespace voidskirmish::bot
