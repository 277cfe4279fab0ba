#include "game/Controls.h"


#include <algorithm>
#include <array>

#include "game/HelpText.h"
#include "input/Keys.h"
#include "input/ShipKeys.h"

namespace voidskirmish::game {

namespace keys = input::keys;
namespace {

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

constexpr std::array<Toggle, 11> toggles{{
    {keys::DIGIT_1, &scene::RenderSettings::bloom, "Bloom "},
    {keys::DIGIT_2, &scene::RenderSettings::contours, "Contours "},
    {keys::DIGIT_3, &scene::RenderSettings::normalMapping, "Normal mapping "},
    {keys::DIGIT_4, &scene::RenderSettings::particles, "Particle effects "},
    {keys::DIGIT_5, &scene::RenderSettings::celShading, "Cel shading "},
    {keys::F2, &scene::RenderSettings::frameTime, nullptr},
    {keys::F3, &scene::RenderSettings::wireframe, "Wireframe "},
    {keys::F8, &scene::RenderSettings::frustumCulling, "Frustum culling "},
    {keys::F9, &scene::RenderSettings::blending, "Blending "},
    {keys::F10, &scene::RenderSettings::lifePointsChanges, "Life points changes "},
    {keys::M, &scene::RenderSettings::sound, "Sound "},
}};

constexpr double MOUSE_PIXELS_PER_RADIAN = 1000.0;

}  // namespace

Controls::Controls(Match& match, scene::RenderSettings& settings, std::ostream& out)
    : mouseShip(match.ship1.get()), match(match), settings(settings), out(out) {}

void Controls::keyPressed(int key) {
  // Many laptops have no PAUSE key.
  if (key == keys::PAUSE || key == keys::BACKSPACE) {
    togglePause();
    return;
  }
  const bool playing = !match.paused;
  if ((playing && flightKey(key, true)) || toggleKey(key)) {
    return;
  }
  switch (key) {
    case keys::F1: printHelp(); break;
    case keys::F4:
      settings.samplingMode = (settings.samplingMode - 1) & 1;
      out << "Texture sampling quality " << scene::samplingModeName(settings.samplingMode) << std::endl;
      break;
    case keys::F5:
      settings.mipmapMode = (settings.mipmapMode + 1) % 3;
      out << "Mipmap mode " << scene::mipmapModeName(settings.mipmapMode) << std::endl;
      break;
    case keys::P: mouseSteering = !mouseSteering; break;
    case keys::ENTER:
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
    const input::PlayerKeys& keys = input::playerKeys[static_cast<std::size_t>(player)];
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
  match.events.add(match.paused ? MatchEvents::Kind::Paused : MatchEvents::Kind::Resumed);
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
  if (action == keys::PRESS && button == keys::MOUSE_LEFT && !match.paused) {
    match.fire(match.ship1.get(), match.ship2.get(), settings);
  }
}

void Controls::setWindowCentre(int x, int y) {
  centreX = x;
  centreY = y;
}

void Controls::printHelp() { out << helpText(settings, shownKeys) << std::flush; }

}  // namespace voidskirmish::game
