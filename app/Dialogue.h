#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace voidskirmish::app {

// The window the player asked for at start-up.
struct WindowChoice {
  bool fullscreen = false;
  int width = 1024;
  int height = 768;
};

// The console questions before the window opens: full screen or not and, for full screen, the size. Answers
// are read from `in`, prompts go to `out` without line ends so the player types on the prompt's line.
class Dialogue {
 public:
  static constexpr const char* fullscreenPrompt = "Fullscreen? (y|n) ";
  static constexpr const char* widthPrompt = "Monitor width: ";
  static constexpr const char* heightPrompt = "Monitor height: ";
  static constexpr const char* invalidAnswer = "Input invalid. Try again. ";
  static constexpr const char* inputEndedMessage =
      "Standard input ended before the start-up questions were answered.";

  Dialogue(std::istream& in, std::ostream& out) : in(in), out(out) {}

  // The player's choice, or nothing when the input ended first (then the prompt's line has been ended).
  std::optional<WindowChoice> run();

 private:
  std::optional<bool> askFullscreen();
  std::optional<int> askNumber(const char* prompt);
  std::nullopt_t inputEnded();

  std::istream& in;
  std::ostream& out;
};

}  // namespace voidskirmish::app
