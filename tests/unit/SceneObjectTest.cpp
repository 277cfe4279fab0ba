#include <glm/ext/matrix_relational.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "scene/Camera.h"

namespace voidskirmish::scene {
namespace {

// Keeps every matrix handed to setModelMatrix, as a game object with derived data would see them.
class RecordingObject : public SceneObject {
 public:
  void update(float) override {}
  void draw(const ShaderProgram*, glm::mat4, glm::mat4, glm::vec3, const glm::vec4*, std::uint32_t*,
            const game::RenderSettings*) override {}
  void setModelMatrix(glm::mat4 matrix) override {
    received.push_back(matrix);
    modelMatrix = matrix;
  }
  std::vector<glm::mat4> received;
};

bool near(const glm::mat4& a, const glm::mat4& b) { return glm::all(glm::equal(a, b, 1e-5f)); }

// Each transform acts in the object's own frame (applied on the right) and goes through setModelMatrix.
TEST(SceneObjectTest, EveryTransformActsInTheOwnFrameThroughSetModelMatrix) {
  RecordingObject object;
  object.modelMatrix = glm::rotate(glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3)), 0.9f, glm::vec3(0, 1, 0));
  const glm::mat4 I(1.0f);
  const std::pair<std::function<void()>, glm::mat4> cases[] = {
      {[&] { object.rotateX(0.3f); }, glm::rotate(I, 0.3f, glm::vec3(1, 0, 0))},
      {[&] { object.rotateY(0.4f); }, glm::rotate(I, 0.4f, glm::vec3(0, 1, 0))},
      {[&] { object.rotateZ(0.5f); }, glm::rotate(I, 0.5f, glm::vec3(0, 0, 1))},
      {[&] { object.moveX(1.5f); }, glm::translate(I, glm::vec3(1.5f, 0, 0))},
      {[&] { object.moveY(-2.0f); }, glm::translate(I, glm::vec3(0, -2.0f, 0))},
      {[&] { object.moveZ(4.0f); }, glm::translate(I, glm::vec3(0, 0, 4.0f))}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const glm::mat4 before = object.modelMatrix;
    cases[i].first();
    ASSERT_EQ(object.received.size(), i + 1) << "operation " << i << " bypassed setModelMatrix";
    EXPECT_TRUE(near(object.received.back(), before * cases[i].second)) << "operation " << i;
  }
}

TEST(SceneObjectTest, CameraStartsAtPositionPlusOffsetAndOnlyItsMatrixMoves) {
  Camera camera(glm::vec3(1, 2, 3), glm::vec3(0.5f, 0, -1));
  EXPECT_TRUE(near(camera.modelMatrix, glm::translate(glm::mat4(1.0f), glm::vec3(1.5f, 2, 2))));
  const glm::mat4 before = camera.modelMatrix;
  camera.update(1.0f);
  std::uint32_t culled = 0;
  camera.draw(nullptr, glm::mat4(1.0f), glm::mat4(1.0f), glm::vec3(0), nullptr, &culled, nullptr);
  EXPECT_TRUE(near(camera.modelMatrix, before));
  EXPECT_EQ(culled, 0u);
  camera.moveZ(-2.0f);  // forward along the view direction
  EXPECT_NEAR(camera.modelMatrix[3].z, 0.0f, 1e-5f);
}

}  // namespace
}  // namespace voidskirmish::scene
