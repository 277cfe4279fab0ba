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

// A pad at rest: sticks centred, triggers let go.
GLFWgamepadstate restingPad() {
  GLFWgamepadstate state{};
  state.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = -1.0f;
  state.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = -1.0f;
  return state;
}

// The events of one look, one text line each.
std::string look(input::PadReader& reader, int pad, const GLFWgamepadstate* state, const char* name = "Pad") {
  std::vector<input::Event> events;
  reader.look(pad, state, name, events);
  std::string text;
  for (const input::Event& event : events) {
    text += input::formatEvent(event) + "\n";
  }
  return text;
}

TEST(PadReaderTest, SticksTriggersAndButtonsBecomeShipControls) {
  const struct {
    float x, y, leftTrigger, rightTrigger;
    std::vector<int> buttons;
    const char* events;
  } steps[] = {
      {0.19f, -0.2f, -1, -1, {}, ""},  // inside the dead zone
      {-0.5f, 0, -1, -1, {}, "pad ship1 yaw 0.5\n"},  // half left: half a turn key, to the left
      {1, 1, -1, -1, {}, "pad ship1 yaw -1\npad ship1 pitch 1\n"},  // pulled back: nose up
      {1.3f, NAN, -1, -1, {}, "pad ship1 pitch 0\n"},  // never beyond a key; no number is centred
      {0.1f, -0.7f, -1, -1, {}, "pad ship1 yaw 0\npad ship1 pitch -0.7\n"},
      {0, 0, -1, 0.1f, {}, "pad ship1 pitch 0\n"},  // 55 % of the pull: not yet
      {0, 0, -1, 0.3f, {}, "pad ship1 thrust 1\n"},
      {0, 0, -1, 0, {}, ""},  // half the pull, as an absent trigger reads: still held
      {0, 0, -1, -0.3f, {}, "pad ship1 thrust 0\n"},
      {0, 0, -1, 0, {}, ""},  // and not pressed again
      {0, 0, -1, -1, {GLFW_GAMEPAD_BUTTON_A}, "pad ship1 thrust 1\n"},
      {0, 0, -1, -1, {GLFW_GAMEPAD_BUTTON_A, GLFW_GAMEPAD_BUTTON_B}, "pad ship1 thrust 0\n"},
      {0, 0, -1, -1, {GLFW_GAMEPAD_BUTTON_B}, "pad ship1 thrust -1\n"},
      {0, 0, 1, -1, {}, ""},
      {0, 0, -1, -1, {GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER}, "pad ship1 thrust 0\npad ship1 fire 1\n"},
      {0, 0, -1, -1, {GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER, GLFW_GAMEPAD_BUTTON_X}, ""},  // once per press
      {0, 0, -1, -1, {GLFW_GAMEPAD_BUTTON_X}, ""},
      {0, 0, -1, -1, {}, "pad ship1 fire 0\n"},
      {0, 0, -1, -1, {GLFW_GAMEPAD_BUTTON_X, GLFW_GAMEPAD_BUTTON_START}, "pad ship1 fire 1\nkey press 257\n"},
      {0, 0, -1, -1, {GLFW_GAMEPAD_BUTTON_Y, GLFW_GAMEPAD_BUTTON_BACK}, "pad ship1 fire 0\nkey release 257\n"},
  };
  input::PadReader reader(std::cout);
  GLFWgamepadstate state = restingPad();
  ASSERT_EQ(look(reader, 3, &state, "Pad 3"), "pad ship1 connect Pad 3\n");
  for (const auto& step : steps) {
    state = restingPad();
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = step.x;
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = step.y;
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = step.leftTrigger;
    state.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = step.rightTrigger;
    for (const int button : step.buttons) {
      state.buttons[button] = GLFW_PRESS;
    }
    EXPECT_EQ(look(reader, 3, &state), step.events) << step.x << " " << step.y << " " << step.rightTrigger;
  }
}

TEST(PadReaderTest, PadsTakeTheFirstFreeShipAndAThirdIsNotUsed) {
  std::ostringstream out;
  input::PadReader reader(out);
  const GLFWgamepadstate resting = restingPad();
  GLFWgamepadstate holding = resting;
  holding.buttons[GLFW_GAMEPAD_BUTTON_START] = GLFW_PRESS;
  holding.buttons[GLFW_GAMEPAD_BUTTON_A] = GLFW_PRESS;

  EXPECT_EQ(look(reader, 2, &holding, "Left"), "pad ship1 connect Left\npad ship1 thrust 1\nkey press 257\n");
  EXPECT_EQ(look(reader, 5, &resting, "Right"), "pad ship2 connect Right\n");
  EXPECT_EQ(look(reader, 7, &resting, "Third"), "");
  EXPECT_EQ(look(reader, 7, &holding), "");
  EXPECT_EQ(out.str(), "Gamepad not used, both ships have one: Third\n");
  // The game lets go of the thrust; ENTER only the reader knew of.
  EXPECT_EQ(look(reader, 2, nullptr), "key release 257\npad ship1 disconnect\n");
  EXPECT_EQ(look(reader, 2, nullptr), "");
  EXPECT_EQ(look(reader, 9, &resting, "Late"), "pad ship1 connect Late\n");
  EXPECT_EQ(look(reader, 7, nullptr), "");
  EXPECT_EQ(look(reader, 5, nullptr), "pad ship2 disconnect\n");
  // A returning pad starts from nothing held, whatever it held when it went.
  EXPECT_EQ(look(reader, 5, &holding, "\x01Pad\xc3\xa9"),
            "pad ship2 connect ?Pad??\npad ship2 thrust 1\nkey press 257\n");
  EXPECT_EQ(input::recordableName(nullptr).text(), "Gamepad");
  EXPECT_EQ(input::recordableName(std::string(70, 'x').c_str()).text(), std::string(64, 'x'));
  EXPECT_EQ(out.str(), "Gamepad not used, both ships have one: Third\n");
}

