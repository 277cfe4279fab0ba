#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstring>
#include <sstream>
#include <vector>

#include "WorldFixture.h"
#include "app/Gamepads.h"
#include "game/Controls.h"
#include "game/PadControls.h"
#include "input/EventText.h"
#include "app/PadReader.h"
#include "tests/support/TestAssets.h"

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
std::string look(app::PadReader& reader, int id, const GLFWgamepadstate* state, const char* name = "Pad") {
  std::vector<input::Event> events;
  reader.look(id, state, name, events);
  std::string text;
  for (const input::Event& event : events) {
    text += input::formatEvent(event) + "\n";
  }
  return text;
}

// Anything but a small regular file would abort, block or stall the game before its first frame.
TEST(GamepadMappingsTest, OnlyASmallRegularFileIsUsedAndAnyOtherIsSaid) {
  TempFolder folder;
  const std::string mapping = "03000000aa0000000100000000000000,Pad,a:b0,platform:Linux,\n";
  std::string many = "# comment\n\n";
  for (long line = 0; line < app::Gamepads::MAX_MAPPINGS; ++line) {
    many += mapping;
  }
  writeBytes(folder.file("fine"), many);
  writeBytes(folder.file("many"), many + mapping);
  writeBytes(folder.file("large"), "");
  std::filesystem::resize_file(folder.file("large"), app::Gamepads::MAX_MAPPINGS_BYTES + 1);
  std::filesystem::create_directory(folder.file("folder"));
  mkfifo(folder.file("fifo").c_str(), 0600);
  std::filesystem::create_symlink("/dev/zero", folder.file("zero"));
  const struct { const char* name; const char* said; } rows[] = {
      {"missing", ""}, {"fine", ""}, {"many", "more than 5000 mappings"}, {"large", "larger than 2 MiB"},
      {"folder", "not a regular file"}, {"fifo", "not a regular file"}, {"zero", "not a regular file"}};
  for (const auto& row : rows) {
    std::ostringstream said;
    const std::optional<std::string> text = app::Gamepads::readMappings(folder.file(row.name), said);
    EXPECT_EQ(said.str(), *row.said ? "Gamepad mappings " + folder.file(row.name) + " not used: " + row.said + "\n" : "");
    EXPECT_EQ(text, row.name == std::string("fine") ? std::optional(many) : std::nullopt) << row.name;
  }
}

TEST(PadReaderTest, SticksTriggersAndButtonsBecomeShipControlsAndPadsTakeTheFirstFreeShip) {
  enum { A = GLFW_GAMEPAD_BUTTON_A, B = GLFW_GAMEPAD_BUTTON_B, X = GLFW_GAMEPAD_BUTTON_X };
  enum { Y = GLFW_GAMEPAD_BUTTON_Y, BACK = GLFW_GAMEPAD_BUTTON_BACK, START = GLFW_GAMEPAD_BUTTON_START };
  enum { RB = GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER };
  const struct { GLFWgamepadstate state; const char* events; } steps[] = {
      {pad(0.19f, -0.2f), ""},  // inside the dead zone
      {pad(-0.5f, 0), "pad ship1 yaw 0.5\n"},  // half left: half a turn key, to the left
      {pad(1, 1), "pad ship1 yaw -1\npad ship1 pitch 1\n"},  // pulled back: nose up
      {pad(1.3f, NAN), "pad ship1 pitch 0\n"},  // never beyond a key; no number is centred
      {pad(0, 0, -1, 0.1f), "pad ship1 yaw 0\n"},  // 55 % of the pull: not yet
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
      {pad(0, 0, -1, -1, {Y, BACK}), "pad ship1 fire 0\nkey release 257\n"},  // neither does a thing
  };
  std::ostringstream out;
  app::PadReader reader(out);
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
  EXPECT_EQ(look(reader, 2, &holding, "\x01Pad\xc3\xa9"),
            "pad ship2 connect ?Pad??\npad ship2 thrust 1\nkey press 257\n");
  EXPECT_EQ(app::recordableName(nullptr).text(), "Gamepad");
  EXPECT_EQ(app::recordableName(std::string(70, 'x').c_str()).text(), std::string(64, 'x'));
  EXPECT_EQ(out.str(), "Gamepad not used, both ships have one: Third\n");  // once
}

using PadControlsTest = MatchTest;

// The console lines, firing once per press and whole pushes turning the ships are replayed from
// tests/replays/pads.rec; here the shares of a push, and what a pause or a pad that goes lets go of.
TEST_F(PadControlsTest, APadFliesItsShipLikeItsKeysAndLetsGoWhenPausedOrGone) {
  std::ostringstream out;
  game::PadControls pads(*match, settings, out);
  Spaceship& ship = ship1();
  pads.linked(0, true, "Pad One");
  pads.control(0, PadControl::Yaw, -0.5f);
  pads.control(0, PadControl::Pitch, 0.5f);
  pads.control(0, PadControl::Thrust, -1.0f);
  EXPECT_TRUE(ship.yawRight && !ship.yawLeft && ship.pitchUp && ship.thrustBackward && !ship.thrustForward);
  EXPECT_FLOAT_EQ(ship.yawAcceleration, -0.25f);  // half a push: half the key's turn
  ship.yawLeft = true;  // the key of the other direction, pressed on the keyboard, stays held
  pads.control(0, PadControl::Yaw, 0.0f);
  EXPECT_TRUE(ship.yawLeft && !ship.yawRight);
  EXPECT_FLOAT_EQ(ship.yawAcceleration, -0.25f);  // a release keeps the value, as a key's does

  match->paused = true;  // a paused match takes neither fire nor a new push, but lets go
  pads.control(0, PadControl::Fire, 1.0f);
  pads.control(0, PadControl::Pitch, -1.0f);
  EXPECT_TRUE(match->laserBeams.empty() && ship.pitchUp && !ship.pitchDown);
  pads.control(0, PadControl::Pitch, 0.0f);
  EXPECT_FALSE(ship.pitchUp);
  match->paused = false;

  pads.linked(0, false, "");
  EXPECT_TRUE(ship.yawLeft && !ship.thrustBackward);
  pads.control(0, PadControl::Thrust, 1.0f);  // a ship without a pad is flown by its keys alone
  EXPECT_FALSE(ship.thrustForward || ship2().yawLeft || ship2().pitchUp || ship2().thrustBackward);
}

using SteerTest = MatchTest;

// Steering sent over the network turns ship1 to ship2 in tests/e2e/test_network.py, sideways only.
TEST_F(SteerTest, ASteerTurnsTheShipByTheBitsTheSameCursorDistanceGivesUnlessPausedOrDead) {
  std::ostringstream out;
  game::Controls controls(*match, settings, out);
  controls.setWindowCentre(512, 384);
  controls.mouseSteering = true;
  controls.cursorMoved(612.75, 300.5);
  controls.steerByMouse(1, 612.75 - 512, 300.5 - 384);
  EXPECT_EQ(std::memcmp(&ship1().modelMatrix[0], &ship2().modelMatrix[0], 3 * sizeof(glm::vec4)), 0);
  const glm::mat4 turned = ship2().modelMatrix;
  match->paused = true;
  controls.steerByMouse(1, 50.0, 0.0);
  match->paused = false;
  ship2().lifePoints = 0.0f;
  controls.steerByMouse(1, 50.0, 0.0);
  EXPECT_EQ(ship2().modelMatrix, turned) << "a paused match or a dead ship takes no steering";
}

}  // namespace
}  // namespace voidskirmish::testing
