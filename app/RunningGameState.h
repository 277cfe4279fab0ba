#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "game/GameState.h"
#include "game/Play.h"
#include "scene/RenderSettings.h"

namespace voidskirmish::game {

class Match;
class Play;

// The match the players see: the one concrete game state. Builds the play (the match and its controls) and what
// draws it once, lays the window out in two halves, and hands frames, keys and the mouse to the play.
//
// In a network match each machine shows only the view of the ship it flies (`networkPlayer`), in the whole
// window. Its out-of-bounds rules then cannot go with drawing halves: they apply to both ships once every frame,
// drawn or not, so that both machines apply them alike. A spectator's window shows both halves and applies the
// rules as the players' machines do (`networkRules`).
class RunningGameState : public GameState {
 public:
  explicit RunningGameState(GLFWwindow* window, std::optional<int> networkPlayer = std::nullopt,
                            const PlayStart& start = {}, bool networkRules = false);
  ~RunningGameState() override;

  void init() override;
  void update(float deltaTime) override;
  void render() override;
  void keyPressed(int key) override;
  void keyReleased(int key) override;
  void cursorMoved(double x, double y) override;
  void mouseButton(int button, int action) override;
  void resize(int width, int height) override;
  void padLinked(int ship, bool connected, std::string_view name) override;
  void padControl(int ship, PadControl control, float value) override;
  void steer(int ship, double dx, double dy) override;
  void computerTakes(int ship, input::ComputerLevel level) override;
  std::optional<glm::dvec2> steeringCentre() const override;

  // Both halves into the bound frame buffer; the scene pass draws everything, the contour pass the enemy only.
  void renderScene(bool asteroids, bool skybox, bool boundaryWarning, bool effects, bool enemyOnly);

  // A replay's progress bar over the bottom of the window, from the next frame drawn on; nothing hides it.
  void showReplayBar(std::optional<std::pair<float, std::string>> bar) { replayBar = std::move(bar); }

  // A network match played live runs its steps' rules apart (replay::FrameRules, which also prints the culling
  // count); from then on this only draws.
  void runRulesApart();
  // The waiting mark of a network match, from the next frame drawn on.
  void showWaiting(bool waiting);

  Play& play();
  Match& match();
  scene::RenderSettings& settings();  // the toggles' state, read by every drawing operation

  int width = 0;
  int height = 0;

 private:
  // The frame buffers and the halves' layout for the window's size and the render settings.
  void buildFrame();

  const std::optional<int> networkPlayer;
  const bool networkRules;  // also with networkPlayer
  const PlayStart start;
  struct MatchParts;
  std::unique_ptr<MatchParts> parts;
  std::optional<std::pair<float, std::string>> replayBar;  // the share played and the clock
  bool rulesApart = false;
  bool minimised = false;  // a zero-sized window: keep the last layout and frame buffers, draw nothing
};

}  // namespace voidskirmish::game
