#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "app/CommandLine.h"
#include "game/Controls.h"
#include "input/EventText.h"
#include "input/RecordingReader.h"
#include "input/RecordingWriter.h"
#include "input/Sharing.h"

namespace voidskirmish::input {
namespace {

TEST(NetPlayTest, EachMachineSharesItsMatchEventsAsItsOwnShipsAndKeepsTheRest) {
  struct Case {
    Event event;
    int player;
    std::optional<Event> shared;
  };
  const Case cases[] = {
      {KeyEvent{GLFW_KEY_W, true}, 1, KeyEvent{GLFW_KEY_UP, true}},
      {KeyEvent{GLFW_KEY_KP_0, false}, 0, KeyEvent{GLFW_KEY_SPACE, false}},
      {ButtonEvent{GLFW_MOUSE_BUTTON_LEFT, true}, 1, KeyEvent{GLFW_KEY_KP_0, true}},
      {KeyEvent{GLFW_KEY_ENTER, true}, 1, KeyEvent{GLFW_KEY_ENTER, true}},
      {PadLinkEvent{0, true, PadName("Pad")}, 1, PadLinkEvent{1, true, PadName("Pad")}},
      {PadControlEvent{0, game::PadControl::Fire, 1.0f}, 1, PadControlEvent{1, game::PadControl::Fire, 1.0f}},
      {SteerEvent{0, 3.5, -2.0}, 1, SteerEvent{1, 3.5, -2.0}},
      {PadControlEvent{1, game::PadControl::Yaw, 0.5f}, 0, std::nullopt},  // a second pad
      {ButtonEvent{GLFW_MOUSE_BUTTON_RIGHT, true}, 0, std::nullopt},
      {KeyEvent{GLFW_KEY_P, true}, 0, std::nullopt},
      {KeyEvent{GLFW_KEY_F3, true}, 1, std::nullopt},
      {KeyEvent{GLFW_KEY_ESCAPE, true}, 0, std::nullopt},
      {CursorEvent{10.0, 20.0}, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    const std::string what = formatEvent(c.event) + " for player " + std::to_string(c.player);
    EXPECT_EQ(ownShipEvent(c.event, c.player), c.shared) << what;
    // What arrives is played only when it is a match event, alike on both machines.
    EXPECT_TRUE(!c.shared || isMatchEvent(*c.shared)) << what;
  }
  EXPECT_FALSE(isMatchEvent(ButtonEvent{GLFW_MOUSE_BUTTON_LEFT, true}));
  EXPECT_FALSE(isMatchEvent(KeyEvent{GLFW_KEY_F12, true}));
}

TEST(NetPlayTest, ASteerTurnsTheShipByTheBitsTheSameCursorDistanceGives) {
  game::Match match(game::Match::Programs{});
  game::RenderSettings settings;
  std::ostringstream out;
  game::Controls controls(match, settings, out);
  controls.setWindowCentre(512, 384);
  controls.mouseSteering = true;
  controls.cursorMoved(612.75, 300.5);
  controls.steerByMouse(1, 612.75 - 512, 300.5 - 384);
  EXPECT_EQ(std::memcmp(&match.ship1->modelMatrix[0], &match.ship2->modelMatrix[0], 3 * sizeof(glm::vec4)), 0);
  const glm::mat4 turned = match.ship2->modelMatrix;
  match.paused = true;
  controls.steerByMouse(1, 50.0, 0.0);
  match.paused = false;
  match.ship2->lifePoints = 0.0f;
  controls.steerByMouse(1, 50.0, 0.0);
  EXPECT_EQ(match.ship2->modelMatrix, turned) << "a paused match or a dead ship takes no steering";
}

TEST(NetPlayTest, ANetworkRecordingSaysWhichShipItFlewAndCarriesSteering) {
  const std::string path = ::testing::TempDir() + "network.rec";
  const std::vector<Event> events{SteerEvent{1, -12.0, 0.25}, KeyEvent{GLFW_KEY_UP, true}};
  {
    std::string error;
    auto writer = RecordingWriter::open(path, error);
    writer->writeHeader(RecordingHeader{1, "1.1.0", false, 1024, 768, 1});
    writer->writeFrame(events, 0.25f);
  }
  const Recording recording = readRecordingFile(path);
  EXPECT_EQ(recording.header.networkPlayer, 1);
  ASSERT_EQ(recording.frames.size(), 1u);
  EXPECT_EQ(recording.frames[0].events, events);
  for (const char* bad : {"network ship3\n", "steer ship1 2000000 0\nframe 0.1\n", "steer 1 2 3\nframe 0.1\n"}) {
    std::istringstream in(std::string("voidskirmish-recording 1\ngame 1.1.0\nwindow windowed 1024 768\n") + bad);
    EXPECT_THROW(readRecording(in), BadRecording) << bad;
  }
}

TEST(NetPlayTest, NetworkOptions) {
  const auto parse = [](std::vector<const char*> args) {
    args.insert(args.begin(), "voidskirmish");
    return app::parseCommandLine(static_cast<int>(args.size()), args.data());
  };
  const app::Options joiner = *parse({"--join", "::1", "--port", "5000", "--net-check", "--record", "a"}).options;
  EXPECT_TRUE(*joiner.joinAddress == "::1" && joiner.port == 5000 && joiner.netCheck && !joiner.host);
  EXPECT_EQ(parse({"--host"}).options->port, 47610);
  ::testing::internal::CaptureStderr();
  for (const auto& wrong : {std::vector<const char*>{"--port", "5000"}, {"--host", "--join", "a"},
                            {"--host", "--replay", "a"}, {"--host", "--port", "0"}}) {
    EXPECT_EQ(parse(wrong).exitCode, 2) << wrong[0] << " " << wrong[1];
  }
  ::testing::internal::GetCapturedStderr();
}

}  // namespace
}  // namespace voidskirmish::input
