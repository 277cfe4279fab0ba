#include <GLFW/glfw3.h>

#include <algorithm>
#include <iostream>
#include <memory>

#include "app/CommandLine.h"
#include "app/Dialogue.h"
#include "app/HeadlessReplay.h"
#include "failure/LoadFailure.h"
#include "app/NetworkPlay.h"
#include "app/Shell.h"
#include "input/RecordingReader.h"
#include "replay/LastSeconds.h"
#include "replay/StartSection.h"
#include "replay/Timeline.h"

namespace {

using namespace voidskirmish;

// The match ended as usual, but its recording stopped at a write that failed (said when it happened).
constexpr int RECORDING_INCOMPLETE = 3;

// A recording that cannot be read is refused before a window opens: one line saying what and where, exit 2.
int replayFile(const app::Options& options) {
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
  shell.drawWith(options.renderScale, options.fastBloom);
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

int play(const app::Options& options) {
  std::unique_ptr<input::RecordingWriter> recorder;
  std::unique_ptr<input::RecordingWriter> lastRecorder;
  if (!openRecording(options.recordPath, recorder) || !openRecording(options.recordLastPath, lastRecorder)) {
    return 2;
  }
  const auto choice = app::Dialogue(std::cin, std::cout).run();
  if (!choice) {
    failure::fatalExit(std::cout, app::Dialogue::inputEndedMessage, 1);
  }
  std::optional<int> networkPlayer;
  if (options.network()) {
    networkPlayer = app::NetworkPlay::playerOf(options);
  }
  // Only a match whose scale moves needs the newer format; any other is written as it always was.
  const int format = options.autoRenderScale ? input::RecordingHeader::FORMAT_VERSION
                                             : input::RecordingHeader::FIXED_SCALE_VERSION;
  const input::RecordingHeader header{format, app::gameVersion(), choice->fullscreen, choice->width, choice->height,
                                      networkPlayer};
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
  shell.drawWith(options.renderScale, options.fastBloom);
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
  // What could not be loaded, wherever in set-up or play: the loader's message, exit 1.
  try {
    if (commandLine.options->replayPath) {
      return replayFile(*commandLine.options);
    }
    return play(*commandLine.options);
  } catch (const failure::LoadFailure& refused) {
    if (refused.closesWindow) {
      glfwTerminate();
    }
    failure::fatalExit(refused.stream == failure::LoadFailure::Stream::Output ? std::cout : std::cerr,
                       refused.what(), 1, refused.lineEnd);
  }
}
