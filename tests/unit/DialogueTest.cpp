#include <gtest/gtest.h>

#include <glm/vec3.hpp>

#include <optional>
#include <sstream>
#include <string>

#include "app/Dialogue.h"

// The start-up questions on their own. Upper case and whole-word answers, the rest of y's line, words and numbers
// that are no size, numbers beyond int, garbage, huge lines and input ending at each question are answered by
// the real binary in tests/e2e (test_live.py, test_robustness.py).
namespace voidskirmish::app {
namespace {

const std::string ask = "Fullscreen? (y|n) ";
const std::string askWidth = "Monitor width: ";
const std::string askHeight = "Monitor height: ";
const std::string again = "Input invalid. Try again. ";

TEST(DialogueTest, OnlyALowerCaseWholeYAsksForTheSizeWhoseLinesTakeTheLeadingSignedInt) {
  const struct { const char* input; std::string console; std::optional<glm::ivec3> choice; } talks[] = {
      {"\n  \n n 1 2\n", ask, glm::ivec3(0, 1024, 768)},  // windowed never asks for a size
      // A blank size line is asked again; a sign and what follows the number are fine; the last line needs no end.
      {"N\ny\n  42  \n   \n-\n+7 px", ask + again + ask + askWidth + askHeight + again + askHeight + again + askHeight,
       glm::ivec3(1, 42, 7)},
  };
  for (const auto& talk : talks) {
    std::istringstream in(talk.input);
    std::ostringstream out;
    const std::optional<WindowChoice> choice = Dialogue(in, out).run();
    EXPECT_EQ(out.str(), talk.console) << talk.input;
    EXPECT_EQ(choice ? std::optional(glm::ivec3(choice->fullscreen, choice->width, choice->height)) : std::nullopt,
              talk.choice) << talk.input;
  }
}

}  // namespace
}  // namespace voidskirmish::app