TEST(PadTextTest, PadLinesReadBackAsWrittenAndBadOnesAreRefused) {
  for (const char* line : {"pad ship1 connect Xbox 360 Controller", "pad ship1 connect  spaced  name ",
                           "pad ship2 disconnect", "pad ship2 yaw -0.5", "pad ship1 pitch 1", "pad ship1 thrust -1",
                           "pad ship2 fire 0"}) {
    input::BodyLine parsed;
    std::string error;
    ASSERT_TRUE(input::parseBodyLine(line, parsed, error)) << line << ": " << error;
    EXPECT_EQ(input::formatEvent(std::get<input::Event>(parsed)), line);
  }
  const std::string longName = "pad ship1 connect " + std::string(65, 'x');
  const struct {
    std::string line;
    const char* error;
  } bad[] = {
      {"pad ship3 yaw 1", "expected ship1 or ship2, found 'ship3'"},
      {"pad ship1 yaw 1.5", "pad value 1.5 is out of range"},
      {"pad ship1 pitch nan", "pad value is not finite"},
      {"pad ship1 fire 0.5", "pad fire is not a number: '0.5'"},
      {"pad ship1 fire 2", "pad fire 2 is out of range"},
      {"pad ship1 roll 1", "unknown pad control 'roll'"},
      {"pad ship1 yaw", "expected 4 words, found 3"},
      {"pad ship1 disconnect now", "expected 3 words, found 4"},
      {"pad ship1 connect", "missing pad name"},
      {"pad ship1 connect ", "missing pad name"},
      {"pad ship1 connect A\tB", "pad name is not up to 64 printable characters"},
      {longName, "pad name is not up to 64 printable characters"},
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
  const struct {
    PadControl control;
    float value;
    bool Spaceship::*on;
    bool Spaceship::*off;
    float Spaceship::*acceleration;
    float expected;  // the keys store ±60 and ±0.5
  } steps[] = {
      {PadControl::Yaw, 1.0f, &Spaceship::yawLeft, &Spaceship::yawRight, &Spaceship::yawAcceleration, 0.5f},
      {PadControl::Yaw, -0.5f, &Spaceship::yawRight, &Spaceship::yawLeft, &Spaceship::yawAcceleration, -0.25f},
      {PadControl::Pitch, 0.5f, &Spaceship::pitchUp, &Spaceship::pitchDown, &Spaceship::pitchAcceleration, 0.25f},
      {PadControl::Thrust, -1.0f, &Spaceship::thrustBackward, &Spaceship::thrustForward, &Spaceship::thrust, -60},
  };
  for (const auto& step : steps) {
    pads.control(0, step.control, step.value);
    EXPECT_TRUE(ship.*step.on);
    EXPECT_FALSE(ship.*step.off);
    EXPECT_FLOAT_EQ(ship.*step.acceleration, step.expected);
  }
  ship.yawLeft = true;  // the key of the other direction, pressed on the keyboard, stays held
  pads.control(0, PadControl::Yaw, 0.0f);
  EXPECT_TRUE(ship.yawLeft);
  EXPECT_FALSE(ship.yawRight);
  EXPECT_FLOAT_EQ(ship.yawAcceleration, -0.25f);  // a release keeps the value, as a key's does

  for (const float fire : {1.0f, 0.0f, 1.0f}) {
    pads.control(0, PadControl::Fire, fire);
  }
  EXPECT_EQ(game::objects::laserBeams.size(), 2u);
  match->paused = true;  // a paused match takes neither fire nor a new push, but lets go
  pads.control(0, PadControl::Fire, 1.0f);
  pads.control(0, PadControl::Pitch, -1.0f);
  EXPECT_EQ(game::objects::laserBeams.size(), 2u);
  EXPECT_FALSE(ship.pitchDown);
  pads.control(0, PadControl::Pitch, 0.0f);
  EXPECT_FALSE(ship.pitchUp);
  match->paused = false;

  out.str("");
  pads.linked(0, false, "");
  EXPECT_EQ(out.str(), "Gamepad disconnected from ship1\n");
  EXPECT_FALSE(ship.thrustBackward || ship.pitchUp);
  EXPECT_TRUE(ship.yawLeft);
  pads.control(0, PadControl::Thrust, 1.0f);
  EXPECT_FALSE(ship.thrustForward);
  EXPECT_FALSE(ship2().yawLeft || ship2().pitchUp || ship2().thrustBackward);
}

}  // namespace
}  // namespace voidskirmish::testing
