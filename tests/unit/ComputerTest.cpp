#include <gtest/gtest.h>

#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <sstream>
#include <vector>

#include "bot/Computers.h"
#include "bot/Steering.h"
#include "game/Delivery.h"
#include "game/Play.h"
#include "input/EventText.h"
#include "input/Keys.h"

namespace voidskirmish::bot {
namespace {

using input::ComputerLevel;

ShipState at(glm::vec3 position, glm::vec3 forward, float speed = 0.0f) {
  ShipState ship;
  ship.position = position;
  const glm::vec3 back = -glm::normalize(forward);
  const glm::vec3 right = glm::normalize(glm::cross(std::abs(back.y) > 0.9f ? glm::vec3(1, 0, 0) : glm::vec3(0, 1, 0), back));
  ship.axes = glm::mat3(right, glm::cross(back, right), back);
  ship.speed = speed;
  return ship;
}

// With the real flight model and pad path: ship1 turns onto ship2 crossing its view 150 ahead at 40 units a
// second, and then keeps it in its sights as a hard computer would fire at it.
TEST(ComputerTest, AimsAtAMovingTargetAndKeepsItInSights) {
  std::ostringstream console;
  game::Play play(game::Match::Programs{}, console);
  for (glm::vec4& sphere : play.match.asteroids->asteroidSpheres) {
    sphere = glm::vec4(1e5f, 1e5f, 1e5f, 1.0f);
  }
  play.computerTakes(0, ComputerLevel::Hard);
  EXPECT_EQ(console.str(), "ship1 (top) is flown by the computer (hard)\n");
  const glm::mat4 start = glm::translate(glm::mat4(1.0f), glm::vec3(-150.0f, 0.0f, -150.0f));
  play.match.ship2->setModelMatrix(glm::scale(glm::rotate(start, -glm::half_pi<float>(), glm::vec3(0, 1, 0)),
                                              glm::vec3(2.0f)));
  play.match.ship2->speed = 40.0f;  // crossing to the right, drifting as nothing thrusts
  int inSights = 0;
  for (int frame = 0; frame < 600; ++frame) {
    const ShipState own = stateOf(*play.match.ship1);
    const ShipState enemy = stateOf(*play.match.ship2);
    const glm::vec3 aim = steering::aimPoint(own, enemy.position, enemy.velocity());
    const glm::vec2 stick = steering::turnToward(own, aim - own.position);
    play.padControl(0, input::PadControl::Yaw, stick.x);
    play.padControl(0, input::PadControl::Pitch, stick.y);
    play.update(1.0f / 60.0f);
    inSights += frame >= 300 && steering::inSights(stateOf(*play.match.ship1), play.match.ship2->position(), 6.0f, 0.0f);
  }
  EXPECT_GE(inSights, 280);
}

TEST(ComputerTest, TurnsTowardTheMarkAndStopsTheTurnBeforePassingIt) {
  struct Case {
    glm::vec3 direction;
    float yawRate;
    glm::vec2 stick;
  };
  const Case cases[] = {
      {{-1, 0, 0}, 0.0f, {1, 0}},          // left, at rest: full left
      {{1, 0, -1}, 0.0f, {-1, 0}},         // ahead right
      {{0, 1, -1}, 0.0f, {0, 1}},          // up
      {{0, 0, -1}, 0.0f, {0, 0}},          // on the mark
      {{-0.01f, 0, -1}, 1.0f, {-1.0f / 16, 0}},  // about to pass it turning left: a tap right stops the turn
      {{-1, 0, -1}, -0.5f, {1, 0}},        // turning away from it: pushing toward it stops that at once
  };
  for (const Case& c : cases) {
    ShipState ship = at(glm::vec3(0.0f), glm::vec3(0, 0, -1));
    ship.yawRate = c.yawRate;
    const glm::vec2 stick = steering::turnToward(ship, c.direction);
    EXPECT_NEAR(stick.x, c.stick.x, 1e-4f) << c.direction.x << " " << c.yawRate;
    EXPECT_NEAR(stick.y, c.stick.y, 1e-4f) << c.direction.y;
  }
}

TEST(ComputerTest, ReturnsToTheArenaNearItsEdgeAndGoesAroundAsteroidsOnItsCourse) {
  const glm::vec4 arena(0.0f, 0.0f, 0.0f, 1000.0f);
  struct Return {
    glm::vec3 position, forward;
    bool returns;
  };
  const Return returns[] = {
      {{0, 0, 0}, {1, 0, 0}, false},      // the middle
      {{950, 0, 0}, {1, 0, 0}, true},     // near the edge, heading out
      {{950, 0, 0}, {-1, 0, 0}, false},   // near the edge, already heading in
      {{1100, 0, 0}, {-1, 0, 0}, true},   // outside: in, whatever the nose
  };
  for (const Return& r : returns) {
    const auto home = steering::arenaReturn(at(r.position, r.forward, 60.0f), arena);
    ASSERT_EQ(home.has_value(), r.returns) << r.position.x;
    if (home) {
      EXPECT_LT(glm::dot(*home, r.position), 0.0f);
    }
  }
  const std::vector<glm::vec4> asteroids{{0, 0, -100, 20}, {200, 0, -100, 20}, {0, 0, 100, 50}};
  const ShipState ship = at(glm::vec3(0.0f), glm::vec3(0, 0, -1), 60.0f);
  const auto way = steering::avoidance(ship, asteroids, asteroids.size());
  ASSERT_TRUE(way.has_value());
  // The new course passes the asteroid ahead with room for the ship; the one aside and the one behind need none.
  const glm::vec3 centre(asteroids[0]);
  const glm::vec3 closest = *way * glm::dot(centre, *way);
  EXPECT_GT(glm::length(closest - centre), 20.0f + ship.radius);
  EXPECT_FALSE(steering::avoidance(ship, {asteroids[1], asteroids[2]}, 2).has_value());
}

// The computer's ship keeps none of a person's flight for it; the other ship's keys, ENTER and the toggles stay.
// Its first frame announces it; its chance is the match's, saved with it.
TEST(ComputerTest, TakesItsShipFromPeopleAndDrawsFromTheMatchsOwnChance) {
  Computers computers({{1, ComputerLevel::Easy}});
  std::vector<input::Event> events{
      input::KeyEvent{input::keys::W, true},     input::KeyEvent{input::keys::UP, true},
      input::KeyEvent{input::keys::KP_0, true},  input::KeyEvent{input::keys::ENTER, true},
      input::KeyEvent{input::keys::F1, true},    input::PadControlEvent{1, input::PadControl::Yaw, 1.0f},
      input::PadLinkEvent{0, true, input::PadName("Pad")}, input::ButtonEvent{input::keys::MOUSE_LEFT, true}};
  computers.dropPersonalInput(events);
  std::string kept;
  for (const input::Event& event : events) {
    kept += input::formatEvent(event) + ";";
  }
  EXPECT_EQ(kept, "key press 87;key press 257;key press 290;pad ship1 connect Pad;button press 0;");

  std::ostringstream console;
  game::Play play(game::Match::Programs{}, console);
  events.clear();
  for (int frame = 0; frame < 120; ++frame) {
    computers.decide(play.match, 1.0f / 60.0f, events);
  }
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(input::formatEvent(events.front()), "computer ship2 easy");
  for (const input::Event& event : events) {
    input::BodyLine line;
    std::string error;
    ASSERT_TRUE(input::parseBodyLine(input::formatEvent(event), line, error)) << error;
    EXPECT_TRUE(std::get<input::Event>(line) == event);
  }
  game::MatchSnapshot before;
  game::MatchSnapshot after;
  play.match.save(before);
  play.match.computerRandom.next();
  play.match.save(after);
  EXPECT_STREQ(after.firstDifference(before), "computer");
}

}  // namespace
}  // namespace voidskirmish::bot
