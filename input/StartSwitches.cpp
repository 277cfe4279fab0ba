#include "input/StartSwitches.h"

#include <algorithm>

namespace voidskirmish::input {
namespace {

constexpr std::array<std::string_view, 3> OFF_ON{"off", "on", ""};

std::optional<std::size_t> switchNamed(std::string_view name) {
  for (std::size_t i = 0; i < SWITCH_COUNT; ++i) {
    if (SWITCHES[i].name == name) {
      return i;
    }
  }
  return std::nullopt;
}

}  // namespace

const std::array<SwitchInfo, SWITCH_COUNT> SWITCHES{{
    {"bloom", OFF_ON, 2},
    {"contours", OFF_ON, 2},
    {"normal_mapping", OFF_ON, 2},
    {"particles", OFF_ON, 2},
    {"cel_shading", OFF_ON, 2},
    {"frame_time", OFF_ON, 2},
    {"wireframe", OFF_ON, 2},
    {"sampling", {"nearest", "bilinear", ""}, 2},
    {"mipmap", {"off", "nearest", "linear"}, 3},
    {"frustum_culling", OFF_ON, 2},
    {"blending", OFF_ON, 2},
    {"life_points_changes", OFF_ON, 2},
    {"mouse_steering", OFF_ON, 2},
}};

bool StartSwitches::empty() const {
  return std::none_of(values.begin(), values.end(), [](const std::optional<int>& v) { return v.has_value(); });
}

StartSwitches StartSwitches::overlaid(const StartSwitches& over) const {
  StartSwitches result = *this;
  for (std::size_t i = 0; i < SWITCH_COUNT; ++i) {
    if (over.values[i]) {
      result.values[i] = over.values[i];
    }
  }
  return result;
}

StartSwitches StartSwitches::changedFrom(const StartSwitches& base) const {
  StartSwitches result;
  for (std::size_t i = 0; i < SWITCH_COUNT; ++i) {
    if (values[i] != base.values[i]) {
      result.values[i] = values[i];
    }
  }
  return result;
}

std::string formatStartLine(const StartSwitches& switches) {
  std::string line = "start";
  for (std::size_t i = 0; i < SWITCH_COUNT; ++i) {
    if (const std::optional<int>& value = switches.values[i]) {
      line += " " + std::string(SWITCHES[i].name) + "=" + std::string(SWITCHES[i].values[*value]);
    }
  }
  return line;
}

bool parseStartLine(std::string_view line, StartSwitches& switches, std::string& error) {
  if (line.substr(0, 6) != "start ") {
    error = "expected 'start SWITCH=VALUE ...'";
    return false;
  }
  line.remove_prefix(6);
  while (!line.empty()) {
    const std::string_view word = line.substr(0, line.find(' '));
    line.remove_prefix(std::min(line.size(), word.size() + 1));
    const std::size_t equals = word.find('=');
    const std::optional<std::size_t> index = switchNamed(word.substr(0, equals));
    if (equals == std::string_view::npos || !index || switches.values[*index]) {
      error = "not a switch, or one named twice: '" + std::string(word) + "'";
      return false;
    }
    const SwitchInfo& info = SWITCHES[*index];
    const auto end = info.values.begin() + info.valueCount;
    const auto value = std::find(info.values.begin(), end, word.substr(equals + 1));
    if (value == end) {
      error = "no value '" + std::string(word.substr(equals + 1)) + "' for " + std::string(info.name);
      return false;
    }
    switches.values[*index] = static_cast<int>(value - info.values.begin());
  }
  if (switches.empty()) {
    error = "a start line without switches";
    return false;
  }
  return true;
}

}  // namespace voidskirmish::input
