#include <gtest/gtest.h>

#include <GLFW/glfw3.h>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <memory>
#include <sstream>
#include <string>

#include "game/Play.h"

// A saved and restored play advances exactly as the one that was never saved: state, console and the frame count.
// Every recording under tests/replays is also re-run after 1 and 8 frames by --sync-test (tests/e2e).
namespace voidskirmish::game {
namespace {

// The ships face each other 40 apart and fire, ship1 the faster, so hits, bursts, beams, a death and a round
// happen first; after ENTER both also fly and turn.
void fly(Play& play, int frame) {
  const int keys[] = {GLFW_KEY_W, GLFW_KEY_A, GLFW_KEY_UP, GLFW_KEY_KP_8};
  for (int key : keys) {
    frame >= 200 && frame % 40 == 0 ? play.keyPressed(key) : frame % 40 == 30 ? play.keyReleased(key) : void();
  }
  if (frame % 7 == 0 || frame % 11 == 0) {
    play.keyPressed(frame % 7 == 0 ? GLFW_KEY_SPACE : GLFW_KEY_KP_0);
  }
  if (frame % 150 == 149) {
    play.keyPressed(GLFW_KEY_ENTER);
  }
  play.update(frame % 3 == 0 ? 0.05f : 1.0f / 60.0f);
  play.applyBoundaryRules(0);
  play.applyBoundaryRules(1);
  play.endFrame();
}

struct Player {
  std::ostringstream console;
  std::unique_ptr<Play> play = std::make_unique<Play>(Match::Programs{}, console);
};

TEST(SnapshotTest, ARestoredPlayAdvancesAsTheOneNeverSavedAndAFreshPlayTakesTheSameSave) {
  Player original;
  original.play->settings.lifePointsChanges = true;  // every hit prints
  original.play->resize(1024, 768);
  const glm::mat4 ahead = glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -40.0f)), glm::vec3(2.0f));
  original.play->match.ship2->setModelMatrix(glm::rotate(ahead, glm::pi<float>(), glm::vec3(0.0f, 1.0f, 0.0f)));
  for (int frame = 0; frame < 60; ++frame) {
    fly(*original.play, frame);
  }
  Play::Snapshot saved;
  original.play->save(saved);
  EXPECT_GT(saved.match.particles.live.size(), 0u);
  EXPECT_GT(saved.match.beams.size(), 0u);

  const auto advance = [](Player& run, Play::Snapshot& end) {
    run.console.str("");
    for (int frame = 60; frame < 400; ++frame) {
      fly(*run.play, frame);
    }
    run.play->save(end);
    return run.console.str();
  };
  Play::Snapshot first, again, fresh;
  const std::string firstLines = advance(original, first);
  EXPECT_NE(firstLines.find("Score: upper"), std::string::npos);  // the frames did reach a round's end
  original.play->restore(saved);
  EXPECT_EQ(advance(original, again), firstLines);
  EXPECT_EQ(again.firstDifference(first), nullptr);

  Player other;
  other.play->restore(saved);
  EXPECT_EQ(advance(other, fresh), firstLines);
  EXPECT_EQ(fresh.firstDifference(first), nullptr);
  EXPECT_EQ(fresh.match.frameNumber, 400);

  // A difference is named by its part.
  fresh.match.ships[1].speed += 1.0f;
  fresh.match.random.state += 1;
  EXPECT_STREQ(fresh.firstDifference(first), "ship2");
  fresh.match.ships[1] = first.match.ships[1];
  EXPECT_STREQ(fresh.firstDifference(first), "random");
}

}  // namespace
}  // namespace voidskirmish::game
