#pragma once

#include <array>
#include <ostream>

#include "game/Match.h"
#include "input/ShipKeys.h"
#include "scene/RenderSettings.h"

namespace voidskirmish::game {

// Everything the keyboard and mouse do to a match: flight and fire keys of both players, the toggles with their
// console confirmations, help, restart, pause, and mouse steering of the top ship. Free of GLFW calls: the owner
// puts the cursor back when cursorMoved asks for it. While the match is paused flight, fire, steering and
// restart do nothing, but releases still clear held controls, so nothing is stuck on resume.
class Controls {
 public:
  Controls(Match& match, scene::RenderSettings& settings, std::ostream& out);

  void keyPressed(int key);
  void keyReleased(int key);
  // Turns mouseShip by the cursor's distance from the window centre; true when the cursor must be re-centred.
  bool cursorMoved(double x, double y);
  // Mouse steering in a network match, where each machine steers its own ship: turns `player`'s ship by the
  // cursor's distance (dx, dy) from its window's centre, exactly as cursorMoved turns the top ship.
  void steerByMouse(int player, double dx, double dy);
  void mouseButton(int button, int action);
  void setWindowCentre(int x, int y);
  void printHelp();


  // What changes in play besides the match and the settings.
  struct Saved {
    bool mouseSteering;
    int centreX, centreY;
  };
  Saved save() const { return {mouseSteering, centreX, centreY}; }
  void restore(const Saved& saved) {
    mouseSteering = saved.mouseSteering;
    centreX = saved.centreX;
    centreY = saved.centreY;
  }

  bool mouseSteering = false;
  objects::Spaceship* mouseShip;
  // The keys the players bound, as the help names them; the keys that reach keyPressed are the game's own.
  std::array<input::PlayerKeys, 2> shownKeys = input::playerKeys;
  int centreX = 0;
  int centreY = 0;

 private:
  bool flightKey(int key, bool pressed);
  bool toggleKey(int key);
  void togglePause();
  // Turns the ship by the cursor's distance from the centre, in pixels toward the left and the top.
  static void turn(objects::Spaceship& ship, double left, double up);

  Match& match;
  scene::RenderSettings& settings;
  std::ostream& out;
};

}  // namespace voidskirmish::game
