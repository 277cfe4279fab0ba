#pragma once

#include <iostream>
#include <streambuf>

namespace voidskirmish::app {

// Standard output says nothing while it lives: for rules run again unseen, whose lines were said once already.
class Hush {
 public:
  Hush() : kept(std::cout.rdbuf(nullptr)) {}
  ~Hush() { std::cout.rdbuf(kept); }
  Hush(const Hush&) = delete;
  Hush& operator=(const Hush&) = delete;

 private:
  std::streambuf* kept;
};

}  // namespace voidskirmish::app
