#pragma once

#include <stdexcept>
#include <string>

#include "failure/Fatal.h"

namespace voidskirmish::failure {

// Something the game needs at start-up or on a resize could not be loaded or built (a model, a shader, a frame
// buffer). Loaders throw it with the game's own message; the shell ends the program with it (see fatalExit).
class LoadFailure : public std::runtime_error {
 public:
  enum class Stream { Output, Error };

  LoadFailure(Stream stream, const std::string& message, LineEnd lineEnd = LineEnd::Newline,
              bool closesWindow = false)
      : std::runtime_error(message), stream(stream), lineEnd(lineEnd), closesWindow(closesWindow) {}

  Stream stream;      // where the message goes
  LineEnd lineEnd;    // whether a line end follows it
  bool closesWindow;  // the window goes before the pause for a key
};

}  // namespace voidskirmish::failure
