#include "app/Pause.h"

#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace voidskirmish::app {

void pauseForKey() {
  if (!isatty(STDIN_FILENO)) {
    return;
  }
  std::cout << "Press Enter to continue . . ." << std::flush;
  std::getchar();
}

}  // namespace voidskirmish::app
