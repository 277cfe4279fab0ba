#include "failure/Fatal.h"

#include <GLFW/glfw3.h>

#include <cstdlib>
#include <iostream>

#include "failure/Pause.h"

namespace voidskirmish::failure {

void fatalExit(std::ostream& out, const std::string& message, int exitCode, LineEnd lineEnd, bool terminateGlfw) {
  out << message;
  if (lineEnd == LineEnd::Newline) {
    out << '\n';
  }
  out << std::flush;
  if (terminateGlfw) {
    glfwTerminate();
  }
  pauseForKey();
  std::cout.flush();
  std::cerr.flush();
  std::exit(exitCode);
}

}  // namespace voidskirmish::failure
