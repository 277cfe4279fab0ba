#pragma once

#include <array>
#include <optional>

#include "input/ShipKeys.h"
#include "input/StartSwitches.h"

namespace voidskirmish::settings {

// The window a settings file asks for; when it does, the start-up questions are not asked.
struct WindowSetting {
  bool fullscreen = false;
  int width = 1024;
  int height = 768;
};

enum class HudStyle { Colours, Shapes };

// How much drawing a frame costs, as --render-scale, --frame-budget and --bloom set it; the command line wins.
struct DrawingSetting {
  std::optional<float> scale = 1.0f;  // the scene's share of the window; nothing: moved to keep the budget
  double frameBudgetMs = 33.0;
  bool fastBloom = false;
};

// Every choice a settings file can make, each at the game's default until the file sets it.
struct Settings {
  std::array<input::PlayerKeys, 2> keys = input::playerKeys;
  std::array<input::PadButtons, 2> pads{};
  std::optional<WindowSetting> window;
  input::StartSwitches switches;  // only those the file sets
  float volume = 1.0f;            // 0 silent to 1 full
  HudStyle hud = HudStyle::Colours;
  DrawingSetting drawing;
};

}  // namespace voidskirmish::settings
