#include "failure/Pause.h"

#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace voidskirmish::failure {

void pauseForKey() {
  if (!isatty(STDIN_FILENO)) {
    return;
  }
  std::cout << "Press Enter to continue . . ." << std::flush;
  std::getchar();
}

}  // namespace voidskirmish::failure
