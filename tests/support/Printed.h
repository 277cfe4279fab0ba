#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace voidskirmish::testing {

// What a call printed on standard output.
template <typename Call>
std::string printed(Call&& call) {
  ::testing::internal::CaptureStdout();
  call();
  return ::testing::internal::GetCapturedStdout();
}

// First statement of a death test whose message goes to standard output: a death test matches only standard
// error, and an empty standard input leaves the fatal exit no key press to wait for.
inline void printToStderrWithoutInput() {
  std::fflush(stdout);  // what the test runner printed so far stays on standard output
  dup2(STDERR_FILENO, STDOUT_FILENO);
  dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
}

}  // namespace voidskirmish::testing
