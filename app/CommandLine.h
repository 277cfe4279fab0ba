#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace voidskirmish::app {

// What the player asked for on the command line.
struct Options {
  std::optional<std::string> recordPath;
  std::optional<std::string> replayPath;
  // Keep only the last recordLastSeconds of play and write them to this file when the game ends.
  std::optional<std::string> recordLastPath;
  int recordLastSeconds = 0;
  // A network match: wait for a player (host) or join the one at this address.
  bool host = false;
  std::optional<std::string> joinAddress;
  std::uint16_t port = 0;
  // Print the match's hash every net::HASH_INTERVAL frames.
  bool netCheck = false;
  // Replay without a window; with syncFrames, re-run every frame's next N frames from a restored save.
  bool headless = false;
  std::optional<int> syncFrames;
  // The share of the window's resolution the 3-D scene is drawn at, or chosen as it goes to keep each frame
  // within the budget (seconds); and the cheap bloom.
  float renderScale = 1.0f;
  bool autoRenderScale = false;
  double frameBudget = 0.033;
  bool fastBloom = false;
  // A replay's first shown frame (the frames before it advanced silently) and its starting speed.
  std::size_t replayFrom = 1;
  double replaySpeed = 1.0;

  bool network() const { return host || joinAddress; }
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
