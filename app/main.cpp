#include <GLFW/glfw3.h>

#include <algorithm>
#include <iostream>
#include <memory>

#include "app/CommandLine.h"
#include "app/Dialogue.h"
#include "app/HeadlessMatch.h"
#include "app/HeadlessReplay.h"
#include "failure/LoadFailure.h"
#include "app/NetworkPlay.h"
#include "app/PlayerSettings.h"
#include "app/Shell.h"
#include "input/RecordingReader.h"
#include "replay/LastSeconds.h"
#include "replay/StartSection.h"
#include "replay/Timeline.h"

namespace {

using namespace voidskirmish;

// The match ended as usual, but its recording stopped at a write that failed (said when it happened).
constexpr int RECORDING_INCOMPLETE = 3;

// The command line's loudness over the settings file's.
float volumeOf(const app::Options& options, const settings::Settings& chosen) {
  return options.volume ? static_cast<float>(*options.volume) / 100.0f : chosen.volume;
}

// The command line's and the settings' drawing and sound, for any play.
void prepare(app::Shell& shell, const app::Options& options, const settings::Settings& chosen) {
  shell.drawWith(options.renderScale, options.fastBloom);
  shell.soundWith(volumeOf(options, chosen), options.mute);
  shell.useSettings(chosen);
}

// A recording that cannot be read is refused before a window opens: one line saying what and where, exit 2.
int replayFile(const app::Options& options, const settings::Settings& chosen) {
  const std::string& path = *options.replayPath;
  input::Recording recording;
  std::optional<replay::Seeker::Position> start;
  try {
    recording = input::readRecordingFile(path);
    start = replay::recordedStart(recording);
  } catch (const input::BadRecording& bad) {
    std::cerr << "Cannot replay " << path;
    if (bad.line > 0) {
      std::cerr << ", line " << bad.line;
    }
    std::cerr << ": " << bad.what() << std::endl;
    return 2;
  }
  if (recording.endsInsideFrame) {
    std::cerr << "Recording " << path << " ends inside a frame; replaying its " << recording.frames.size()
              << " whole frames" << std::endl;
  }
  const std::size_t frames = replay::Timeline(recording).frames();
  if (options.replayFrom > std::max<std::size_t>(frames, 1)) {
    std::cerr << "--replay-from: frame " << options.replayFrom << " is past the last frame of " << path << " ("
              << frames << ")" << std::endl;
    return 2;
  }
  if (options.headless) {
    return app::HeadlessReplay(recording, start, options.netCheck, options.syncFrames, options.replayFrom).run();
  }
  const input::RecordingHeader& header = recording.header;
  app::Shell shell(app::WindowChoice{header.fullscreen, header.width, header.height}, options.netCheck);
  prepare(shell, options, chosen);
  return shell.replay(recording, start, options.replayFrom, options.replaySpeed);
}

// A recording asked for is opened before anything else, so that a FILE that cannot be written is refused at once.
bool openRecording(const std::optional<std::string>& path, std::unique_ptr<input::RecordingWriter>& writer) {
  if (!path) {
    return true;
  }
  std::string error;
  writer = input::RecordingWriter::open(*path, error);
  if (!writer) {
    std::cerr << "Cannot write recording " << *path << ": " << error << std::endl;
  }
  return writer != nullptr;
}

// The window the settings file sets, unless the player asks to be asked.
std::optional<app::WindowChoice> windowChoice(const app::Options& options, const settings::Settings& chosen) {
  if (chosen.window && !options.ask) {
    return app::WindowChoice{chosen.window->fullscreen, chosen.window->width, chosen.window->height};
  }
  return app::Dialogue(std::cin, std::cout).run();
}

// A spectator's window is asked for as a player's is; it records nothing.
int watch(const app::Options& options, const settings::Settings& chosen) {
  const auto choice = windowChoice(options, chosen);
  if (!choice) {
    failure::fatalExit(std::cout, app::Dialogue::inputEndedMessage, 1);
  }
  app::Shell shell(*choice, options.netCheck);
  prepare(shell, options, chosen);
  if (options.autoRenderScale) {
    shell.scaleAutomatically(options.frameBudget);
  }
  return shell.watch(options);
}

int play(const app::Options& options, const settings::Settings& chosen) {
  std::unique_ptr<input::RecordingWriter> recorder;
  std::unique_ptr<input::RecordingWriter> lastRecorder;
  if (!openRecording(options.recordPath, recorder) || !openRecording(options.recordLastPath, lastRecorder)) {
    return 2;
  }
  if (options.headless) {
    // Two computers need no questions: the standard window, laid out without one.
    if (recorder) {
      recorder->writeHeader(input::RecordingHeader{input::RecordingHeader::FIXED_SCALE_VERSION, app::gameVersion(),
                                                   false, app::HeadlessMatch::WIDTH, app::HeadlessMatch::HEIGHT});
    }
    const int exitCode = app::HeadlessMatch(options, recorder.get()).run();
    return exitCode == 0 && recorder && !recorder->complete() ? RECORDING_INCOMPLETE : exitCode;
  }
  const auto choice = windowChoice(options, chosen);
  if (!choice) {
    failure::fatalExit(std::cout, app::Dialogue::inputEndedMessage, 1);
  }
  std::optional<int> networkPlayer;
  if (options.network()) {
    networkPlayer = app::NetworkPlay::playerOf(options);
  }
  // Only a match whose scale moves, or that starts with other switches or is played with other keys, needs the
  // newer format; any other is written as it always was.
  const input::StartSwitches start =
      app::switchesInForce(chosen).changedFrom(app::switchesInForce(settings::Settings{}));
  const bool ownKeys = chosen.keys != input::playerKeys;
  const int format = options.autoRenderScale || !start.empty() || ownKeys ? input::RecordingHeader::FORMAT_VERSION
                                                                          : input::RecordingHeader::FIXED_SCALE_VERSION;
  const input::RecordingHeader header{format,        app::gameVersion(), choice->fullscreen,
                                      choice->width, choice->height,     networkPlayer,
                                      start,         ownKeys ? std::optional(chosen.keys) : std::nullopt};
  if (recorder) {
    recorder->writeHeader(header);
  }
  std::unique_ptr<replay::LastSeconds> last;
  if (lastRecorder) {
    last = std::make_unique<replay::LastSeconds>(options.recordLastSeconds);
  }
  // Whatever ends the match, its last seconds are written.
  const auto writeLast = [&] {
    if (last) {
      last->write(*lastRecorder, header);
    }
  };
  app::Shell shell(*choice, options.netCheck);
  prepare(shell, options, chosen);
  shell.letComputerFly(options);
  if (options.autoRenderScale) {
    shell.scaleAutomatically(options.frameBudget);
  }
  int exitCode = 0;
  try {
    exitCode = networkPlayer ? shell.playNetwork(options, recorder.get(), last.get())
                             : shell.play(recorder.get(), last.get());
  } catch (const failure::LoadFailure&) {
    writeLast();
    throw;
  }
  writeLast();
  const bool incomplete = (recorder && !recorder->complete()) || (lastRecorder && !lastRecorder->complete());
  return exitCode == 0 && incomplete ? RECORDING_INCOMPLETE : exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  const app::ParsedCommandLine commandLine = app::parseCommandLine(argc, argv);
  if (!commandLine.options) {
    return commandLine.exitCode;
  }
  const app::Options& options = *commandLine.options;
  const settings::Settings chosen = app::loadSettings(options, std::cerr);
  if (options.saveSettingsPath) {
    return app::saveSettings(chosen, *options.saveSettingsPath, std::cerr);
  }
  // What could not be loaded, wherever in set-up or play: the loader's message, exit 1.
  try {
    if (options.replayPath) {
      return replayFile(options, chosen);
    }
    if (options.spectateAddress) {
      return watch(app::withFileDrawing(options, chosen), chosen);
    }
    return play(app::withFileDrawing(options, chosen), chosen);
  } catch (const failure::LoadFailure& refused) {
    if (refused.closesWindow) {
      glfwTerminate();
    }
    failure::fatalExit(refused.stream == failure::LoadFailure::Stream::Output ? std::cout : std::cerr,
                       refused.what(), 1, refused.lineEnd);
  }
}
