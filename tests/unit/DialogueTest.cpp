#include <gtest/gtest.h>

#include <glm/vec3.hpp>

#include <optional>
#include <sstream>
#include <string>

#include "app/Dialogue.h"

// The start-up questions on their own. The windowed answer, blank lines, upper case and whole-word answers, the
// rest of y's line, words and numbers that are no size, negative sizes, numbers beyond int, garbage, huge lines
// and input ending at each question are answered by the real binary in tests/e2e (test_live.py,
// test_robustness.py).
namespace voidskirmish::app {
namespace {

TEST(DialogueTest, SizeLinesTakeALeadingSignedIntAndBlankOrSignOnlyLinesAreAskedAgain) {
  const std::string ask = "Fullscreen? (y|n) ";
  const std::string again = "Input invalid. Try again. ";
  std::istringstream in("N\ny\n  42  \n   \n-\n+7 px");  // the last line needs no line end
  std::ostringstream out;
  const std::optional<WindowChoice> choice = Dialogue(in, out).run();
  EXPECT_EQ(out.str(), ask + again + ask + "Monitor width: " + "Monitor height: " + again + "Monitor height: " + again +
                           "Monitor height: ");
  ASSERT_TRUE(choice);
  EXPECT_EQ(glm::ivec3(choice->fullscreen, choice->width, choice->height), glm::ivec3(1, 42, 7));
}

}  // namespace
}  // namespace voidskirmish::app
