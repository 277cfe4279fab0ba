#include "app/PlayerSettings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "game/StartSwitchValues.h"
#include "settings/SettingsFile.h"

namespace voidskirmish::app {

std::optional<std::string> usualSettingsPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  std::filesystem::path folder;
  if (config != nullptr && *config != '\0') {
    folder = config;
  } else if (home != nullptr && *home != '\0') {
    folder = std::filesystem::path(home) / ".config";
  } else {
    return std::nullopt;
  }
  return (folder / "voidskirmish" / "settings.toml").string();
}

settings::Settings loadSettings(const Options& options, std::ostream& errors) {
  settings::Settings chosen;
  if (options.settingsPath) {
    chosen = settings::readSettingsFile(*options.settingsPath, errors);
  } else if (const std::optional<std::string> usual = usualSettingsPath()) {
    std::error_code status;
    if (std::filesystem::exists(*usual, status)) {
      chosen = settings::readSettingsFile(*usual, errors);
    }
  }
  if (options.hud) {
    chosen.hud = *options.hud == "shapes" ? settings::HudStyle::Shapes : settings::HudStyle::Colours;
  }
  return chosen;
}

Options withFileDrawing(const Options& options, const settings::Settings& chosen) {
  Options drawn = options;
  const settings::DrawingSetting& file = chosen.drawing;
  const auto [scaleGiven, budgetGiven, bloomGiven] = options.drawingGiven;
  if (!scaleGiven) {
    drawn.autoRenderScale = !file.scale;
    drawn.renderScale = file.scale.value_or(1.0f);
  }
  if (!budgetGiven) {
    drawn.frameBudget = file.frameBudgetMs / 1000.0;
  }
  if (!bloomGiven) {
    drawn.fastBloom = file.fastBloom;
  }
  return drawn;
}

input::StartSwitches switchesInForce(const settings::Settings& chosen) {
  return game::switchesOf(scene::RenderSettings{}, false).overlaid(chosen.switches);
}

int saveSettings(const settings::Settings& chosen, const std::string& path, std::ostream& errors) {
  settings::Settings inForce = chosen;
  inForce.switches = switchesInForce(chosen);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) {
    settings::writeSettings(inForce, out);
    out.close();
  }
  if (!out) {
    errors << "Cannot write settings " << path << ": " << std::strerror(errno) << std::endl;
    return 2;
  }
  return 0;
}

}  // namespace voidskirmish::app
