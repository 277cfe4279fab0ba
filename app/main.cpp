#include <iostream>

#include "app/Dialogue.h"
#include "app/Fatal.h"
#include "app/Shell.h"

int main() {
  using namespace voidskirmish::app;
  const auto choice = Dialogue(std::cin, std::cout).run();
  if (!choice) {
    fatalExit(std::cout, Dialogue::inputEndedMessage, 1);
  }
  return Shell(*choice).run();
}
