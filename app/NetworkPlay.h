#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "app/CommandLine.h"
#include "app/FrameSource.h"
#include "app/Gamepads.h"
#include "app/NetworkFigures.h"
#include "game/Play.h"
#include "input/Event.h"
#include "input/RecordingWriter.h"
#include "net/BackgroundService.h"
#include "net/NetworkMatch.h"
#include "net/Session.h"
#include "net/StepClock.h"
#include "replay/FrameRules.h"
#include "replay/LastSeconds.h"

namespace voidskirmish::app {

class Shell;

// A match over the network, played in the shell's open window once the game is built: connects to the other
// machine, then is the source of the frames drawn while both run the match in fixed steps (net::Rollback).
// This machine's match events (either key set, the left button, its first gamepad, mouse steering) fly its own
// ship at once and travel; the other ship is predicted until its inputs come. Two matches are kept: the one that
// counts runs only confirmed steps, once, and is the one that prints, sounds, checks and records; the one shown
// is a copy of it run on to the present, silently, each frame. Everything that is not a match event stays here
// and goes to the match that counts at once. ESC or a closed window leaves the match; the network's faults end it
// with their line.
class NetworkPlay : public FrameSource {
 public:
  // Every confirmed step also goes to `recorder` and `last` when given.
  NetworkPlay(Shell& shell, const Options& options, const game::PlayStart& start, input::RecordingWriter* recorder,
              replay::LastSeconds* last);
  NetworkPlay(const NetworkPlay&) = delete;
  NetworkPlay& operator=(const NetworkPlay&) = delete;

  // Waits for the other machine; false when the match never began (finish() gives the exit code).
  bool connect();
  // Runs the steps real time asks for and the confirmed ones, and leaves the present in the shell's game to draw.
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
  // Waits, polling, until a step is due: false when the match ends meanwhile (exitCode says how).
  bool awaitStep();
  void runConfirmed();
  void startStep(const net::Step& step);
  void endStep(const net::Step& step);
  std::size_t showPresent(bool waiting);
  void printNotices();
  void writeFigures() const;
  int quit();
  int end();

  Shell& shell;
  const Options& options;
  input::RecordingWriter* recorder;
  replay::LastSeconds* last;
  const int player;
  Gamepads gamepads;
  std::unique_ptr<game::Play> counted;  // the match of confirmed steps
  std::unique_ptr<replay::FrameRules> countedRules;
  game::Play::Snapshot present;  // kept between frames so its buffers are reused
  std::unique_ptr<net::Session> session;
  std::unique_ptr<net::NetworkMatch> match;
  std::optional<net::StepClock> clock;
  std::vector<input::Event> local;   // handed to the counted match since its last step, recorded with the next
  std::vector<input::Event> drawn;   // the own events of a step pictured this frame, looked at for F12
  std::optional<long> shotNumber;     // and the frame its screenshot is named after
  std::optional<net::Step> pictured;  // the step drawn this frame, whose rules end once it is shown
  std::vector<input::Event> shared;  // this machine's match events not yet in a step
  std::optional<input::ScaleLine> scale;  // moved since the last confirmed step
  std::optional<net::BackgroundService> keepAlive;  // while a frame is drawn
  double advantage = 0.0;  // steps ahead of the other machine, a running average
  const std::optional<std::uint32_t> desyncStep;
  const std::unique_ptr<NetworkFigures> figures;
  int exitCode = 0;
};

}  // namespace voidskirmish::app
