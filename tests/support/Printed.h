#pragma once

#include <gtest/gtest.h>

#include <string>

namespace voidskirmish::testing {

// What a call printed on standard output.
template <typename Call>
std::string printed(Call&& call) {
  ::testing::internal::CaptureStdout();
  call();
  return ::testing::internal::GetCapturedStdout();
}

}  // namespace voidskirmish::testing
