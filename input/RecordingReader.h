#pragma once

#include <istream>
#include <stdexcept>
#include <string>

#include "input/Recording.h"

namespace voidskirmish::input {

// What is wrong with a recording, and on which line (0 when the file itself cannot be read).
class BadRecording : public std::runtime_error {
 public:
  BadRecording(int line, const std::string& what) : std::runtime_error(what), line(line) {}
  int line;
};

// Reads and checks a whole recording before anything is replayed, so a bad file is refused before a window
// opens. Every line must be whole and valid, except a last line without its line end, which a killed game
// leaves behind: it is dropped with the rest of its unfinished frame.
Recording readRecording(std::istream& in);

// The same for a file, which must be a regular file (a FIFO or a device would block or never end).
Recording readRecordingFile(const std::string& path);

}  // namespace voidskirmish::input
