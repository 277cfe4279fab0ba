#include <GL/glew.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "render/GlDebug.h"
#include "tests/gl/GlTest.h"

namespace voidskirmish::testing {
namespace {

using Names = std::vector<const char*>;

// What the game looks up in one program. The game skips names a program lacks, so an input or uniform the
// compiler optimised away would silently draw wrong; every one listed here must survive linking.
struct ProgramInterface {
  const char* stem;
  Names attributes;        // looked up by name
  int locatedAttributes;   // attribute locations 0 .. n-1 bound by the caller without a lookup
  Names uniforms;
  int outputs;             // colour outputs 0 .. n-1: the image, and in the scene pass its bright part
};

const Names modelAttributes{"position", "normal", "aTangent", "aBitangent", "uv"};
const Names modelUniforms{"view", "projection", "model", "colorWireframeModeEnabled", "colorWireframeMode",
                          "diffuseColor", "specularColor", "lightPosition", "cameraPosition", "hasTexture",
                          "color_texture", "hasNormalMap", "color_normalMap", "hasLighting", "celShading"};

const ProgramInterface programs[] = {
    {"draw", modelAttributes, 0, modelUniforms, 2},
    {"normalMapping", modelAttributes, 0, modelUniforms, 2},
    {"laser", modelAttributes, 0, [] { Names names = modelUniforms; names.push_back("alpha"); return names; }(), 2},
    {"skybox", {"position"}, 0, {"view_projection", "celShading", "skybox"}, 2},
    {"particle", {}, 3, {"CameraRight_worldspace", "CameraUp_worldspace", "view_projection"}, 2},
    {"enemyDirectionArrow", {"position"}, 0, {"model", "triangleColor"}, 2},
    {"drawColor", {"position"}, 0, {"model", "color"}, 2},
    {"contoursEdgeDetection", {}, 2, {"color_texture"}, 1},
    {"blur", {}, 2, {"image", "horizontal"}, 1},
    {"frameBuffersCombined", {}, 2, {"scene", "contours", "bloom", "contoursEnabled", "bloomEnabled"}, 1},
};

// Every location 0 .. count-1 is used by an active input (GL_PROGRAM_INPUT) or output (GL_PROGRAM_OUTPUT).
void expectLocationsUpTo(GLuint program, GLenum interface, int count, const char* what) {
  GLint active = 0;
  glGetProgramInterfaceiv(program, interface, GL_ACTIVE_RESOURCES, &active);
  std::set<GLint> locations;
  for (GLint index = 0; index < active; ++index) {
    const GLenum property = GL_LOCATION;
    GLint location = -1;
    glGetProgramResourceiv(program, interface, static_cast<GLuint>(index), 1, &property, 1, nullptr, &location);
    locations.insert(location);
  }
  for (GLint location = 0; location < count; ++location) {
    EXPECT_EQ(locations.count(location), 1U) << what << " location " << location << " is unused";
  }
}

using ShaderFilesTest = GlTest;

TEST_F(ShaderFilesTest, EveryProgramLinksAndKeepsWhatTheGameLooksUp) {
  for (const ProgramInterface& expected : programs) {
    SCOPED_TRACE(expected.stem);
    const auto shader = loadProgram(expected.stem);
    GLint linked = GL_FALSE;
    glGetProgramiv(shader->program, GL_LINK_STATUS, &linked);
    ASSERT_EQ(linked, GL_TRUE);
    for (const char* name : expected.attributes) {
      EXPECT_NE(glGetAttribLocation(shader->program, name), -1) << "attribute " << name << " is inactive";
    }
    expectLocationsUpTo(shader->program, GL_PROGRAM_INPUT, expected.locatedAttributes, "attribute");
    for (const char* name : expected.uniforms) {
      EXPECT_NE(glGetUniformLocation(shader->program, name), -1) << "uniform " << name << " is inactive";
    }
    expectLocationsUpTo(shader->program, GL_PROGRAM_OUTPUT, expected.outputs, "output");
  }
}

TEST_F(ShaderFilesTest, SyntaxErrorEndsTheProgramWithTheCompilerMessage) {
  const std::string broken = ::testing::TempDir() + "broken.frag";
  std::ofstream(broken) << "#version 430 core\nout vec4 color;\nvoid main() { color = vec4(1.0) }\n";
  EXPECT_EXIT(scene::ShaderProgram("Voidskirmish/Shader/drawColor.vert", broken), ::testing::ExitedWithCode(1),
              "Failed to compile shader\n.+");
}

TEST_F(ShaderFilesTest, GlDebugOutputCountsEveryErrorAndPrintsEachMessageOnce) {
  ::testing::internal::CaptureStderr();
  for (int i = 0; i < 3; ++i) {
    glEnable(0x7fff);  // no such capability
  }
  const std::string printed = ::testing::internal::GetCapturedStderr();
  glGetError();  // the debug output does not consume the error flag
  EXPECT_EQ(render::glErrorCount(), errorsBefore + 3);
  EXPECT_EQ(printed.rfind("GL error: ", 0), 0u) << printed;
  EXPECT_EQ(printed.find("GL error: ", 1), std::string::npos) << printed;
  errorsBefore = render::glErrorCount();  // these errors were made on purpose
}

}  // namespace
}  // namespace voidskirmish::testing
