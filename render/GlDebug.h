#pragma once

namespace voidskirmish::render {

// Reports OpenGL errors as the driver finds them: each distinct error message once on stderr with a
// "GL error: " prefix, and every one counted. Installs only for a debug context or when the environment
// variable VOIDSKIRMISH_GL_DEBUG is set; returns whether it did. Needs the context current.
bool installGlDebugOutput();

// Errors reported since start-up.
unsigned int glErrorCount();

}  // namespace voidskirmish::render
