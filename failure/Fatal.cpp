#include "failure/Fatal.h"

#include <cstdlib>
#include <iostream>

#include "failure/Pause.h"

namespace voidskirmish::failure {

void fatalExit(std::ostream& out, const std::string& message, int exitCode, LineEnd lineEnd) {
  out << message;
  if (lineEnd == LineEnd::Newline) {
    out << '\n';
  }
  out << std::flush;
  pauseForKey();
  std::cout.flush();
  std::cerr.flush();
  std::exit(exitCode);
}

}  // namespace voidskirmish::failure
