#include "app/CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "input/EventText.h"
#include "net/Ending.h"
#include "net/MatchHash.h"
#include "replay/LastSeconds.h"
#include "replay/Playback.h"
#include "settings/Settings.h"

namespace voidskirmish::app {
namespace {

// "ship1", "ship2:hard": the ship and the level (normal when none is given); nothing when it is neither.
std::optional<std::pair<int, input::ComputerLevel>> computerOf(const std::string& text) {
  const std::size_t colon = text.find(':');
  const std::string ship = text.substr(0, colon);
  const std::optional<input::ComputerLevel> level =
      colon == std::string::npos ? input::ComputerLevel::Normal : input::levelOfWord(text.substr(colon + 1));
  if ((ship != "ship1" && ship != "ship2") || !level) {
    return std::nullopt;
  }
  return std::pair{ship == "ship1" ? 0 : 1, *level};
}

// An option's value only when the command line gave it.
template <typename T>
void keepGiven(const CLI::Option* option, const T& value, std::optional<T>& kept) {
  if (option->count() > 0) {
    kept = value;
  }
}

}  // namespace

const char* gameVersion() { return VOIDSKIRMISH_VERSION; }

const char* versionText() { return "Voidskirmish " VOIDSKIRMISH_VERSION; }

ParsedCommandLine parseCommandLine(int argc, const char* const* argv) {
  CLI::App app("Voidskirmish: a two-player split-screen space duel. Without options the game asks for its window\n"
               "on the console and starts.",
               "voidskirmish");
  app.set_version_flag("--version", versionText());
  Options options;
  options.port = net::DEFAULT_PORT;
  std::string recordPath;
  std::string replayPath;
  std::string joinAddress;
  std::string spectateAddress;
  CLI::Option* record = app.add_option("--record", recordPath,
                                       "Play as usual and write every frame's input to FILE as the game goes");
  record->type_name("FILE");
  CLI::Option* replay = app.add_option("--replay", replayPath,
                                       "Play FILE back frame for frame, without questions; ESC quits");
  replay->type_name("FILE");
  replay->excludes(record);
  std::vector<std::string> recordLast;
  CLI::Option* last = app.add_option("--record-last", recordLast,
                                     "Keep only the last SECONDS of play (1 to " +
                                         std::to_string(replay::LastSeconds::MOST_SECONDS) +
                                         ") and write them to FILE when the game ends, to replay on their own")
                          ->expected(2)
                          ->type_name("SECONDS FILE");
  replay->excludes(last);
  CLI::Option* host = app.add_flag("--host", options.host, "Wait for one player to join a match over the network");
  CLI::Option* join = app.add_option("--join", joinAddress, "Join the match of the host at ADDRESS (name or IP)");
  join->type_name("ADDRESS");
  CLI::Option* spectate =
      app.add_option("--spectate", spectateAddress,
                     "Watch the match of the host at ADDRESS, both halves, a little behind; ESC leaves")
          ->type_name("ADDRESS");
  host->excludes(join)->excludes(replay)->excludes(spectate);
  join->excludes(replay)->excludes(spectate);
  spectate->excludes(replay)->excludes(record)->excludes(last);
  CLI::Option* port = app.add_option("--port", options.port, "The UDP port of --host, --join or --spectate")
                          ->check(CLI::Range(1, 65535))
                          ->capture_default_str();
  app.add_flag("--net-check", options.netCheck,
               "Print a hash of the match every " + std::to_string(net::HASH_INTERVAL) +
                   " frames, to compare two machines or a recording's replays");
  CLI::Option* headless = app.add_flag("--headless", options.headless,
                                       "Replay without a window or GL, as fast as possible; F12 saves nothing");
  int syncFrames = 0;
  CLI::Option* syncTest =
      app.add_option("--sync-test", syncFrames,
                     "Replay without a window and, at every frame, save the match, play N frames, restore it, play "
                     "them again and compare")
          ->check(CLI::Range(1, 1000))
          ->type_name("N");
  syncTest->needs(replay);
  std::string renderScale = "1";
  CLI::Option* renderScaleOption =
      app.add_option("--render-scale", renderScale,
                     "Draw the 3-D scene and its effects at S times the window's resolution (0.25 to 1) and scale "
                     "them up, the head-up display staying sharp; auto: the scale that keeps frames within "
                     "--frame-budget")
          ->type_name("S|auto")
          ->check(CLI::Validator(
              [](std::string& value) -> std::string {
                float scale = 0.0f;
                const bool number = CLI::detail::lexical_cast(value, scale);
                // Written so that a value that is not a number is refused too.
                if (value == "auto" || (number && scale >= input::SMALLEST_RENDER_SCALE && scale <= 1.0f)) {
                  return {};
                }
                return "Value " + value + " is neither auto nor in range 0.25 to 1";
              },
              "S|auto"))
          ->capture_default_str();
  double frameBudgetMs = settings::DrawingSetting{}.frameBudgetMs;
  CLI::Option* frameBudget =
      app.add_option("--frame-budget", frameBudgetMs, "With --render-scale auto: the longest frame wanted, in ms")
          ->type_name("MS")
          ->check(CLI::Range(1.0, 1000.0))
          ->capture_default_str();
  std::string bloom = "full";
  CLI::Option* bloomOption =
      app.add_option("--bloom", bloom, "full: the glow of ten full-size blur passes; fast: a cheaper mip chain")
          ->type_name("KIND")
          ->check(CLI::IsMember({"full", "fast"}))
          ->capture_default_str();
  CLI::Option* replayFrom =
      app.add_option("--replay-from", options.replayFrom,
                     "Start the replay at frame FRAME, the frames before it played silently")
          ->type_name("FRAME")
          ->check(CLI::PositiveNumber);
  replayFrom->needs(replay);
  app.add_option("--replay-speed", options.replaySpeed, "Start the replay at X times its recorded pace")
      ->type_name("X")
      ->check(CLI::Validator(
          [](std::string& value) -> std::string {
            double speed = 0.0;
            if (CLI::detail::lexical_cast(value, speed) && replay::Playback::speedStep(speed)) {
              return {};
            }
            return "Value " + value + " is none of 0.25, 0.5, 1, 2, 4, 8";
          },
          "X"))
      ->needs(replay);
  app.add_flag("--mute", options.mute, "Start without sound; M turns it on and off");
  app.add_option("--volume", options.volume, "The loudness of the sound, in percent (default: the settings', 100)")
      ->check(CLI::Range(0, 100))
      ->type_name("0-100");
  std::string settingsPath;
  std::string saveSettingsPath;
  std::string hud;
  CLI::Option* settingsFile =
      app.add_option("--settings", settingsPath,
                     "Read the settings from FILE instead of $XDG_CONFIG_HOME/voidskirmish/settings.toml")
          ->type_name("FILE");
  CLI::Option* saveSettings =
      app.add_option("--save-settings", saveSettingsPath,
                     "Write the settings in force, every entry with a comment, to FILE and exit")
          ->type_name("FILE");
  app.add_flag("--ask", options.ask, "Ask for the window on the console even when the settings file sets it");
  CLI::Option* hudStyle =
      app.add_option("--hud", hud, "colours: the HUD as it always was; shapes: YOU and FOE beside score and life")
          ->type_name("STYLE")
          ->check(CLI::IsMember({"colours", "shapes"}));
  std::vector<std::string> computers;
  CLI::Option* bot =
      app.add_option("--bot", computers,
                     "The computer flies SHIP (ship1 or ship2) at LEVEL (easy, normal or hard; normal if not given); "
                     "give it twice for a match between two computers")
          ->type_name("SHIP[:LEVEL]")
          ->check(CLI::Validator(
              [](std::string& value) -> std::string {
                return computerOf(value) ? std::string() : "Value " + value + " is not ship1 or ship2[:easy|normal|hard]";
              },
              "SHIP[:LEVEL]"))
          ->excludes(replay)
          ->excludes(spectate);
  CLI::Option* rounds = app.add_option("--rounds", options.rounds, "With --headless: end after N rounds")
                            ->check(CLI::Range(1, 1000000))
                            ->type_name("N");
  std::uint32_t seed = 0;
  CLI::Option* seedOption =
      app.add_option("--seed", seed, "Start the computer's chance at S (0 to 4294967295), for other matches")
          ->type_name("S")
          ->needs(bot);
  try {
    app.parse(argc, argv);
    for (const std::string& text : computers) {
      const auto computer = *computerOf(text);
      const int ship = computer.first;
      if (std::any_of(options.computers.begin(), options.computers.end(),
                      [ship](const auto& other) { return other.first == ship; })) {
        throw CLI::ValidationError("--bot", "ship" + std::to_string(ship + 1) + " is given twice");
      }
      const bool otherMachines = (options.host && ship != 0) || (join->count() > 0 && ship != 1);
      if (otherMachines) {
        throw CLI::ValidationError("--bot", "in a network match the computer flies this machine's ship (ship1 for "
                                            "--host, ship2 for --join)");
      }
      options.computers.push_back(computer);
    }
    if (headless->count() > 0 && replay->count() == 0 && options.computers.size() < 2) {
      throw CLI::RequiresError("--headless", options.computers.empty() ? "--replay" : "--bot ship1 --bot ship2");
    }
    if (rounds->count() > 0 && (headless->count() == 0 || replay->count() > 0)) {
      throw CLI::RequiresError("--rounds", "--headless --bot ship1 --bot ship2");
    }
    if (port->count() > 0 && host->count() + join->count() + spectate->count() == 0) {
      throw CLI::ValidationError("--port", "needs --host, --join or --spectate");
    }
    if (last->count() > 0) {
      int seconds = 0;
      const int most = replay::LastSeconds::MOST_SECONDS;
      if (!CLI::detail::lexical_cast(recordLast[0], seconds) || seconds < 1 || seconds > most) {
        throw CLI::ValidationError("--record-last",
                                   "SECONDS " + recordLast[0] + " is no whole number from 1 to " + std::to_string(most));
      }
      options.recordLastSeconds = seconds;
      options.recordLastPath = recordLast[1];
    }
    if (std::isnan(frameBudgetMs)) {  // which the range check lets through
      throw CLI::ValidationError("--frame-budget", "Value nan not in range 1 to 1000");
    }
    if (frameBudget->count() > 0 && renderScale != "auto") {
      throw CLI::ValidationError("--frame-budget", "needs --render-scale auto");
    }
  } catch (const CLI::ParseError& error) {
    const int libraryCode = app.exit(error);
    return ParsedCommandLine{std::nullopt, libraryCode == 0 ? 0 : 2};
  }
  options.fastBloom = bloom == "fast";
  options.drawingGiven = {renderScaleOption->count() > 0, frameBudget->count() > 0, bloomOption->count() > 0};
  options.autoRenderScale = renderScale == "auto";
  if (!options.autoRenderScale) {
    CLI::detail::lexical_cast(renderScale, options.renderScale);
  }
  options.frameBudget = frameBudgetMs / 1000.0;
  keepGiven(record, recordPath, options.recordPath);
  keepGiven(replay, replayPath, options.replayPath);
  keepGiven(join, joinAddress, options.joinAddress);
  keepGiven(spectate, spectateAddress, options.spectateAddress);
  keepGiven(settingsFile, settingsPath, options.settingsPath);
  keepGiven(saveSettings, saveSettingsPath, options.saveSettingsPath);
  keepGiven(hudStyle, hud, options.hud);
  keepGiven(seedOption, seed, options.seed);
  if (syncTest->count() > 0) {
    options.syncFrames = syncFrames;
    options.headless = true;
  }
  return ParsedCommandLine{options, 0};
}

}  // namespace voidskirmish::app
