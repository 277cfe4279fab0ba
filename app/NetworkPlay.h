#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "app/CommandLine.h"
#include "app/FrameSource.h"
#include "app/Gamepads.h"
#include "input/Event.h"
#include "input/RecordingWriter.h"
#include "net/BackgroundService.h"
#include "net/NetworkMatch.h"
#include "net/Session.h"
#include "replay/LastSeconds.h"

namespace voidskirmish::app {

class Shell;

// A match over the network, played in the shell's open window once the game is built: connects to the other
// machine, then is the source of frames run in lockstep with it. This machine's match events (either key set, the left
// button, its first gamepad, mouse steering) fly its own ship and travel; everything else stays here and is
// handled at once. ESC or a closed window leaves the match; the network's faults end it with their line.
class NetworkPlay : public FrameSource {
 public:
  // Every frame also goes to `recorder` and `last` when given.
  NetworkPlay(Shell& shell, const Options& options, input::RecordingWriter* recorder, replay::LastSeconds* last);
  NetworkPlay(const NetworkPlay&) = delete;
  NetworkPlay& operator=(const NetworkPlay&) = delete;

  // Waits for the other machine; false when the match never began (finish() gives the exit code).
  bool connect();
  // Frame n runs on both machines with the host's delta and both sides' events, the host's first. What this
  // machine captures meanwhile goes out for a frame a few frames later.
  std::optional<SourcedFrame> next() override;
  bool shown() override;
  int finish() override { return exitCode; }

  // The ship the host flies (ship1) or the joiner (ship2).
  static int playerOf(const Options& options) {
    return net::shipOf(options.host ? net::Side::Host : net::Side::Joiner);
  }

 private:
  // Polls the window and the pads; false on ESC or a closed window.
  bool collect();
  void steerWithCursor();
  void printNotices();
  int quit();
  int end();

  Shell& shell;
  const Options& options;
  input::RecordingWriter* recorder;
  replay::LastSeconds* last;
  const int player;
  Gamepads gamepads;
  std::unique_ptr<net::Session> session;
  std::vector<input::Event> local;   // handled here since the last frame ran
  std::vector<input::Event> shared;  // this machine's match events since the last frame ran
  std::unique_ptr<net::NetworkMatch> match;
  double previousTime = 0.0;
  std::optional<net::BackgroundService> keepAlive;  // while a frame runs
  const std::optional<std::uint32_t> desyncFrame;
  int exitCode = 0;
};

}  // namespace voidskirmish::app
