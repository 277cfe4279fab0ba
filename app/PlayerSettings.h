#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "app/CommandLine.h"
#include "input/StartSwitches.h"
#include "settings/Settings.h"

namespace voidskirmish::app {

// Where the settings are looked for without --settings: $XDG_CONFIG_HOME/voidskirmish/settings.toml, or
// ~/.config/voidskirmish/settings.toml when XDG_CONFIG_HOME is unset or empty; nothing without a home either.
std::optional<std::string> usualSettingsPath();

// The settings the game plays with: the file --settings names (a file that cannot be read is said on `errors`),
// else the usual file when there is one, else the defaults; --hud over the file's style.
settings::Settings loadSettings(const Options& options, std::ostream& errors);

// The options with the settings file's drawing ([render]) where the command line gave none; for live, network
// and watched play, not for replays, which draw at their recorded scales.
Options withFileDrawing(const Options& options, const settings::Settings& chosen);

// Every switch as a match starts with these settings.
input::StartSwitches switchesInForce(const settings::Settings& chosen);

// --save-settings: the settings in force, every entry present, written to `path`. The exit code: 0, or 2 with a
// line on `errors` when the file cannot be written.
int saveSettings(const settings::Settings& chosen, const std::string& path, std::ostream& errors);

}  // namespace voidskirmish::app
