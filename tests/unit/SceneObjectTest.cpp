#include <gtest/gtest.h>

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <functional>
#include <vector>

#include "scene/Camera.h"

namespace voidskirmish::scene {
namespace {

// Counts the matrices handed to setModelMatrix, as a game object with derived data would see them.
class RecordingObject : public Camera {
 public:
  RecordingObject() : Camera(glm::vec3(0.0f), glm::vec3(0.0f)) {}
  void setModelMatrix(glm::mat4 matrix) override {
    ++received;
    modelMatrix = matrix;
  }
  int received = 0;
};

// From (1, 2, 3) turned a quarter left about Y, whose own X, Y and Z point along world −Z, +Y and +X, each
// transform acts in the object's own frame and goes through setModelMatrix. Worked by hand: where the object
// ends up, where its nose (own −Z) points and where its top (own +Y) points.
TEST(SceneObjectTest, EveryTransformActsInTheOwnFrameThroughSetModelMatrix) {
  const float quarter = glm::half_pi<float>();
  const struct {
    std::function<void(SceneObject&)> transform;
    glm::vec3 position, nose, top;
  } cases[] = {
      {[&](SceneObject& o) { o.rotateX(quarter); }, {1, 2, 3}, {0, 1, 0}, {1, 0, 0}},
      {[&](SceneObject& o) { o.rotateY(quarter); }, {1, 2, 3}, {0, 0, 1}, {0, 1, 0}},
      {[&](SceneObject& o) { o.rotateZ(quarter); }, {1, 2, 3}, {-1, 0, 0}, {0, 0, 1}},
      {[](SceneObject& o) { o.moveX(1.5f); }, {1, 2, 1.5f}, {-1, 0, 0}, {0, 1, 0}},
      {[](SceneObject& o) { o.moveY(-2.0f); }, {1, 0, 3}, {-1, 0, 0}, {0, 1, 0}},
      {[](SceneObject& o) { o.moveZ(4.0f); }, {5, 2, 3}, {-1, 0, 0}, {0, 1, 0}},
  };
  for (const auto& c : cases) {
    RecordingObject object;
    object.modelMatrix = glm::rotate(glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3)), quarter, glm::vec3(0, 1, 0));
    c.transform(object);
    EXPECT_EQ(object.received, 1) << "bypassed setModelMatrix";
    const glm::mat4& m = object.modelMatrix;
    EXPECT_NEAR(glm::distance(glm::vec3(m[3]), c.position), 0.0f, 1e-5f);
    EXPECT_NEAR(glm::distance(-glm::vec3(m[2]), c.nose), 0.0f, 1e-5f);
    EXPECT_NEAR(glm::distance(glm::vec3(m[1]), c.top), 0.0f, 1e-5f);
  }
}

TEST(SceneObjectTest, CameraStartsAtPositionPlusOffsetAndMovesAlongItsView) {
  Camera camera(glm::vec3(1, 2, 3), glm::vec3(0.5f, 0, -1));
  EXPECT_EQ(glm::vec3(camera.modelMatrix[3]), glm::vec3(1.5f, 2, 2));
  EXPECT_EQ(glm::mat3(camera.modelMatrix), glm::mat3(1.0f));
  camera.moveZ(-2.0f);  // forward along the view direction
  EXPECT_NEAR(camera.modelMatrix[3].z, 0.0f, 1e-5f);
}

}  // namespace
}  // namespace voidskirmish::scene
