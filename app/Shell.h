#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "app/CommandLine.h"
#include "app/FrameSource.h"
#include "app/Dialogue.h"
#include "app/LiveInput.h"
#include "app/LostWindowWatch.h"
#include "app/RunningGameState.h"
#include "bot/Computers.h"
#include "input/Recording.h"
#include "input/RecordingWriter.h"
#include "settings/Settings.h"
#include "render/AutoRenderScale.h"
#include "replay/FrameRules.h"
#include "sound/FrameSounds.h"
#include "replay/LastSeconds.h"
#include "replay/Seeker.h"

struct GLFWwindow;

namespace voidskirmish::app {

// Owns the window and the frame loop: opens the OpenGL window, builds the game state and runs it frame by
// frame. Every frame is the same road, live, replayed or over the network: a frame source delivers that frame's
// events in order, then the update with the frame's delta, then drawing, then a screenshot when F12 was pressed.
class Shell {
 public:
  // With netCheck, the match's hash is printed every net::HASH_INTERVAL frames.
  Shell(const WindowChoice& choice, bool netCheck) : choice(choice), netCheck(netCheck) {}
  ~Shell();

  // Live play until ESC is pressed or the window is closed; every frame also goes to `recorder` and `last` when
  // given. Returns the process's exit code; start-up failures end the process.
  int play(input::RecordingWriter* recorder, replay::LastSeconds* last = nullptr);
  // Plays a recording back at its own pace until its end, a recorded ESC or a live ESC, from `start` when it
  // begins in the middle of a match; see ReplayFrames.
  int replay(const input::Recording& recording, const std::optional<replay::Seeker::Position>& start,
             std::size_t fromFrame = 1, double speed = 1.0);
  // A match over the network (options.host or options.joinAddress) in this machine's window; see NetworkPlay.
  int playNetwork(const Options& options, input::RecordingWriter* recorder, replay::LastSeconds* last = nullptr);
  // Watches the network match at options.spectateAddress, both halves shown; see SpectatorFrames.
  int watch(const Options& options);
  // Live and network play move the render scale to keep frames within the budget (seconds); a replay draws at
  // the scales its recording holds.
  void scaleAutomatically(double budgetSeconds);
  // The share of the window the scene is drawn at, and the cheap bloom; set before play.
  void drawWith(float renderScale, bool fastBloom) {
    startScale = renderScale;
    startFastBloom = fastBloom;
  }
  // Sound at `volume` (0 to 1), or muted until M; set before play.
  void soundWith(float volume, bool muted) {
    soundVolume = volume;
    startMuted = muted;
  }
  // The players' settings: live and network play start with their switches and read their keys and pads; a
  // replay takes only the HUD's style (its keys are the game's own, its switches its own).
  void useSettings(const settings::Settings& chosen) { players = chosen; }
  const std::array<input::PadButtons, 2>& padButtons() const { return players.pads; }

  // The computer flies these ships in live and network play, its chance started at `seed` when given.
  void letComputerFly(const Options& options);

  // A stall (a suspended process, a debugger, a dragged window) must not be applied in one step: ships would
  // jump through whatever lies between. Ordinary slow frames under software rendering stay well below this.
  static constexpr double LONGEST_RULES_DELTA = replay::FrameRules::LONGEST_DELTA;

  // What frame sources use.
  game::RunningGameState& game() { return *state; }
  LiveInput& liveInput() { return *liveInputs; }
  // The computer players, or nullptr when people fly both ships.
  bot::Computers* computers() { return computerPlayers.get(); }
  bool escapeHeld() const;
  // Closed by the player or the window manager, or destroyed.
  bool windowClosed() const;
  // With an automatic scale, moves it for the frame about to be drawn; what moved or settled, to be recorded.
  std::optional<input::ScaleLine> adjustRenderScale();
  // Draws from now on at `scale`, saying so on the console when it settled.
  void useRenderScale(const input::ScaleLine& scale);
  // A local game steers ship1 by where the cursor is: adds the cursor's move to `events` and delivers it.
  void steerWithCursor(std::vector<input::Event>& events);
  // Where the cursor is while it steers and is away from the centre, read once a frame. In the frame steering
  // starts the cursor is put to the centre instead: steering starts from where the cursor was, P turns nothing.
  std::optional<glm::dvec2> steeringCursor();
  void putCursor(glm::dvec2 position);
  // A recorded size is given to the real window too, so pictures have the recorded size.
  void resizeWindow(int width, int height);
  // Waits until the clock reaches `due`; false when ESC or a closed window ended the wait.
  bool waitUntil(double due);
  // An empty frame, while nothing is played yet.
  void showEmptyFrame();
  // Stops what still sounds (the engines' and warnings' loops) while no frame is shown: a paused replay.
  void silence();

  // The sound of the rules just run on `play`. Only frames and steps that count are heard: one run again
  // unseen (a seek, a prediction) is not.
  void hear(const game::Play& play);
  // With netCheck, the hash line of a match that has just run a frame that is due one.
  void printCheck(const game::Match& match) const;

 private:
  void openWindow();
  // In a network match only `networkPlayer`'s view is shown, and one watched plays by `networkRules`; see
  // game::RunningGameState.
  void setUpGame(std::optional<int> networkPlayer, const game::PlayStart& start, const input::KeyMap& keyMap,
                 bool networkRules = false);
  game::PlayStart liveStart() const { return {players.switches, players.keys}; }
  // The one frame loop, over any source; returns the source's exit code.
  int run(FrameSource& source);
  void runFrame(const SourcedFrame& frame);
  void saveScreenshot(long frameNumber);
  void tearDown();

  static constexpr const char* title = "Voidskirmish";

  WindowChoice choice;
  int refreshRate = 0;
  GLFWwindow* window = nullptr;
  bool glDebugOutput = false;  // errors are counted and reported at the end
  bool netCheck = false;
  std::unique_ptr<game::RunningGameState> state;
  std::unique_ptr<LiveInput> liveInputs;
  std::unique_ptr<LostWindowWatch> lostWindowWatch;
  std::unique_ptr<render::AutoRenderScale> autoRenderScale;
  float startScale = 1.0f;
  bool startFastBloom = false;
  std::unique_ptr<sound::FrameSounds> sounds;
  float soundVolume = 1.0f;
  bool startMuted = false;
  settings::Settings players;
  bool cursorSteers = false;  // as of the last frame
  std::unique_ptr<bot::Computers> computerPlayers;
  std::optional<std::uint32_t> computerSeed;
};

}  // namespace voidskirmish::app
