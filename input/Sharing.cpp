#include "input/Sharing.h"

#include "input/Keys.h"
#include "input/ShipKeys.h"

namespace voidskirmish::input {
namespace {

// A machine's first pad is the one the pad reader gives ship1.
constexpr int FIRST_PAD = 0;

struct OwnShip {
  int player;

  std::optional<Event> operator()(KeyEvent e) const {
    if (!isMatchKey(e.key)) {
      return std::nullopt;
    }
    e.key = ownShipKey(e.key, player);
    return e;
  }
  std::optional<Event> operator()(const ButtonEvent& e) const {
    if (e.button != keys::MOUSE_LEFT) {
      return std::nullopt;
    }
    // The left button fires as the fire key does: when pressed and the match is not paused.
    return KeyEvent{ownShipKey(keys::SPACE, player), e.pressed};
  }
  std::optional<Event> operator()(PadLinkEvent e) const { return ownPad(e); }
  std::optional<Event> operator()(PadControlEvent e) const { return ownPad(e); }
  std::optional<Event> operator()(SteerEvent e) const {
    e.ship = player;
    return e;
  }
  // The computer makes its events for the ship it flies; only the own ship's travel.
  std::optional<Event> operator()(const ComputerEvent& e) const {
    return e.ship == player ? std::optional<Event>(e) : std::nullopt;
  }
  std::optional<Event> operator()(const CursorEvent&) const { return std::nullopt; }
  std::optional<Event> operator()(const SizeEvent&) const { return std::nullopt; }

  template <typename PadEvent>
  std::optional<Event> ownPad(PadEvent e) const {
    if (e.ship != FIRST_PAD) {
      return std::nullopt;
    }
    e.ship = player;
    return e;
  }
};

struct OwnShipOnly {
  int player;

  // ENTER and the pause keys are nobody's and stay as they are.
  bool operator()(const KeyEvent& e) const {
    return isMatchKey(e.key) && ownShipKey(e.key, player) == e.key;
  }
  bool operator()(const CursorEvent&) const { return false; }
  bool operator()(const ButtonEvent&) const { return false; }  // shared as the fire key
  bool operator()(const SizeEvent&) const { return false; }
  bool operator()(const PadLinkEvent& e) const { return e.ship == player; }
  bool operator()(const PadControlEvent& e) const { return e.ship == player; }
  bool operator()(const SteerEvent& e) const { return e.ship == player; }
  bool operator()(const ComputerEvent& e) const { return e.ship == player; }
};

}  // namespace

bool isOwnShipEvent(const Event& event, int player) { return std::visit(OwnShipOnly{player}, event); }

std::optional<Event> ownShipEvent(const Event& event, int player) { return std::visit(OwnShip{player}, event); }

}  // namespace voidskirmish::input
