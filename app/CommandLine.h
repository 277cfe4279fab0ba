#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "input/Event.h"
#include "settings/Settings.h"

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
  // Watch the match of the host at this address instead.
  std::optional<std::string> spectateAddress;
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
  double frameBudget = settings::DrawingSetting{}.frameBudgetMs / 1000.0;
  bool fastBloom = false;
  // Which of --render-scale, --frame-budget and --bloom were given: those win over the settings file.
  std::array<bool, 3> drawingGiven{};
  // Ships the computer flies, each with its level; a headless match of two ends after `rounds` rounds. The
  // seed starts the computer's own chance.
  std::vector<std::pair<int, input::ComputerLevel>> computers;
  int rounds = 1;
  std::optional<std::uint32_t> seed;
  // A replay's first shown frame (the frames before it advanced silently) and its starting speed.
  std::size_t replayFrom = 1;
  double replaySpeed = 1.0;
  // Sound: muted at start (M turns it on), and its loudness in percent over the settings file's.
  bool mute = false;
  std::optional<int> volume;
  // The settings file instead of the usual one; write the settings in force to a file and stop; ask the
  // window questions even when the settings file answers them; the HUD's style over the file's.
  std::optional<std::string> settingsPath;
  std::optional<std::string> saveSettingsPath;
  bool ask = false;
  std::optional<std::string> hud;

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
