#pragma once

#include "game/GameState.h"

namespace voidskirmish::game {

// The match the player sees: the one concrete game state.
class RunningGameState : public GameState {
 public:
  explicit RunningGameState(GLFWwindow* window);

  void init() override;
  void update(float deltaTime) override;
  void render() override;
  void keyPressed(int key) override;
  void keyReleased(int key) override;
  void cursorMoved(double x, double y) override;
  void mouseButton(int button, int action) override;
  void resize(int width, int height) override;

  int width = 0;
  int height = 0;
};

}  // namespace voidskirmish::game
