#pragma once

#include <GL/glew.h>

#include <array>
#include <cstddef>

namespace voidskirmish::scene {

// Where a fixed list of uniforms lives in the program last asked about. The driver finds a location by its
// name on every query, so each program's locations are looked up once and kept, not asked for on every draw. A
// name the program lacks stays at -1, which glUniform* ignores.
template <std::size_t N>
class UniformLocations {
 public:
  explicit UniformLocations(const std::array<const char*, N>& names) : names_(names) { locations_.fill(-1); }

  // The locations in `program`; looked up only when it is not the program of the last call.
  const std::array<GLint, N>& in(GLuint program) {
    if (program != program_) {
      program_ = program;
      for (std::size_t i = 0; i < N; ++i) {
        locations_[i] = glGetUniformLocation(program, names_[i]);
      }
    }
    return locations_;
  }

 private:
  std::array<const char*, N> names_;
  GLuint program_ = 0;
  std::array<GLint, N> locations_{};
};

}  // namespace voidskirmish::scene
