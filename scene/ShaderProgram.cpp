#include "scene/ShaderProgram.h"

#include <filesystem>
#include <iostream>
#include <vector>

#include "failure/LoadFailure.h"
#include "scene/RegularFile.h"

namespace voidskirmish::scene {
namespace {

// Our sources are a few kilobytes; anything near this is not a shader.
constexpr std::uintmax_t MAX_SHADER_BYTES = 1 << 20;

// Why loadShader could not read a stage's file.
std::string whyUnread(const std::string& path) {
  if (const std::optional<std::string> why = whyNotRegularFile(path)) {
    return *why;
  }
  std::error_code error;
  return std::filesystem::file_size(path, error) > MAX_SHADER_BYTES ? "larger than 1 MiB" : "cannot be opened";
}

// Fetches a shader's or program's info log; both queries share one shape.
template <typename GetIv, typename GetLog>
std::string infoLog(GLuint object, GetIv getIv, GetLog getLog) {
  GLint length = 0;
  getIv(object, GL_INFO_LOG_LENGTH, &length);
  if (length <= 0) {
    return {};
  }
  std::vector<char> buffer(static_cast<size_t>(length));
  getLog(object, length, nullptr, buffer.data());
  return std::string(buffer.data());
}

// Shader messages go to standard error.
[[noreturn]] void fail(const std::string& message) {
  throw failure::LoadFailure(failure::LoadFailure::Stream::Error, message);
}

}  // namespace

ShaderProgram::ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath) {
  program = glCreateProgram();
  if (program == 0) {
    fail("Failed to create shader program");
  }
  loadShader(vertexPath, GL_VERTEX_SHADER, vertexShader);
  loadShader(fragmentPath, GL_FRAGMENT_SHADER, fragmentShader);
  link(vertexPath, fragmentPath);
}

ShaderProgram::~ShaderProgram() {
  glDeleteProgram(program);
  glDeleteShader(vertexShader);
  glDeleteShader(fragmentShader);
}

void ShaderProgram::loadShader(const std::string& path, GLenum type, GLuint& shader) {
  const std::optional<std::string> source = readRegularFile(path, MAX_SHADER_BYTES);
  if (!source) {
    return;  // the link step reports the file it could not read
  }

  shader = glCreateShader(type);
  if (shader == 0) {
    fail("Failed to create shader");
  }
  const char* text = source->c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);

  GLint status = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
  if (status != GL_FALSE && glIsShader(shader)) {
    return;
  }
  std::cerr << " Failed to compile shader\n";
  fail(infoLog(shader, glGetShaderiv, glGetShaderInfoLog));
}

void ShaderProgram::link(const std::string& vertexPath, const std::string& fragmentPath) {
  // A stage whose file could not be read would leave a program that draws nothing; say which file instead.
  for (const auto& [shader, path] : {std::pair{vertexShader, &vertexPath}, std::pair{fragmentShader, &fragmentPath}}) {
    if (shader == 0) {
      std::cerr << "Failed to link shader program\n";
      fail("Could not read shader file " + *path + ": " + whyUnread(*path));
    }
  }
  glAttachShader(program, vertexShader);
  glAttachShader(program, fragmentShader);
  glLinkProgram(program);

  GLint status = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &status);
  if (status == GL_FALSE) {
    std::cerr << "Failed to link shader program\n";
    fail(infoLog(program, glGetProgramiv, glGetProgramInfoLog));
  }
}

}  // namespace voidskirmish::scene
