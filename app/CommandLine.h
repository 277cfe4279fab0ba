#pragma once

#include <optional>
#include <string>

namespace voidskirmish::app {

// What the player asked for on the command line.
struct Options {
  std::optional<std::string> recordPath;
  std::optional<std::string> replayPath;
};

// The game's name and version as --version prints them and recordings carry them.
const char* versionText();
const char* gameVersion();

// Parses the arguments. With --help or --version, or on a usage error, the text has been printed and the exit
// code is returned instead (0, or 2 for a usage error on standard error).
struct ParsedCommandLine {
  std::optional<Options> options;
  int exitCode = 0;
};
ParsedCommandLine parseCommandLine(int argc, const char* const* argv);

}  // namespace voidskirmish::app
