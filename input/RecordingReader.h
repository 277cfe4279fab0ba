#pragma once

#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>

#include "input/Recording.h"

namespace voidskirmish::input {

// What is wrong with a recording, and on which line (0 when it is the file as a whole: missing, no regular file,
// too large).
class BadRecording : public std::runtime_error {
 public:
  BadRecording(std::int64_t line, const std::string& what) : std::runtime_error(what), line(line) {}
  std::int64_t line;
};

// A recording is held whole while it is replayed, at several times its size. This is over ten times a
// ten-minute match at 60 frames a second with both pads and the mouse busy in every frame.
constexpr std::uintmax_t MAX_RECORDING_BYTES = 32u << 20;

// Reads and checks a whole recording before anything is replayed, so a bad file is refused before a window
// opens. Every line must be whole and valid, except a last line without its line end, which a killed game
// leaves behind: it is dropped with the rest of its unfinished frame. Blank lines and comments ('#') are
// skipped anywhere after the format line.
Recording readRecording(std::istream& in);

// The same for a file, which must be a regular file (a FIFO or a device would block or never end) of at most
// MAX_RECORDING_BYTES.
Recording readRecordingFile(const std::string& path);

}  // namespace voidskirmish::input
