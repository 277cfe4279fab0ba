#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "input/Keys.h"
#include "input/RecordingReader.h"
#include "replay/FrameRules.h"
#include "replay/Playback.h"
#include "replay/Seeker.h"

// A seek lands on exactly the state a straight replay has there, forward or back, whatever the memory bound
// thinned, and the frames after it print the same lines. The windowed keys and pictures are in tests/e2e.
namespace voidskirmish::replay {
namespace {

// A replay from the start, one state and one frame's console per frame (0: the start).
struct Straight {
  explicit Straight(const input::Recording& recording) {
    std::ostringstream console;
    game::Play play(game::Match::Programs{}, console);
    play.resize(recording.header.width, recording.header.height);
    FrameRules rules(play, recording.header.networkPlayer, console);
    for (std::size_t frame = 0;; ++frame) {
      play.save(states.emplace_back());
      lines.push_back(console.str());
      console.str("");
      if (frame == recording.frames.size() || rules.advance(recording.frames[frame])) {
        break;
      }
    }
  }
  std::vector<game::Play::Snapshot> states;
  std::vector<std::string> lines;
};

TEST(SeekTest, ASeekForwardOrBackGivesTheStraightReplaysStateAndLaterLines) {
  const input::Recording recording = input::readRecordingFile("tests/replays/rule-rounds.rec");
  const Timeline timeline(recording);
  const Straight straight(recording);
  ASSERT_EQ(timeline.frames(), 37u);
  std::ostringstream console;
  game::Play start(game::Match::Programs{}, console);
  start.restore(straight.states[0]);
  // One state a second, and a bound that holds only a few: the spacing doubles as states are kept.
  const std::size_t oneState = sizeof(Seeker::Position) + straight.states[20].match.size();
  for (const std::size_t bound : {std::size_t{64} << 20, 4 * oneState}) {
    Seeker seeker(recording, timeline, start, 1.0, bound);
    for (const std::size_t frames : {30, 5, 37, 12, 0, 30, 36, 1}) {
      const Seeker::Position& there = seeker.after(frames);
      EXPECT_EQ(there.play.firstDifference(straight.states[frames]), nullptr) << frames << " within " << bound;
      game::Play later(game::Match::Programs{}, console);
      later.restore(there.play);
      FrameRules rules(later, std::nullopt, console);
      for (std::size_t frame = frames; frame < timeline.frames(); ++frame) {
        console.str("");
        rules.advance(recording.frames[frame]);
        ASSERT_EQ(console.str(), straight.lines[frame + 1]) << frame + 1 << " after a seek to " << frames;
      }
    }
    EXPECT_LE(seeker.keptBytes(), bound);
    EXPECT_EQ(seeker.spacing() > 1.0, bound < (std::size_t{1} << 20)) << seeker.kept();
  }
}

TEST(SeekTest, ReplayKeysSayWhatTheyChangeAndJumpByRecordedTime) {
  // Frames of 0.5 s: ten seconds are twenty frames.
  input::Recording recording;
  recording.frames.resize(400, input::RecordedFrame{{}, 0.5f, {}});
  const Timeline timeline(recording);
  EXPECT_EQ(timeline.clock(150), "01:15 / 03:20");
  std::ostringstream console;
  Playback playback(timeline, console, *Playback::speedStep(1.0));
  namespace keys = input::keys;
  const struct {
    int key;
    std::size_t shown;
    const char* line;
    std::optional<std::size_t> jump;
  } cases[] = {
      {keys::SPACE, 100, "Replay paused at frame 100 of 400\n", {}},
      {keys::PERIOD, 100, "Replay at frame 101 of 400\n", {}},
      {keys::RIGHT, 100, "Replay at frame 120 of 400\n", 120},
      {keys::LEFT, 100, "Replay at frame 80 of 400\n", 80},
      {keys::LEFT, 15, "Replay at frame 1 of 400\n", 1},
      {keys::PAGE_UP, 100, "Replay at frame 220 of 400\n", 220},
      {keys::PAGE_UP, 390, "Replay at frame 400 of 400\n", 400},
      {keys::PAGE_DOWN, 390, "Replay at frame 270 of 400\n", 270},
      {keys::HOME, 390, "Replay at frame 1 of 400\n", 1},
      {keys::END, 3, "Replay at frame 400 of 400\n", 400},
      {keys::UP, 3, "Replay speed x2\n", {}},
      {keys::UP, 3, "Replay speed x4\n", {}},
      {keys::UP, 3, "Replay speed x8\n", {}},
      {keys::UP, 3, "Replay speed x8\n", {}},
      {keys::SPACE, 3, "Replay resumed at frame 3 of 400\n", {}},
      {keys::PERIOD, 3, "", {}},  // steps only while paused
      {keys::W, 3, "", {}},        // not a replay key
  };
  for (const auto& c : cases) {
    console.str("");
    EXPECT_EQ(playback.keyPressed(c.key, c.shown), c.key != keys::W) << c.key;
    EXPECT_EQ(console.str(), c.line);
    EXPECT_EQ(playback.takeJump(), c.jump) << c.line;
  }
  EXPECT_EQ(playback.speed(), 8.0);
  EXPECT_TRUE(playback.touched());
  EXPECT_FALSE(Playback::speedStep(3.0));
}

}  // namespace
}  // namespace voidskirmish::replay
