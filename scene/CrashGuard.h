#pragma once

#include <csignal>
#include <iterator>
#include <string>
#include <vector>

namespace voidskirmish::scene {

// For library code that can crash on input it cannot be told to refuse. While a guard lives, a crash of its
// thread — a segmentation fault such as a stack overflow, or an abort from a failed library assertion — writes
// the two texts to standard output and standard error and ends the program with exit code 1 instead of a
// signal. One guard at a time.
class CrashGuard {
 public:
  CrashGuard(std::string outText, std::string errText);
  CrashGuard(const CrashGuard&) = delete;
  CrashGuard& operator=(const CrashGuard&) = delete;
  ~CrashGuard();

 private:
  static constexpr int signals[] = {SIGSEGV, SIGBUS, SIGABRT};

  std::string outText;
  std::string errText;
  std::vector<char> handlerStack;  // a stack overflow leaves no room on the thread's own stack
  stack_t previousStack{};
  struct sigaction previousActions[std::size(signals)] {};
};

}  // namespace voidskirmish::scene
