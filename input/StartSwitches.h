#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace voidskirmish::input {

// The switches a match may start with other than the game's defaults, as a settings file sets them: the toggles
// of keys 1 to 5, F2 to F5 and F8 to F10, and mouse steering. A recording keeps those that differ on its
// "start" line, so that its replay starts as the game did.
enum class Switch {
  Bloom, Contours, NormalMapping, Particles, CelShading, FrameTime, Wireframe, Sampling, Mipmap, FrustumCulling,
  Blending, LifePointsChanges, MouseSteering
};
constexpr std::size_t SWITCH_COUNT = 13;

struct SwitchInfo {
  std::string_view name;  // in a recording's start line and in a settings file's [effects]
  // The names of its values, by value; a switch named off/on is a boolean.
  std::array<std::string_view, 3> values;
  int valueCount;
  bool boolean() const { return valueCount == 2 && values[0] == "off"; }
};
extern const std::array<SwitchInfo, SWITCH_COUNT> SWITCHES;

struct StartSwitches {
  std::array<std::optional<int>, SWITCH_COUNT> values{};

  std::optional<int>& operator[](Switch s) { return values[static_cast<std::size_t>(s)]; }
  const std::optional<int>& operator[](Switch s) const { return values[static_cast<std::size_t>(s)]; }
  bool empty() const;
  bool operator==(const StartSwitches& other) const { return values == other.values; }
  // Each switch set in `over` replaces this one's.
  StartSwitches overlaid(const StartSwitches& over) const;
  // Only the switches whose values differ from `base`'s.
  StartSwitches changedFrom(const StartSwitches& base) const;
};

// "start bloom=off mipmap=nearest": the switches that are set, in their order.
std::string formatStartLine(const StartSwitches& switches);
// False with the reason in `error` for a line that is not such a line.
bool parseStartLine(std::string_view line, StartSwitches& switches, std::string& error);

}  // namespace voidskirmish::input
