#include <gtest/gtest.h>

#include <glm/vec3.hpp>

#include <optional>
#include <sstream>
#include <string>

#include "app/Dialogue.h"

namespace voidskirmish::app {
namespace {

const std::string ask = "Fullscreen? (y|n) ";
const std::string askWidth = "Monitor width: ";
const std::string askHeight = "Monitor height: ";
const std::string again = "Input invalid. Try again. ";

// Runs the dialogue on the input; checks what it printed and returns the choice as (full screen, width, height).
std::optional<glm::ivec3> answer(const std::string& input, const std::string& console) {
  std::istringstream in(input);
  std::ostringstream out;
  const std::optional<WindowChoice> choice = Dialogue(in, out).run();
  EXPECT_EQ(out.str(), console) << input;
  return choice ? std::optional(glm::ivec3(choice->fullscreen, choice->width, choice->height)) : std::nullopt;
}

TEST(DialogueTest, OnlyALowerCaseWholeYAsksForTheSizeAndEndOfInputEndsThePromptLineWithoutAChoice) {
  const glm::ivec3 windowed(0, 1024, 768);
  const struct { const char* input; std::string console; std::optional<glm::ivec3> choice; } talks[] = {
      {"\n  \n n 1 2\n", ask, windowed},  // windowed never asks for a size
      {"Y yes N\nn\n", ask + again + ask + again + ask + again + ask, windowed},
      {"y 640 480\n1280\n1024\n", ask + askWidth + askHeight, glm::ivec3(1, 1280, 1024)},  // the rest of y's line goes
      {"y\n800\n600", ask + askWidth + askHeight, glm::ivec3(1, 800, 600)},  // the last line needs no line end
      {"", ask + "\n", std::nullopt},
      {"\n \n", ask + "\n", std::nullopt},
      {"maybe", ask + again + ask + "\n", std::nullopt},
      {"y", ask + askWidth + "\n", std::nullopt},
      {"y\nabc\n", ask + askWidth + again + askWidth + "\n", std::nullopt},
      {"y\n800\n", ask + askWidth + askHeight + "\n", std::nullopt},
  };
  for (const auto& talk : talks) {
    EXPECT_EQ(answer(talk.input, talk.console), talk.choice) << talk.input;
  }
}

TEST(DialogueTest, SizeLinesTakeTheLeadingSignedIntOrAreAskedAgain) {
  const struct { const char* line; int value; } accepted[] = {{"800abc", 800}, {"  42  ", 42}, {"-5", -5}, {"+7 px", 7}, {"0", 0}, {"2147483647", 2147483647}};
  for (const auto& entry : accepted) {
    EXPECT_EQ(answer(std::string("y\n") + entry.line + "\n" + entry.line + "\n", ask + askWidth + askHeight),
              glm::ivec3(1, entry.value, entry.value)) << entry.line;
  }
  for (const char* line : {"", "   ", "abc", "x800", "2147483648", "-99999999999", "-"}) {
    EXPECT_EQ(answer(std::string("y\n") + line + "\n600\n" + line + "\n400\n",
                     ask + askWidth + again + askWidth + askHeight + again + askHeight),
              glm::ivec3(1, 600, 400)) << line;
  }
}

}  // namespace
}  // namespace voidskirmish::app
