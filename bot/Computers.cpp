#include "bot/Computers.h"

#include <algorithm>

#include "input/Keys.h"
#include "input/ShipKeys.h"

namespace voidskirmish::bot {
namespace {

bool isShipKey(int key, int ship) {
  const input::PlayerKeys& k = input::playerKeys[ship];
  for (const int own : {k.forward, k.backward, k.left, k.right, k.up, k.down, k.fire}) {
    if (key == own) {
      return true;
    }
  }
  return false;
}

// Input of a person for `ship`'s flight and fire.
struct Personal {
  int ship;

  bool operator()(const input::KeyEvent& e) const { return isShipKey(e.key, ship); }
  bool operator()(const input::CursorEvent&) const { return ship == 0; }  // mouse steering flies ship1
  bool operator()(const input::ButtonEvent& e) const { return ship == 0 && e.button == input::keys::MOUSE_LEFT; }
  bool operator()(const input::SizeEvent&) const { return false; }
  bool operator()(const input::PadLinkEvent& e) const { return e.ship == ship; }
  bool operator()(const input::PadControlEvent& e) const { return e.ship == ship; }
  bool operator()(const input::SteerEvent& e) const { return e.ship == ship; }
  bool operator()(const input::ComputerEvent&) const { return false; }
};

}  // namespace

Computers::Computers(const std::vector<std::pair<int, input::ComputerLevel>>& ships) {
  for (const auto& [ship, level] : ships) {
    pilots.emplace_back(ship, level);
  }
}

bool Computers::flies(int ship) const {
  return std::any_of(pilots.begin(), pilots.end(), [ship](const Pilot& pilot) { return pilot.ship() == ship; });
}

bool Computers::isPersonal(const input::Event& event) const {
  return std::any_of(pilots.begin(), pilots.end(),
                     [&](const Pilot& pilot) { return std::visit(Personal{pilot.ship()}, event); });
}

void Computers::dropPersonalInput(std::vector<input::Event>& events) const {
  events.erase(std::remove_if(events.begin(), events.end(), [this](const input::Event& e) { return isPersonal(e); }),
               events.end());
}

void Computers::decide(game::Match& match, float delta, std::vector<input::Event>& events) {
  if (!announced) {
    for (const Pilot& pilot : pilots) {
      events.push_back(input::ComputerEvent{pilot.ship(), pilot.level()});
    }
    announced = true;
    return;  // the computer takes the ships in this frame and flies them from the next
  }
  for (Pilot& pilot : pilots) {
    pilot.decide(match, delta, events);
  }
  if (!fliesBoth() || match.paused) {
    return;
  }
  const bool roundOver = !match.ship1->alive || !match.ship2->alive;
  sinceRoundEnded = roundOver ? sinceRoundEnded + delta : 0.0f;
  if (sinceRoundEnded >= RESTART_SECONDS) {
    // A tap within one frame, as a quick press of the key.
    events.push_back(input::KeyEvent{input::keys::ENTER, true});
    events.push_back(input::KeyEvent{input::keys::ENTER, false});
    sinceRoundEnded = 0.0f;
  }
}

}  // namespace voidskirmish::bot
