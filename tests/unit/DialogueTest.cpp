#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/Dialogue.h"

namespace voidskirmish::app {
namespace {

struct Conversation {
  std::optional<WindowChoice> choice;
  std::string console;
};

Conversation answer(const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out;
  Conversation result;
  result.choice = Dialogue(in, out).run();
  result.console = out.str();
  return result;
}

const std::string ask = "Fullscreen? (y|n) ";
const std::string askWidth = "Monitor width: ";
const std::string askHeight = "Monitor height: ";
const std::string again = "Input invalid. Try again. ";

TEST(DialogueTest, WindowedNeverAsksForASize) {
  const Conversation talk = answer("\n  \n n 1 2\n");
  ASSERT_TRUE(talk.choice);
  EXPECT_FALSE(talk.choice->fullscreen);
  EXPECT_EQ(talk.choice->width, 1024);
  EXPECT_EQ(talk.choice->height, 768);
  EXPECT_EQ(talk.console, ask);
}

TEST(DialogueTest, FullscreenAnswerIsOnlyALowerCaseWholeY) {
  const Conversation talk = answer("Y yes N\nn\n");
  ASSERT_TRUE(talk.choice);
  EXPECT_FALSE(talk.choice->fullscreen);
  EXPECT_EQ(talk.console, ask + again + ask + again + ask + again + ask);
}

TEST(DialogueTest, FullscreenDiscardsTheRestOfTheYLine) {
  const Conversation talk = answer("y 640 480\n1280\n1024\n");
  ASSERT_TRUE(talk.choice);
  EXPECT_TRUE(talk.choice->fullscreen);
  EXPECT_EQ(talk.choice->width, 1280);
  EXPECT_EQ(talk.choice->height, 1024);
  EXPECT_EQ(talk.console, ask + askWidth + askHeight);
}

TEST(DialogueTest, SizeLinesTakeTheLeadingSignedNumber) {
  const struct {
    const char* line;
    int value;
  } accepted[] = {{"800abc", 800}, {"  42  ", 42}, {"-5", -5}, {"+7 px", 7}, {"0", 0}, {"2147483647", 2147483647}};
  for (const auto& entry : accepted) {
    SCOPED_TRACE(entry.line);
    const Conversation talk = answer(std::string("y\n") + entry.line + "\n" + entry.line + "\n");
    ASSERT_TRUE(talk.choice);
    EXPECT_EQ(talk.choice->width, entry.value);
    EXPECT_EQ(talk.choice->height, entry.value);
    EXPECT_EQ(talk.console, ask + askWidth + askHeight);
  }
}

TEST(DialogueTest, SizeLinesWithoutAnIntAreAskedAgain) {
  for (const char* line : {"", "   ", "abc", "x800", "2147483648", "-99999999999", "-"}) {
    SCOPED_TRACE(line);
    const Conversation talk = answer(std::string("y\n") + line + "\n600\n" + line + "\n400\n");
    ASSERT_TRUE(talk.choice);
    EXPECT_EQ(talk.choice->width, 600);
    EXPECT_EQ(talk.choice->height, 400);
    EXPECT_EQ(talk.console, ask + askWidth + again + askWidth + askHeight + again + askHeight);
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
    SCOPED_TRACE(ending.input);
    const Conversation talk = answer(ending.input);
    EXPECT_FALSE(talk.choice);
    EXPECT_EQ(talk.console, ending.console + "\n");
  }
}

TEST(DialogueTest, LastLineWithoutLineEndStillCounts) {
  const Conversation talk = answer("y\n800\n600");
  ASSERT_TRUE(talk.choice);
  EXPECT_EQ(talk.choice->height, 600);
}

}  // namespace
}  // namespace voidskirmish::app
