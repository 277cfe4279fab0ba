#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

#include "WorldFixture.h"
#include "game/PadControls.h"
#include "input/EventText.h"
#include "input/PadReader.h"

namespace voidskirmish::testing {
namespace {

using game::PadControl;
using game::objects::Spaceship;

// A pad with the left stick at (x, y), the triggers at the given pulls (−1 let go) and the buttons held.
GLFWgamepadstate pad(float x = 0, float y = 0, float leftTrigger = -1, float rightTrigger = -1,
                     const std::vector<int>& buttons = {}) {
  GLFWgamepadstate state{};
  state.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = x;
  state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = y;
  state.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = leftTrigger;
  state.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = rightTrigger;
  for (const int button : buttons) {
    state.buttons[button] = GLFW_PRESS;
  }
  return state;
}

// The events of one look, one text line each.
std::string look(input::PadReader& reader, int id, const GLFWgamepadstate* state, const char* name = "Pad") {
  std::vector<input::Event> events;
  reader.look(id, state, name, events);
  std::string text;
  for (const input::Event& event : events) {
    text += input::formatEvent(event) + "\n";
  }
  return text;
}

TEST(PadReaderTest, SticksTriggersAndButtonsBecomeShipControlsAndPadsTakeTheFirstFreeShip) {
  enum { A = GLFW_GAMEPAD_BUTTON_A, B = GLFW_GAMEPAD_BUTTON_B, X = GLFW_GAMEPAD_BUTTON_X };
  enum { RB = GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER, START = GLFW_GAMEPAD_BUTTON_START };
  const struct { GLFWgamepadstate state; const char* events; } steps[] = {
      {pad(0.19f, -0.2f), ""},  // inside the dead zone
      {pad(-0.5f, 0), "pad ship1 yaw 0.5\n"},  // half left: half a turn key, to the left
      {pad(1, 1), "pad ship1 yaw -1\npad ship1 pitch 1\n"},  // pulled back: nose up
      {pad(1.3f, NAN), "pad ship1 pitch 0\n"},  // never beyond a key; no number is centred
      {pad(0.1f, -0.7f), "pad ship1 yaw 0\npad ship1 pitch -0.7\n"},
      {pad(0, 0, -1, 0.1f), "pad ship1 pitch 0\n"},  // 55 % of the pull: not yet
      {pad(0, 0, -1, 0.3f), "pad ship1 thrust 1\n"},
      {pad(0, 0, -1, 0), ""},  // half the pull, as an absent trigger reads: still held
      {pad(0, 0, -1, -0.3f), "pad ship1 thrust 0\n"},
      {pad(0, 0, -1, 0), ""},  // and not pressed again
      {pad(0, 0, -1, -1, {A}), "pad ship1 thrust 1\n"},
      {pad(0, 0, -1, -1, {A, B}), "pad ship1 thrust 0\n"},
      {pad(0, 0, -1, -1, {B}), "pad ship1 thrust -1\n"},
      {pad(0, 0, 1), ""},
      {pad(0, 0, -1, -1, {RB}), "pad ship1 thrust 0\npad ship1 fire 1\n"},
      {pad(0, 0, -1, -1, {RB, X}), ""},  // once per press
      {pad(0, 0, -1, -1, {}), "pad ship1 fire 0\n"},
      {pad(0, 0, -1, -1, {X, START}), "pad ship1 fire 1\nkey press 257\n"},
      {pad(0, 0, -1, -1, {GLFW_GAMEPAD_BUTTON_Y, GLFW_GAMEPAD_BUTTON_BACK}), "pad ship1 fire 0\nkey release 257\n"},
  };
  std::ostringstream out;
  input::PadReader reader(out);
  const GLFWgamepadstate resting = pad(), holding = pad(0, 0, -1, -1, {START, A});
  ASSERT_EQ(look(reader, 3, &resting, "Pad 3"), "pad ship1 connect Pad 3\n");
  for (const auto& step : steps) {
    EXPECT_EQ(look(reader, 3, &step.state), step.events) << &step - steps;
  }

  EXPECT_EQ(look(reader, 2, &resting, "Right"), "pad ship2 connect Right\n");
  EXPECT_EQ(look(reader, 7, &holding, "Third"), "");
  EXPECT_EQ(look(reader, 3, &holding), "pad ship1 thrust 1\nkey press 257\n");
  // The game lets go of the thrust; ENTER only the reader knew of.
  EXPECT_EQ(look(reader, 3, nullptr), "key release 257\npad ship1 disconnect\n");
  EXPECT_EQ(look(reader, 3, nullptr) + look(reader, 7, nullptr), "");
  EXPECT_EQ(look(reader, 9, &resting, "Late"), "pad ship1 connect Late\n");
  EXPECT_EQ(look(reader, 2, nullptr), "pad ship2 disconnect\n");
  // A returning pad starts from nothing held, whatever it held when it went.
  EXPECT_EQ(look(reader, 2, &holding, "\x01Pad\xc3\xa9"), "pad ship2 connect ?Pad??\npad ship2 thrust 1\nkey press 257\n");
  EXPECT_EQ(input::recordableName(nullptr).text(), "Gamepad");
  EXPECT_EQ(input::recordableName(std::string(70, 'x').c_str()).text(), std::string(64, 'x'));
  EXPECT_EQ(out.str(), "Gamepad not used, both ships have one: Third\n");  // once
}

TEST(PadTextTest, PadLinesReadBackAsWrittenAndBadOnesAreRefused) {
  for (const char* line : {"pad ship1 connect  spaced  name ", "pad ship2 disconnect", "pad ship2 yaw -0.5",
                           "pad ship1 pitch 1", "pad ship1 thrust -1", "pad ship2 fire 0"}) {
    input::BodyLine parsed;
    std::string error;
    ASSERT_TRUE(input::parseBodyLine(line, parsed, error)) << line << ": " << error;
    EXPECT_EQ(input::formatEvent(std::get<input::Event>(parsed)), line);
  }
  const struct { std::string line; const char* error; } bad[] = {
      {"pad ship3 yaw 1", "expected ship1 or ship2, found 'ship3'"},
      {"pad ship1 yaw 1.5", "pad value 1.5 is out of range"},
      {"pad ship1 pitch nan", "pad value is not finite"},
      {"pad ship1 fire 0.5", "pad fire is not a number: '0.5'"},
      {"pad ship1 fire 2", "pad fire 2 is out of range"},
      {"pad ship1 roll 1", "unknown pad control 'roll'"},
      {"pad ship1 yaw", "expected 4 words, found 3"},
      {"pad ship1 disconnect now", "expected 3 words, found 4"},
      {"pad ship1 connect", "missing pad name"}, {"pad ship1 connect ", "missing pad name"},
      {"pad ship1 connect A\tB", "pad name is not up to 64 printable characters"},
      {"pad ship1 connect " + std::string(65, 'x'), "pad name is not up to 64 printable characters"},
  };
  for (const auto& c : bad) {
    input::BodyLine parsed;
    std::string error;
    EXPECT_FALSE(input::parseBodyLine(c.line, parsed, error)) << c.line;
    EXPECT_EQ(error, c.error) << c.line;
  }
}

using PadControlsTest = MatchTest;

TEST_F(PadControlsTest, APadFliesItsShipLikeItsKeysAndLetsGoWhenItLeaves) {
  std::ostringstream out;
  game::PadControls pads(*match, settings, out);
  Spaceship& ship = ship1();
  pads.control(0, PadControl::Yaw, 1.0f);  // no pad yet
  EXPECT_FALSE(ship.yawLeft);

  pads.linked(0, true, "Pad One");
  EXPECT_EQ(out.str(), "Gamepad connected for ship1: Pad One\n" + std::string(game::PadControls::BINDINGS));
  using Flag = bool Spaceship::*;
  const struct { PadControl control; float value; Flag on, off; float Spaceship::*acceleration; float expected; } steps[] = {
      {PadControl::Yaw, 1.0f, &Spaceship::yawLeft, &Spaceship::yawRight, &Spaceship::yawAcceleration, 0.5f},
      {PadControl::Yaw, -0.5f, &Spaceship::yawRight, &Spaceship::yawLeft, &Spaceship::yawAcceleration, -0.25f},
      {PadControl::Pitch, 0.5f, &Spaceship::pitchUp, &Spaceship::pitchDown, &Spaceship::pitchAcceleration, 0.25f},
      {PadControl::Thrust, -1.0f, &Spaceship::thrustBackward, &Spaceship::thrustForward, &Spaceship::thrust, -60},
  };  // the keys store ±60 and ±0.5
  for (const auto& step : steps) {
    pads.control(0, step.control, step.value);
    EXPECT_TRUE(ship.*step.on && !(ship.*step.off));
    EXPECT_FLOAT_EQ(ship.*step.acceleration, step.expected);
  }
  ship.yawLeft = true;  // the key of the other direction, pressed on the keyboard, stays held
  pads.control(0, PadControl::Yaw, 0.0f);
  EXPECT_TRUE(ship.yawLeft && !ship.yawRight);
  EXPECT_FLOAT_EQ(ship.yawAcceleration, -0.25f);  // a release keeps the value, as a key's does

  for (const float fire : {1.0f, 0.0f, 1.0f}) {
    pads.control(0, PadControl::Fire, fire);
  }
  match->paused = true;  // a paused match takes neither fire nor a new push, but lets go
  pads.control(0, PadControl::Fire, 1.0f);
  pads.control(0, PadControl::Pitch, -1.0f);
  EXPECT_TRUE(game::objects::laserBeams.size() == 2u && !ship.pitchDown);
  pads.control(0, PadControl::Pitch, 0.0f);
  EXPECT_FALSE(ship.pitchUp);
  match->paused = false;

  out.str("");
  pads.linked(0, false, "");
  EXPECT_EQ(out.str(), "Gamepad disconnected from ship1\n");
  EXPECT_TRUE(ship.yawLeft && !ship.thrustBackward);
  pads.control(0, PadControl::Thrust, 1.0f);
  EXPECT_FALSE(ship.thrustForward || ship2().yawLeft || ship2().pitchUp || ship2().thrustBackward);
}

}  // namespace
}  // namespace voidskirmish::testing
