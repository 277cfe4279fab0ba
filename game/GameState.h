#pragma once

#include <optional>
#include <string_view>

#include <glm/vec2.hpp>

#include "input/Event.h"

struct GLFWwindow;

namespace voidskirmish::game {

using input::PadControl;

// What the frame loop and the window callbacks drive. The state's constructor runs init before it returns.
class GameState {
 public:
  explicit GameState(GLFWwindow* window) : window(window) {}
  GameState(const GameState&) = delete;
  GameState& operator=(const GameState&) = delete;
  virtual ~GameState() = default;

  virtual void init() = 0;
  virtual void update(float deltaTime) = 0;
  virtual void render() = 0;
  virtual void keyPressed(int key) = 0;
  virtual void keyReleased(int key) = 0;
  virtual void cursorMoved(double x, double y) = 0;
  virtual void mouseButton(int button, int action) = 0;
  virtual void resize(int width, int height) = 0;
  // A gamepad was taken by player `ship` (0 or 1), or is gone from it.
  virtual void padLinked(int ship, bool connected, std::string_view name) = 0;
  // A control of player `ship`'s gamepad changed; see input::PadControlEvent for the values.
  virtual void padControl(int ship, PadControl control, float value) = 0;
  // The computer flies player `ship`'s ship from now on, through that ship's pad controls.
  virtual void computerTakes(int ship, input::ComputerLevel level) = 0;
  // Mouse steering in a network match: turns player `ship`'s ship by the cursor's distance from the centre.
  virtual void steer(int ship, double dx, double dy) = 0;
  // Where the cursor is put back after each move while it steers a ship; nothing while it does not steer.
  virtual std::optional<glm::dvec2> steeringCentre() const = 0;

  GLFWwindow* window;
};

}  // namespace voidskirmish::game
