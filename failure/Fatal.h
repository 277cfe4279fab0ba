#pragma once

#include <ostream>
#include <string>

namespace voidskirmish::failure {

enum class LineEnd { Newline, None };

// Ends the program after a start-up or resource failure: writes the message (flushed), waits for a key when
// someone is at the console, then exits with the given code. A window that should go first is closed by the
// caller.
[[noreturn]] void fatalExit(std::ostream& out, const std::string& message, int exitCode,
                            LineEnd lineEnd = LineEnd::Newline);

}  // namespace voidskirmish::failure
