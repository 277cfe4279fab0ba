#include "app/CommandLine.h"

#include <CLI/CLI.hpp>

namespace voidskirmish::app {

const char* gameVersion() { return VOIDSKIRMISH_VERSION; }

const char* versionText() { return "Voidskirmish " VOIDSKIRMISH_VERSION; }

ParsedCommandLine parseCommandLine(int argc, const char* const* argv) {
  CLI::App app("Voidskirmish: a two-player split-screen space duel. Without options the game asks for its window\n"
               "on the console and starts.",
               "voidskirmish");
  app.set_version_flag("--version", versionText());
  std::string recordPath;
  std::string replayPath;
  CLI::Option* record = app.add_option("--record", recordPath,
                                       "Play as usual and write every frame's input to FILE as the game goes");
  record->type_name("FILE");
  CLI::Option* replay = app.add_option("--replay", replayPath,
                                       "Play FILE back frame for frame, without questions; ESC quits");
  replay->type_name("FILE");
  replay->excludes(record);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int libraryCode = app.exit(error);
    return ParsedCommandLine{std::nullopt, libraryCode == 0 ? 0 : 2};
  }
  Options options;
  if (record->count() > 0) {
    options.recordPath = recordPath;
  }
  if (replay->count() > 0) {
    options.replayPath = replayPath;
  }
  return ParsedCommandLine{options, 0};
}

}  // namespace voidskirmish::app
