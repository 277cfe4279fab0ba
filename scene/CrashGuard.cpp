#include "scene/CrashGuard.h"

#include <unistd.h>

#include <iterator>
#include <utility>

namespace voidskirmish::scene {
namespace {

const std::string* activeOutText = nullptr;
const std::string* activeErrText = nullptr;

void writeAll(int fd, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t written = write(fd, text.data() + done, text.size() - done);
    if (written <= 0) {
      return;
    }
    done += static_cast<std::size_t>(written);
  }
}

// Only async-signal-safe calls: the program's state is whatever the crash left.
void onCrash(int) {
  writeAll(STDOUT_FILENO, *activeOutText);
  writeAll(STDERR_FILENO, *activeErrText);
  _exit(1);
}

}  // namespace

CrashGuard::CrashGuard(std::string outText, std::string errText)
    : outText(std::move(outText)), errText(std::move(errText)), handlerStack(1 << 16) {
  activeOutText = &this->outText;
  activeErrText = &this->errText;
  stack_t stack{};
  stack.ss_sp = handlerStack.data();
  stack.ss_size = handlerStack.size();
  sigaltstack(&stack, &previousStack);
  struct sigaction action {};
  action.sa_handler = onCrash;
  action.sa_flags = SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < std::size(signals); ++i) {
    sigaction(signals[i], &action, &previousActions[i]);
  }
}

CrashGuard::~CrashGuard() {
  for (std::size_t i = 0; i < std::size(signals); ++i) {
    sigaction(signals[i], &previousActions[i], nullptr);
  }
  sigaltstack(&previousStack, nullptr);
  activeOutText = nullptr;
  activeErrText = nullptr;
}

}  // namespace voidskirmish::scene
