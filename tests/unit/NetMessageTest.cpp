#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include "input/Sharing.h"
#include "net/Message.h"

namespace voidskirmish::net {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace input;

// A message of one frame with `count` as its number of events, whatever follows.
Bytes frameBytes(std::uint8_t count, const std::vector<std::string>& events) {
  Bytes bytes = encode(Inputs{0, {FrameInputs{7, {}}}});
  bytes.back() = count;
  for (const std::string& text : events) {
    bytes.push_back(static_cast<std::uint8_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
  }
  return bytes;
}

// Every kind of message crosses between two games in tests/e2e/test_network.py; here what another build must
// find where it was: a frame's fields, whose numbers a short match never fills, and a Hello's protocol.
TEST(NetMessageTest, TheFrameLayoutAndWhereAHelloSaysItsProtocolAreFixed) {
  const Bytes frame = encode(Inputs{9, {FrameInputs{0x01020304, {KeyEvent{GLFW_KEY_W, true}}}}});
  const std::string event = "key press 87";
  // kind, received, frames; step, events, length
  Bytes expected{4, 9, 0, 0, 0, 1, 4, 3, 2, 1, 1, 12};
  expected.insert(expected.end(), event.begin(), event.end());
  EXPECT_EQ(frame, expected);
  // A Hello of a later protocol is read as far as its version, whatever follows.
  const Bytes later{1, 6, 0, 0xff, 0xff};
  EXPECT_EQ(std::get<Hello>(decode(later.data(), later.size())).protocol, 6);
}

TEST(NetMessageTest, EveryBrokenMessageIsRefusedWithItsReason) {
  const struct { Bytes bytes; const char* reason; } cases[] = {
      {{}, "cut short"},
      {{10}, "unknown message kind"},
      {{2, 0}, "1 bytes after"},
      {{3, 0}, "unknown refusal"},
      {{3, 4}, "unknown refusal"},
      {{1, 5, 0, 0}, "game version of 0"},
      {{1, 5, 0, 2, 'a', '\n', 0, 0, 0, 0, 0, 0, 0, 0, 0}, "not text"},
      {{1, 5, 0, 1, 'a', 0, 0, 0, 0, 0, 0, 0, 0, 2}, "spectator flag 2"},
      {{1, 5, 0, 1, 'a', 0, 0, 0, 0, 0, 0, 0, 0}, "cut short"},
      {{7, 0, 0, 0, 0, 0}, "0 frames"},
      {{7, 0, 0, 0, 0, 33}, "33 frames"},
      {{7, 0, 0, 0, 0, 1, 0, 0, 0x80, 0xbf, 0}, "delta out of range"},
      {{7, 0, 0, 0, 0, 1, 0, 0, 0x80, 0x3f, 1, 12, 'k', 'e', 'y', ' ', 's', 'i', 'z', 'e', ' ', '8', '0', '0'},
       "event 'key size 800'"},
      {{7, 0, 0, 0, 0, 2, 0, 0, 0x80, 0x3f, 0}, "cut short"},
      {{8, 0, 0, 0}, "cut short"},
      {{9, 0}, "1 bytes after"},
      {frameBytes(65, {}), "65 events"},
      {frameBytes(1, {""}), "event of 0"},
      {frameBytes(1, {"key press 999"}), "key code 999"},
      {frameBytes(1, {"size 800 600"}), "not a match event"},
      {frameBytes(1, {"frame 0.1"}), "not a match event"},
      {Bytes(MAX_MESSAGE_SIZE + 1, 4), "message of"},
      {{4, 0, 0, 0, 0, 81}, "81 frames"},
      {{6, 61, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}, "a match hash of frame 61"},
      {{6, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}, "a match hash of frame 0"},
      {encode(Inputs{0, {FrameInputs{5, {}}, FrameInputs{7, {}}}}), "frame 7 after frame 5"},
  };
  for (const auto& c : cases) {
    std::string reason = "accepted";
    try {
      decode(c.bytes.data(), c.bytes.size());
    } catch (const ProtocolError& error) {
      reason = error.what();
    }
    EXPECT_NE(reason.find(c.reason), std::string::npos) << c.reason << " → " << reason;
  }
}

TEST(NetMessageTest, EachMachineSharesItsMatchEventsAsItsOwnShipsAndKeepsTheRest) {
  const struct { Event event; int player; std::optional<Event> shared; } cases[] = {
      {KeyEvent{GLFW_KEY_W, true}, 1, KeyEvent{GLFW_KEY_UP, true}},
      {KeyEvent{GLFW_KEY_KP_0, false}, 0, KeyEvent{GLFW_KEY_SPACE, false}},
      {ButtonEvent{GLFW_MOUSE_BUTTON_LEFT, true}, 1, KeyEvent{GLFW_KEY_KP_0, true}},
      {KeyEvent{GLFW_KEY_ENTER, true}, 1, KeyEvent{GLFW_KEY_ENTER, true}},
      {PadLinkEvent{0, true, PadName("Pad")}, 1, PadLinkEvent{1, true, PadName("Pad")}},
      {PadControlEvent{0, input::PadControl::Fire, 1.0f}, 1, PadControlEvent{1, input::PadControl::Fire, 1.0f}},
      {SteerEvent{0, 3.5, -2.0}, 1, SteerEvent{1, 3.5, -2.0}},
      {PadControlEvent{1, input::PadControl::Yaw, 0.5f}, 0, std::nullopt},  // a second pad
      {ButtonEvent{GLFW_MOUSE_BUTTON_RIGHT, true}, 0, std::nullopt},
      {KeyEvent{GLFW_KEY_P, true}, 0, std::nullopt},
      {KeyEvent{GLFW_KEY_ESCAPE, true}, 1, std::nullopt},
  };
  for (const auto& c : cases) {
    const std::string what = formatEvent(c.event) + " for player " + std::to_string(c.player);
    EXPECT_EQ(ownShipEvent(c.event, c.player), c.shared) << what;
    // What one machine shares the other accepts as that machine's ship's, and never as the other ship's.
    const bool everybodys = c.shared == Event(KeyEvent{GLFW_KEY_ENTER, true});
    EXPECT_TRUE(!c.shared ||
                (isOwnShipEvent(*c.shared, c.player) && isOwnShipEvent(*c.shared, 1 - c.player) == everybodys))
        << what;
  }
}

}  // namespace
}  // namespace voidskirmish::net
