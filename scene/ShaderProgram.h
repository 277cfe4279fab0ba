#pragma once

#include <GL/glew.h>

#include <string>

namespace voidskirmish::scene {

// A linked program built from one vertex and one fragment source file. Shared by pointer among everything that
// draws with it; the match keeps it for the whole run. Any failure ends the program with a message.
struct ShaderProgram {
  ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath);
  ShaderProgram(const ShaderProgram&) = delete;
  ShaderProgram& operator=(const ShaderProgram&) = delete;
  ~ShaderProgram();

  GLuint program = 0;
  GLuint vertexShader = 0;
  GLuint fragmentShader = 0;

 private:
  void loadShader(const std::string& path, GLenum type, GLuint& shader);
  void link(const std::string& vertexPath, const std::string& fragmentPath);
};

}  // namespace voidskirmish::scene
