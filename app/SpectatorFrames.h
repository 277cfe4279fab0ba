#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "app/CommandLine.h"
#include "app/FrameSource.h"
#include "input/Event.h"
#include "net/BackgroundService.h"
#include "net/Session.h"
#include "replay/FrameRules.h"

namespace voidskirmish::app {

class Shell;

// A network match watched from aside (--spectate): connects to the host as a spectator, then is the source of
// the steps both players' machines ran, from the match's first, each with its events and delta. They play
// LEAD_SECONDS behind the host, paced by their deltas like a replay's, in both halves; the steps whose time has
// passed while a picture was drawn run unseen but heard, as a player's machine runs several a drawn frame. When
// more than CATCH_UP_SECONDS of the match wait (joined late, or the host went on while this machine stalled),
// the oldest run unseen and unheard until LEAD_SECONDS wait (a few hundred between pictures). Unseen steps print
// their console lines all the same. The watcher's keys never reach the match: the toggles (1-5, F2-F10, M) and
// F12 act as in a replay; ESC or a closed window leaves. The match's end is told, and its last steps play.
class SpectatorFrames : public FrameSource {
 public:
  static constexpr double LEAD_SECONDS = 0.5;
  static constexpr double CATCH_UP_SECONDS = 2.0;

  SpectatorFrames(Shell& shell, const Options& options);

  // Waits for the host's welcome; false when watching never began (finish() gives the exit code).
  bool connect();
  std::optional<SourcedFrame> next() override;
  // Waits out the frame's delta, still hearing the window and the host.
  bool shown() override;
  int finish() override { return exitCode; }

 private:
  // The window's keys and sizes; false on ESC or a closed window.
  bool hear(const std::vector<input::Event>& live);
  void receive();
  // Runs the oldest step waiting by the rules the players' machines ran it with, as a seek in a network
  // recording's replay does.
  void runUnseen(bool heard);
  int end();

  Shell& shell;
  const Options& options;
  std::unique_ptr<net::Session> session;
  replay::FrameRules rules;
  std::deque<net::PlayedFrame> waiting;
  double waitingSeconds = 0.0;
  bool started = false;                // the lead has been waited for
  std::vector<input::Event> shownEvents;  // the frame's, and a live F12
  float shownDelta = 0.0f;
  bool liveShot = false;
  double due = 0.0;  // when the next step is to be shown
  std::optional<net::BackgroundService> keepAlive;  // while a frame runs and is waited out
  int exitCode = 0;
};

}  // namespace voidskirmish::app
