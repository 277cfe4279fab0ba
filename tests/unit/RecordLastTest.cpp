#include <gtest/gtest.h>

#include <GLFW/glfw3.h>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "game/Play.h"
#include "input/RecordingReader.h"
#include "replay/LastSeconds.h"
#include "replay/StartSection.h"

// --record-last: a snapshot section reads back as the play it was written from, any damage to it is refused with
// its line, and the kept seconds stay within their bound. Live games written and replayed: tests/e2e.
namespace voidskirmish::replay {
namespace {

struct Written {
  game::Play::Snapshot saved;
  std::vector<std::string> lines;
};

// Ship1 fires at ship2 ahead of it, so beams and sparks are in the state; the last two seconds are written.
Written writeLastSeconds() {
  std::ostringstream console;
  game::Play play(game::Match::Programs{}, console);
  play.resize(800, 600);
  const glm::mat4 ahead = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -40.0f));
  play.match.ship2->setModelMatrix(glm::rotate(ahead, glm::pi<float>(), glm::vec3(0.0f, 1.0f, 0.0f)));
  LastSeconds last(2.0);
  Written written;
  for (int frame = 0; frame < 100; ++frame) {
    last.offer(play);
    if (frame == 50) {
      play.save(written.saved);  // the newest state two seconds before the end: 5 s after the first
    }
    play.keyPressed(GLFW_KEY_SPACE);
    last.add({input::KeyEvent{GLFW_KEY_SPACE, true}}, 0.1f, std::nullopt);
    play.update(0.1f);
    play.endFrame();
    EXPECT_LE(last.keptStates(), 3u);
    EXPECT_LE(last.keptFrames(), 70u);
  }
  const std::string path = ::testing::TempDir() + "last.rec";
  std::string error;
  const auto writer = input::RecordingWriter::open(path, error);
  last.write(*writer, input::RecordingHeader{1, "test", false, 800, 600});
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    written.lines.push_back(line);
  }
  return written;
}

std::pair<std::int64_t, std::string> readBack(const std::vector<std::string>& lines, game::Play::Snapshot* read) {
  std::string text;
  for (const std::string& line : lines) {
    text += line + "\n";
  }
  std::istringstream in(text);
  try {
    const input::Recording recording = input::readRecording(in);
    const std::optional<Seeker::Position> start = recordedStart(recording);
    if (read != nullptr) {
      *read = start->play;
    }
    EXPECT_EQ(recording.frames.size(), 50u);
  } catch (const input::BadRecording& bad) {
    return {bad.line, bad.what()};
  }
  return {-1, "accepted"};
}

TEST(RecordLastTest, ASnapshotSectionReadsBackAsItsPlayAndEveryDamageIsRefusedWithItsLine) {
  const Written written = writeLastSeconds();
  ASSERT_EQ(written.lines[3].rfind("snapshot 1 ", 0), 0u);
  ASSERT_GT(written.saved.match.particles.live.size(), 0u);
  ASSERT_GT(written.saved.match.beams.size(), 0u);
  game::Play::Snapshot read;
  ASSERT_EQ(readBack(written.lines, &read).first, -1);
  EXPECT_EQ(read.firstDifference(written.saved), nullptr) << read.firstDifference(written.saved);
  EXPECT_EQ(read.match.frameNumber, 50);

  // Byte offsets in the section: the minimised byte, then ship1's 45 floats and 8 switches, ship2, the field.
  const std::size_t particles = 1 + 2 * 188 + 4 + 100 * 64 + 4 + written.saved.match.beams.size() * 92 + 4;
  const auto byteAt = [](std::size_t offset, const char* hex) {
    return [=](std::vector<std::string>& lines) {
      for (std::size_t digit = 0; hex[digit] != 0; ++digit) {
        const std::size_t at = 2 * offset + digit;
        lines[4 + at / 128][6 + at % 128] = hex[digit];
      }
      return 5 + static_cast<std::int64_t>(offset / 64);
    };
  };
  // Replaces the start of line `index`; refused on line `refused` (0: this one).
  const auto line = [](std::size_t index, const char* text, std::int64_t refused = 0) {
    return [=](std::vector<std::string>& lines) {
      lines[index].replace(0, std::string(text).size(), text);
      return refused > 0 ? refused : static_cast<std::int64_t>(index + 1);
    };
  };
  const std::vector<std::string>& original = written.lines;
  const std::size_t lastState = std::find(original.begin() + 4, original.end(), "key press 32") - original.begin() - 1;
  const struct {
    std::function<std::int64_t(std::vector<std::string>&)> damage;
    const char* reason;
  } damaged[] = {
      {byteAt(0, "02"), "minimised is neither 0 nor 1"},
      {byteAt(1, "0000c07f"), "ship matrix is not finite"},
      {byteAt(1 + 181, "02"), "ship switch is neither 0 nor 1"},
      {byteAt(1 + 2 * 188, "63000000"), "asteroid count 99 is not 100"},
      {byteAt(1 + 2 * 188 + 4 + 6400, "ffffffff"), "beam count 4294967295 is more than 100000"},
      {byteAt(particles, "a0860100"), "particle slot 100000 is out of order or range"},
      {byteAt(particles + 36, "00000000"), "a saved particle has no life left"},
      {byteAt(particles + written.saved.match.particles.live.size() * 40 + 8 +
                  written.saved.match.particles.positionSize.size() * 5 + 8,
              "ffffff7f"),
       "rounds won 2147483647 is out of range"},
      {byteAt(3, "zz"), "not lower-case hex: 'zz'"},
      {line(3, "snapshot 2 "), "snapshot version 2 is newer than this game reads (1)"},
      {line(3, "snapshot 1 x", 4), "snapshot size is not a number: 'x"},
      {line(0, "voidskirmish-recording 1", 4), "a snapshot needs format version 2"},
      {[&](std::vector<std::string>& lines) {
         lines[lastState].pop_back();
         return static_cast<std::int64_t>(lastState + 1);
       },
       "expected 'state' and "},
      {[&](std::vector<std::string>& lines) {
         lines.insert(lines.begin() + 3, {"key press 32", "frame 0.1"});
         return std::int64_t{6};
       },
       "a snapshot comes once, before the first frame"},
  };
  for (const auto& [damage, reason] : damaged) {
    std::vector<std::string> lines = original;
    const std::int64_t where = damage(lines);
    const auto [refusedLine, said] = readBack(lines, nullptr);
    EXPECT_EQ(refusedLine, where) << reason;
    EXPECT_NE(said.find(reason), std::string::npos) << said << " for " << reason;
  }
}

}  // namespace
}  // namespace voidskirmish::replay
