#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace voidskirmish::input {

// The names a settings file gives keys and gamepad buttons: GLFW's names without their GLFW_KEY_ or
// GLFW_GAMEPAD_BUTTON_ prefix ("W", "SPACE", "KP_0", "LEFT_SHIFT"), mapped to GLFW's codes.
std::optional<int> keyCode(std::string_view name);
// The name of a key code keyCode knows; empty for any other.
std::string_view keyName(int code);
// A key as the help shows it: its name with blanks for underscores ("KP 8").
std::string shownKeyName(int code);
// Every key name, in code order, separated by blanks: for the README and error messages.
std::string allKeyNames();

// The gamepad buttons a ship's thrust and fire can be given. START stays ENTER and the right bumper always fires,
// so neither is offered.
std::optional<int> padButtonCode(std::string_view name);
std::string_view padButtonName(int code);

}  // namespace voidskirmish::input
