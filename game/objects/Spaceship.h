#pragma once

#include <memory>
#include <ostream>

#include "game/collision/Line.h"
#include "game/objects/Controllable.h"
#include "game/objects/GameObject.h"
#include "scene/Camera.h"

namespace voidskirmish::game::objects {

// A player's ship: hull, gun and camera flying with inertia. Keys only set the control flags and signed
// accelerations; update integrates them. Holds the player's life points and the damage and collision responses.
class Spaceship : public GameObject, public Controllable {
 public:
  // Everything of a ship that changes in play; the camera and the gun follow from the pose. Laid out without
  // padding, so two saves compare byte for byte.
  struct Saved {
    glm::mat4 modelMatrix;
    glm::mat4 previousModelMatrix;
    glm::vec4 boundingSphere;
    float collisionTimer, recoil, lifePoints, speed, thrust, yawRate, yawAcceleration, pitchRate, pitchAcceleration;
    bool collided, alive, thrustForward, thrustBackward, yawLeft, yawRight, pitchUp, pitchDown;
  };

  // rotation: angles in degrees about X, Y and Z.
  Spaceship(glm::vec3 position, glm::vec3 rotation, const scene::ShaderProgram* drawProgram);

  void update(float deltaTime) override;
  void rotateX(float angle) override;
  void rotateY(float angle) override;
  void rotateZ(float angle) override;
  void moveX(float distance) override;
  void moveY(float distance) override;
  void moveZ(float distance) override;
  void setModelMatrix(glm::mat4 matrix) override;
  glm::mat4 getViewMatrix() const override;

  Saved save() const;
  void restore(const Saved& saved);
  void updateAttachments();
  // Collision response: half speed reversed, a fresh lock, and the last step undone.
  void bounceBack();
  // Damage; prints the change to `out` when settings->lifePointsChanges is on, and the death line when life goes
  // below 0.
  void decreaseLife(float amount, const scene::RenderSettings* settings, std::ostream& out);
  collision::Line getLaserLine() const;
  glm::vec3 position() const { return glm::vec3(modelMatrix[3]); }
  bool hasLife() const { return lifePoints > 0.0f; }
  void drawShip(const scene::ShaderProgram* shader, glm::vec3 cameraPosition, const scene::RenderSettings* settings,
                glm::mat4 view, glm::mat4 projection);

  std::unique_ptr<scene::Camera> camera;
  glm::mat4 cameraOffset;
  std::unique_ptr<scene::Geometry> gun;
  glm::mat4 gunOffset{1.0f};
  glm::mat4 gunMatrix{1.0f};
  float recoil = 0.0f;
  float lifePoints = 10.0f;
  bool alive = true;
  glm::vec3 fullLifeColor{0.0f, 1.0f, 0.0f};
  glm::vec3 lowLifeColor{1.0f, 0.0f, 0.0f};
  float thrustAcceleration = 60.0f;
  float maxSpeed = 120.0f;
  float speedDamping = 0.9f;
  float bankFactor = 25.0f;
  float turnAcceleration = 0.5f;
  static constexpr float MAX_TURN_RATE = 2.0f;  // radians a second
  float maxTurnRate = MAX_TURN_RATE;
  float turnDamping = 0.7f;
  bool thrustForward = false, thrustBackward = false;
  float speed = 0.0f;
  float thrust = 0.0f;
  bool yawLeft = false, yawRight = false;
  float yawRate = 0.0f;
  float yawAcceleration = 0.0f;
  bool pitchUp = false, pitchDown = false;
  float pitchRate = 0.0f;
  float pitchAcceleration = 0.0f;
};

}  // namespace voidskirmish::game::objects
