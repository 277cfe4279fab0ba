#include "game/objects/LaserBeam.h"

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "scene/RenderSettings.h"
#include "game/objects/Spaceship.h"
#include "scene/Frustum.h"
#include "scene/ShaderProgram.h"

namespace voidskirmish::game::objects {

namespace {

constexpr const char* CYLINDER_MODEL = "Voidskirmish/Material/cylinder.dae";
// The half length of a shot that hit nothing; the same value the beam keeps in defaultHalfLength.
constexpr float MISS_HALF_LENGTH = 1000000.0f;

// The cylinder spans −1 to 1 along its Z axis: moved h ahead and stretched by h it runs from the ship's origin
// plane 2h along −Z, one unit below the line of fire, fixed in the pose the shooter had when it fired.
glm::mat4 placement(const Spaceship* shooter, float halfLength) {
  const glm::mat4 moved = glm::translate(shooter->modelMatrix, glm::vec3(0.0f, -1.0f, -halfLength));
  return glm::scale(moved, glm::vec3(0.05f, 0.05f, halfLength));
}

// A quarter of the distance: the ship's scale of 2 doubles the model's own length of 2h, so the beam ends level
// with the hit point.
float halfLengthTo(const Spaceship* shooter, glm::vec3 end) { return glm::distance(end, shooter->position()) * 0.25f; }

}  // namespace

scene::ModelFile LaserBeam::readModel() { return scene::ModelFile::read(CYLINDER_MODEL, glm::mat4(1.0f)); }

LaserBeam::LaserBeam(const Spaceship* shooter, glm::vec3 end, const scene::ShaderProgram* laserProgram,
                     const scene::ModelFile& model)
    : Geometry(model, placement(shooter, halfLengthTo(shooter, end)), laserProgram),
      collision::Line{shooter->position(), end} {}

LaserBeam::LaserBeam(const Spaceship* shooter, const scene::ShaderProgram* laserProgram,
                     const scene::ModelFile& model)
    : Geometry(model, placement(shooter, MISS_HALF_LENGTH), laserProgram),
      collision::Line(shooter->getLaserLine()) {}

LaserBeam::LaserBeam(const Saved& saved, const scene::ShaderProgram* laserProgram, const scene::ModelFile& model)
    : Geometry(model, saved.modelMatrix, laserProgram), collision::Line(saved.line), timeLeft(saved.timeLeft) {}

static_assert(sizeof(LaserBeam::Saved) == sizeof(glm::mat4) + 7 * sizeof(float), "a saved beam has no padding");

float LaserBeam::alpha() const { return glm::clamp(timeLeft, 0.0f, 1.0f); }

void LaserBeam::drawLaser(glm::vec3 cameraPosition, scene::RenderSettings* settings, glm::mat4 view,
                          glm::mat4 projection) {
  glUseProgram(shader->program);
  const GLint alphaLocation = alphaUniform.in(shader->program)[0];
  if (alphaLocation >= 0) {
    glUniform1f(alphaLocation, alpha());
  }
  // Beams are never culled: their bounding sphere is the unit cylinder's, not the stretched beam's.
  const bool culling = settings->frustumCulling;
  settings->frustumCulling = false;
  Geometry::draw(shader, view, projection, cameraPosition, &boundingSphere, &scene::culledObjectCount, settings);
  settings->frustumCulling = culling;
}

}  // namespace voidskirmish::game::objects
