#include "app/Dialogue.h"

#include <istream>
#include <limits>
#include <ostream>
#include <sstream>

namespace voidskirmish::app {

std::optional<WindowChoice> Dialogue::run() {
  const std::optional<bool> fullscreen = askFullscreen();
  if (!fullscreen) {
    return inputEnded();
  }
  WindowChoice choice;
  if (!*fullscreen) {
    return choice;
  }
  choice.fullscreen = true;
  // Whatever followed the "y" on its line is not the width.
  in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  const std::optional<int> width = askNumber(widthPrompt);
  if (!width) {
    return inputEnded();
  }
  const std::optional<int> height = askNumber(heightPrompt);
  if (!height) {
    return inputEnded();
  }
  choice.width = *width;
  choice.height = *height;
  return choice;
}

std::optional<bool> Dialogue::askFullscreen() {
  std::string word;
  for (;;) {
    out << fullscreenPrompt << std::flush;
    if (!(in >> word)) {
      return std::nullopt;
    }
    if (word == "y" || word == "n") {
      return word == "y";
    }
    out << invalidAnswer;
  }
}

std::optional<int> Dialogue::askNumber(const char* prompt) {
  std::string line;
  for (;;) {
    out << prompt << std::flush;
    if (!std::getline(in, line)) {
      return std::nullopt;
    }
    // Leading blanks are skipped and trailing text ignored; no digits or a value beyond int is refused.
    std::istringstream parser(line);
    int value = 0;
    if (parser >> value) {
      return value;
    }
    out << invalidAnswer;
  }
}

std::nullopt_t Dialogue::inputEnded() {
  out << '\n' << std::flush;
  return std::nullopt;
}

}  // namespace voidskirmish::app
