#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "settings/Settings.h"

namespace voidskirmish::settings {

// A settings file larger than this is no settings file.
constexpr std::size_t MAX_SETTINGS_BYTES = 64 * 1024;

// Reads a settings file's text. Whatever is wrong (a line that is no TOML, an entry or table the game does not
// know, a wrong type or value, a key name that does not exist, a key given two actions) is one line
// "FILE:LINE: problem" on `errors`, and that entry keeps its default; everything else in the file still counts.
Settings parseSettings(std::string_view text, const std::string& fileName, std::ostream& errors);

// The same for a file; one that cannot be read is one line "FILE: problem" and all defaults.
Settings readSettingsFile(const std::string& path, std::ostream& errors);

// Writes `settings` as a complete settings file, every entry present with a comment saying what it does.
// `settings.switches` are written as far as they are set.
void writeSettings(const Settings& settings, std::ostream& out);

}  // namespace voidskirmish::settings
