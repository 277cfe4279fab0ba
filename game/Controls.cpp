#include "game/Controls.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <array>

#include "game/HelpText.h"

namespace voidskirmish::game {
namespace {

struct PlayerKeys {
  int forward, backward, left, right, up, down, fire;
};

constexpr std::array<PlayerKeys, 2> playerKeys{{
    {GLFW_KEY_W, GLFW_KEY_S, GLFW_KEY_A, GLFW_KEY_D, GLFW_KEY_F, GLFW_KEY_T, GLFW_KEY_SPACE},
    {GLFW_KEY_UP, GLFW_KEY_DOWN, GLFW_KEY_LEFT, GLFW_KEY_RIGHT, GLFW_KEY_KP_4, GLFW_KEY_KP_8, GLFW_KEY_KP_0},
}};

// A player's keys in the order of their actions, so that a key of one player can be found among the other's.
constexpr std::array<int, 7> actionKeys(const PlayerKeys& k) {
  return {k.forward, k.backward, k.left, k.right, k.up, k.down, k.fire};
}

// One axis of a ship's controls: a press turns its own direction on and the opposite off and stores the signed
// value; a release clears only its own flag and keeps the value.
void steer(bool pressed, bool& own, bool& opposite, float& value, float signedValue) {
  own = pressed;
  if (pressed) {
    opposite = false;
    value = signedValue;
  }
}

struct Toggle {
  int key;
  bool scene::RenderSettings::*flag;
  const char* label;  // nullptr: toggled silently
};

constexpr std::array<Toggle, 10> toggles{{
    {GLFW_KEY_1, &scene::RenderSettings::bloom, "Bloom "},
    {GLFW_KEY_2, &scene::RenderSettings::contours, "Contours "},
    {GLFW_KEY_3, &scene::RenderSettings::normalMapping, "Normal mapping "},
    {GLFW_KEY_4, &scene::RenderSettings::particles, "Particle effects "},
    {GLFW_KEY_5, &scene::RenderSettings::celShading, "Cel shading "},
    {GLFW_KEY_F2, &scene::RenderSettings::frameTime, nullptr},
    {GLFW_KEY_F3, &scene::RenderSettings::wireframe, "Wireframe "},
    {GLFW_KEY_F8, &scene::RenderSettings::frustumCulling, "Frustum culling "},
    {GLFW_KEY_F9, &scene::RenderSettings::blending, "Blending "},
    {GLFW_KEY_F10, &scene::RenderSettings::lifePointsChanges, "Life points changes "},
}};

constexpr double MOUSE_PIXELS_PER_RADIAN = 1000.0;

}  // namespace

Controls::Controls(Match& match, scene::RenderSettings& settings, std::ostream& out)
    : mouseShip(match.ship1.get()), match(match), settings(settings), out(out) {}

void Controls::keyPressed(int key) {
  // Many laptops have no PAUSE key.
  if (key == GLFW_KEY_PAUSE || key == GLFW_KEY_BACKSPACE) {
    togglePause();
    return;
  }
  const bool playing = !match.paused;
  if ((playing && flightKey(key, true)) || toggleKey(key)) {
    return;
  }
  switch (key) {
    case GLFW_KEY_F1: printHelp(); break;
    case GLFW_KEY_F4:
      settings.samplingMode = (settings.samplingMode - 1) & 1;
      out << "Texture sampling quality " << scene::samplingModeName(settings.samplingMode) << std::endl;
      break;
    case GLFW_KEY_F5:
      settings.mipmapMode = (settings.mipmapMode + 1) % 3;
      out << "Mipmap mode " << scene::mipmapModeName(settings.mipmapMode) << std::endl;
      break;
    case GLFW_KEY_P: mouseSteering = !mouseSteering; break;
    case GLFW_KEY_ENTER:
      if (playing) {
        match.restart();
      }
      break;
    default: break;  // F6, F7 and every other key do nothing
  }
}

void Controls::keyReleased(int key) { flightKey(key, false); }

bool Controls::flightKey(int key, bool pressed) {
  for (int player = 0; player < 2; ++player) {
    const PlayerKeys& keys = playerKeys[player];
    objects::Spaceship& ship = match.ship(player);
    const float thrust = ship.thrustAcceleration;
    const float turn = ship.turnAcceleration;
    if (key == keys.forward) {
      steer(pressed, ship.thrustForward, ship.thrustBackward, ship.thrust, thrust);
    } else if (key == keys.backward) {
      steer(pressed, ship.thrustBackward, ship.thrustForward, ship.thrust, -thrust);
    } else if (key == keys.left) {
      steer(pressed, ship.yawLeft, ship.yawRight, ship.yawAcceleration, turn);
    } else if (key == keys.right) {
      steer(pressed, ship.yawRight, ship.yawLeft, ship.yawAcceleration, -turn);
    } else if (key == keys.up) {
      steer(pressed, ship.pitchUp, ship.pitchDown, ship.pitchAcceleration, turn);
    } else if (key == keys.down) {
      steer(pressed, ship.pitchDown, ship.pitchUp, ship.pitchAcceleration, -turn);
    } else if (key == keys.fire) {
      if (pressed) {
        match.fire(&ship, &match.enemyOf(player), settings);
      }
    } else {
      continue;
    }
    return true;
  }
  return false;
}

bool Controls::toggleKey(int key) {
  for (const Toggle& toggle : toggles) {
    if (toggle.key != key) {
      continue;
    }
    bool& flag = settings.*toggle.flag;
    flag = !flag;
    if (toggle.flag == &scene::RenderSettings::normalMapping) {
      match.asteroids->hasNormalMap = flag;
    }
    if (toggle.label != nullptr) {
      out << toggle.label << scene::onOff(flag) << std::endl;
    }
    return true;
  }
  return false;
}

void Controls::togglePause() {
  match.paused = !match.paused;
  out << (match.paused ? "Game paused" : "Game resumed") << std::endl;
}

bool Controls::cursorMoved(double x, double y) {
  if (!mouseSteering || match.paused) {
    return false;
  }
  if (!mouseShip->hasLife()) {
    mouseSteering = false;
    return false;
  }
  turn(*mouseShip, centreX - x, centreY - y);
  return true;
}

// (centre - x) and -(x - centre) are the same double, so a steer turns the ship by the very bits a cursor would.
void Controls::steerByMouse(int player, double dx, double dy) {
  objects::Spaceship& ship = match.ship(player);
  if (!match.paused && ship.hasLife()) {
    turn(ship, -dx, -dy);
  }
}

void Controls::turn(objects::Spaceship& ship, double left, double up) {
  const double yaw = left / MOUSE_PIXELS_PER_RADIAN;
  const double pitch = up / MOUSE_PIXELS_PER_RADIAN;
  if (yaw != 0.0) {
    ship.rotateY(static_cast<float>(yaw));
  }
  if (pitch != 0.0) {
    ship.rotateX(static_cast<float>(pitch));
  }
}

void Controls::mouseButton(int button, int action) {
  if (action == GLFW_PRESS && button == GLFW_MOUSE_BUTTON_LEFT && !match.paused) {
    match.fire(match.ship1.get(), match.ship2.get(), settings);
  }
}

void Controls::setWindowCentre(int x, int y) {
  centreX = x;
  centreY = y;
}

void Controls::printHelp() { out << helpText(settings) << std::flush; }

bool Controls::isMatchKey(int key) {
  // A flight or fire key is one that becomes another key for one of the players.
  return key == GLFW_KEY_ENTER || key == GLFW_KEY_PAUSE || key == GLFW_KEY_BACKSPACE || ownShipKey(key, 0) != key ||
         ownShipKey(key, 1) != key;
}

int Controls::ownShipKey(int key, int player) {
  for (const PlayerKeys& keys : playerKeys) {
    const std::array<int, 7> actions = actionKeys(keys);
    const auto found = std::find(actions.begin(), actions.end(), key);
    if (found != actions.end()) {
      return actionKeys(playerKeys[player])[static_cast<std::size_t>(found - actions.begin())];
    }
  }
  return key;
}

}  // namespace voidskirmish::game
