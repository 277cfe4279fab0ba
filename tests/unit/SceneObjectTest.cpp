#include <glm/gtc/constants.hpp>
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

void expectNear(const glm::mat4& actual, const glm::mat4& expected) {
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) {
      EXPECT_NEAR(actual[c][r], expected[c][r], 1e-5f) << "column " << c << ", row " << r;
    }
  }
}

glm::vec3 translation(const glm::mat4& m) { return glm::vec3(m[3]); }

TEST(SceneObjectTest, TransformsActInTheObjectsOwnFrame) {
  RecordingObject object;
  object.rotateY(glm::half_pi<float>());
  object.moveZ(5.0f);
  // Turned a quarter about Y, the object's own +Z is the world's +X.
  EXPECT_NEAR(translation(object.modelMatrix).x, 5.0f, 1e-5f);
  EXPECT_NEAR(translation(object.modelMatrix).y, 0.0f, 1e-5f);
  EXPECT_NEAR(translation(object.modelMatrix).z, 0.0f, 1e-5f);

  object.moveX(2.0f);  // own +X is now world −Z
  EXPECT_NEAR(translation(object.modelMatrix).z, -2.0f, 1e-5f);

  const glm::mat4 before = object.modelMatrix;
  object.rotateX(0.7f);
  object.rotateX(-0.7f);
  object.rotateZ(1.3f);
  object.rotateZ(-1.3f);
  expectNear(object.modelMatrix, before);
}

TEST(SceneObjectTest, EveryTransformReachesSetModelMatrixCombined) {
  RecordingObject object;
  object.modelMatrix = glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3));
  const std::vector<std::function<void()>> operations = {
      [&] { object.rotateX(0.3f); }, [&] { object.rotateY(0.4f); }, [&] { object.rotateZ(0.5f); },
      [&] { object.moveX(1.5f); },   [&] { object.moveY(-2.0f); },  [&] { object.moveZ(4.0f); }};
  const std::vector<std::function<glm::mat4(const glm::mat4&)>> expected = {
      [](const glm::mat4& m) { return glm::rotate(m, 0.3f, glm::vec3(1, 0, 0)); },
      [](const glm::mat4& m) { return glm::rotate(m, 0.4f, glm::vec3(0, 1, 0)); },
      [](const glm::mat4& m) { return glm::rotate(m, 0.5f, glm::vec3(0, 0, 1)); },
      [](const glm::mat4& m) { return glm::translate(m, glm::vec3(1.5f, 0, 0)); },
      [](const glm::mat4& m) { return glm::translate(m, glm::vec3(0, -2.0f, 0)); },
      [](const glm::mat4& m) { return glm::translate(m, glm::vec3(0, 0, 4.0f)); }};
  for (size_t i = 0; i < operations.size(); ++i) {
    const glm::mat4 before = object.modelMatrix;
    operations[i]();
    ASSERT_EQ(object.received.size(), i + 1) << "operation " << i << " bypassed setModelMatrix";
    expectNear(object.received.back(), expected[i](before));
  }
}

TEST(SceneObjectTest, CameraStartsAtPositionPlusOffsetAndOnlyItsMatrixMoves) {
  Camera camera(glm::vec3(1, 2, 3), glm::vec3(0.5f, 0, -1));
  expectNear(camera.modelMatrix, glm::translate(glm::mat4(1.0f), glm::vec3(1.5f, 2, 2)));
  EXPECT_FLOAT_EQ(camera.nearPlane, 0.1f);
  EXPECT_FLOAT_EQ(camera.farPlane, 10000.0f);
  EXPECT_EQ(camera.texture, nullptr);
  EXPECT_EQ(camera.normalTexture, nullptr);

  const glm::mat4 before = camera.modelMatrix;
  camera.update(1.0f);
  std::uint32_t culled = 0;
  camera.draw(nullptr, glm::mat4(1.0f), glm::mat4(1.0f), glm::vec3(0), nullptr, &culled, nullptr);
  expectNear(camera.modelMatrix, before);
  EXPECT_EQ(culled, 0u);

  camera.moveZ(-2.0f);  // forward along the view direction
  EXPECT_NEAR(translation(camera.modelMatrix).z, 0.0f, 1e-5f);
}

}  // namespace
}  // namespace voidskirmish::scene
