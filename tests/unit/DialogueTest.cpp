#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/Dialogue.h"

namespace voidskirmish::app {
namespace {

const std::string ask = "Fullscreen? (y|n) ";
const std::string askWidth = "Monitor width: ";
const std::string askHeight = "Monitor height: ";
const std::string again = "Input invalid. Try again. ";

// Runs the dialogue on the input; checks what it printed and returns the choice.
std::optional<WindowChoice> answer(const std::string& input, const std::string& console) {
  std::istringstream in(input);
  std::ostringstream out;
  const std::optional<WindowChoice> choice = Dialogue(in, out).run();
  EXPECT_EQ(out.str(), console) << input;
  return choice;
}

TEST(DialogueTest, OnlyALowerCaseWholeYAsksForTheSize) {
  const struct {
    const char* input;
    std::string console;
    bool fullscreen;
    int width, height;
  } talks[] = {
      {"\n  \n n 1 2\n", ask, false, 1024, 768},  // windowed never asks for a size
      {"Y yes N\nn\n", ask + again + ask + again + ask + again + ask, false, 1024, 768},
      {"y 640 480\n1280\n1024\n", ask + askWidth + askHeight, true, 1280, 1024},  // the rest of the y line is dropped
      {"y\n800\n600", ask + askWidth + askHeight, true, 800, 600},  // the last line needs no line end
  };
  for (const auto& talk : talks) {
    const std::optional<WindowChoice> choice = answer(talk.input, talk.console);
    ASSERT_TRUE(choice) << talk.input;
    EXPECT_EQ(choice->fullscreen, talk.fullscreen);
    EXPECT_EQ(choice->width, talk.width);
    EXPECT_EQ(choice->height, talk.height);
  }
}

TEST(DialogueTest, SizeLinesTakeTheLeadingSignedIntOrAreAskedAgain) {
  const struct {
    const char* line;
    int value;
  } accepted[] = {{"800abc", 800}, {"  42  ", 42}, {"-5", -5}, {"+7 px", 7}, {"0", 0}, {"2147483647", 2147483647}};
  for (const auto& entry : accepted) {
    const auto choice = answer(std::string("y\n") + entry.line + "\n" + entry.line + "\n", ask + askWidth + askHeight);
    ASSERT_TRUE(choice) << entry.line;
    EXPECT_EQ(choice->width, entry.value);
    EXPECT_EQ(choice->height, entry.value);
  }
  for (const char* line : {"", "   ", "abc", "x800", "2147483648", "-99999999999", "-"}) {
    const auto choice = answer(std::string("y\n") + line + "\n600\n" + line + "\n400\n",
                               ask + askWidth + again + askWidth + askHeight + again + askHeight);
    ASSERT_TRUE(choice) << line;
    EXPECT_EQ(choice->width, 600);
    EXPECT_EQ(choice->height, 400);
  }
}

TEST(DialogueTest, EndOfInputAtAnyQuestionEndsThePromptLineAndGivesNoChoice) {
  const struct {
    const char* input;
    std::string console;
  } endings[] = {
      {"", ask},
      {"\n \n", ask},
      {"maybe", ask + again + ask},
      {"y", ask + askWidth},
      {"y\nabc\n", ask + askWidth + again + askWidth},
      {"y\n800\n", ask + askWidth + askHeight},
  };
  for (const auto& ending : endings) {
    EXPECT_FALSE(answer(ending.input, ending.console + "\n")) << ending.input;
  }
}

}  // namespace
}  // namespace voidskirmish::app
