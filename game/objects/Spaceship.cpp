#include "game/objects/Spaceship.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <ostream>

#include "scene/RenderSettings.h"
#include "scene/Frustum.h"

namespace voidskirmish::game::objects {

namespace {

const glm::vec3 X_AXIS(1.0f, 0.0f, 0.0f);
const glm::vec3 Y_AXIS(0.0f, 1.0f, 0.0f);
const glm::vec3 Z_AXIS(0.0f, 0.0f, 1.0f);
constexpr float DEGREES_TO_RADIANS = 0.017453292f;

// Translated, scaled by 2, then turned about X, Y and Z by the given degrees; a zero angle is left out.
glm::mat4 hullMatrix(glm::vec3 position, glm::vec3 rotationDegrees) {
  glm::mat4 matrix = glm::scale(glm::translate(glm::mat4(1.0f), position), glm::vec3(2.0f));
  const glm::vec3 axes[] = {X_AXIS, Y_AXIS, Z_AXIS};
  for (int i = 0; i < 3; ++i) {
    if (rotationDegrees[i] != 0.0f) {
      matrix = glm::rotate(matrix, rotationDegrees[i] * glm::pi<float>() / 180.0f, axes[i]);
    }
  }
  return matrix;
}

// Turns the hull model so that its nose points along −Z and lifts it slightly onto the camera's line.
glm::mat4 hullVertexTransform() {
  glm::mat4 transform = glm::rotate(glm::mat4(1.0f), glm::half_pi<float>(), -X_AXIS);
  transform = glm::rotate(transform, glm::half_pi<float>(), Z_AXIS);
  return glm::translate(transform, glm::vec3(0.0f, 0.0f, 0.3f));
}

// Lays the gun model along the hull's right-hand side, pointing forward.
glm::mat4 gunVertexTransform() {
  glm::mat4 transform = glm::rotate(glm::mat4(1.0f), glm::half_pi<float>(), -Z_AXIS);
  transform = glm::rotate(transform, glm::pi<float>(), -Y_AXIS);
  transform = glm::scale(transform, glm::vec3(0.6f, 0.07f, 0.7f));
  return glm::translate(transform, glm::vec3(-1.0f, 0.0f, 1.9f));
}

// Damping as a factor of the current value. Clamped at 0: a long frame stops the motion rather than reversing it.
float dampingFactor(float damping, float deltaTime) { return std::max(0.0f, 1.0f - damping * deltaTime); }

// A key held against the current direction of motion.
bool opposes(float rate, bool positiveKey, bool negativeKey) {
  return (positiveKey && rate < 0.0f) || (negativeKey && rate > 0.0f);
}

// Motion decays unless a key pushes it on in its own direction while the pilot can steer.
bool decays(float rate, bool positiveKey, bool negativeKey, bool steerable) {
  return rate != 0.0f && (!steerable || !(positiveKey || negativeKey) || opposes(rate, positiveKey, negativeKey));
}

// Turning: an opposite key stops the turn at once, otherwise the rate decays.
float dampedTurnRate(float rate, bool positiveKey, bool negativeKey, bool steerable, float factor) {
  if (!decays(rate, positiveKey, negativeKey, steerable)) {
    return rate;
  }
  return opposes(rate, positiveKey, negativeKey) ? 0.0f : rate * factor;
}

}  // namespace

Spaceship::Spaceship(glm::vec3 position, glm::vec3 rotation, const scene::ShaderProgram* drawProgram)
    : GameObject("Voidskirmish/Material/ship2.dae", hullMatrix(position, rotation), drawProgram,
                 hullVertexTransform()),
      camera(std::make_unique<scene::Camera>(position, rotation)),
      cameraOffset(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.5f, -1.1f))),
      gun(std::make_unique<scene::Geometry>("Voidskirmish/Material/SpaceshipGun.dae", modelMatrix, drawProgram,
                                            gunVertexTransform())) {
  hasLighting = true;
  updateAttachments();
}

void Spaceship::update(float deltaTime) {
  const float t = deltaTime;

  collisionTimer -= t;
  if (collisionTimer <= 0.0f) {
    collided = false;
    collisionTimer = collisionDuration;
  }

  const bool steerable = hasLife() && !collided;

  if (decays(speed, thrustForward, thrustBackward, steerable)) {
    speed *= dampingFactor(speedDamping, t);
  }
  if (steerable && (thrustForward || thrustBackward)) {
    speed += thrust * t;
  }

  const float turnFactor = dampingFactor(turnDamping, t);
  yawRate = dampedTurnRate(yawRate, yawLeft, yawRight, steerable, turnFactor);
  float roll = 0.0f;
  if (steerable && (yawLeft || yawRight)) {
    yawRate += yawAcceleration * t;
    roll = yawAcceleration * bankFactor * t * DEGREES_TO_RADIANS;
  }

  pitchRate = dampedTurnRate(pitchRate, pitchUp, pitchDown, steerable, turnFactor);
  if (steerable && (pitchUp || pitchDown)) {
    pitchRate += pitchAcceleration * t;
  }

  if (hasLife()) {
    speed = glm::clamp(speed, -maxSpeed, maxSpeed);
    yawRate = glm::clamp(yawRate, -maxTurnRate, maxTurnRate);
    pitchRate = glm::clamp(pitchRate, -maxTurnRate, maxTurnRate);
  }

  // Every step in the ship's own frame; a ship without life still drifts.
  glm::mat4 moved = glm::rotate(modelMatrix, pitchRate * t, X_AXIS);
  moved = glm::rotate(moved, yawRate * t, Y_AXIS);
  moved = glm::rotate(moved, roll, Z_AXIS);
  moved = glm::translate(moved, glm::vec3(0.0f, 0.0f, -speed * t));
  setModelMatrix(moved);

  recoil = glm::clamp(recoil - t, 0.0f, 1.0f);
}

// The transform operations all end in setModelMatrix, which brings camera and gun along.
void Spaceship::rotateX(float angle) { GameObject::rotateX(angle); }
void Spaceship::rotateY(float angle) { GameObject::rotateY(angle); }
void Spaceship::rotateZ(float angle) { GameObject::rotateZ(angle); }
void Spaceship::moveX(float distance) { GameObject::moveX(distance); }
void Spaceship::moveY(float distance) { GameObject::moveY(distance); }
void Spaceship::moveZ(float distance) { GameObject::moveZ(distance); }

void Spaceship::setModelMatrix(glm::mat4 matrix) {
  previousModelMatrix = modelMatrix;
  Geometry::setModelMatrix(matrix);
  updateAttachments();
}

glm::mat4 Spaceship::getViewMatrix() const { return glm::inverse(camera->modelMatrix); }

static_assert(sizeof(Spaceship::Saved) == 2 * sizeof(glm::mat4) + sizeof(glm::vec4) + 9 * sizeof(float) + 8,
              "a saved ship has no padding");

Spaceship::Saved Spaceship::save() const {
  return {modelMatrix, previousModelMatrix, boundingSphere, collisionTimer, recoil, lifePoints, speed, thrust, yawRate,
          yawAcceleration, pitchRate, pitchAcceleration, collided, alive, thrustForward, thrustBackward, yawLeft,
          yawRight, pitchUp, pitchDown};
}

// Straight into the fields: setModelMatrix would take the present pose for the previous one.
void Spaceship::restore(const Saved& saved) {
  modelMatrix = saved.modelMatrix;
  previousModelMatrix = saved.previousModelMatrix;
  boundingSphere = saved.boundingSphere;
  collisionTimer = saved.collisionTimer;
  recoil = saved.recoil;
  lifePoints = saved.lifePoints;
  speed = saved.speed;
  thrust = saved.thrust;
  yawRate = saved.yawRate;
  yawAcceleration = saved.yawAcceleration;
  pitchRate = saved.pitchRate;
  pitchAcceleration = saved.pitchAcceleration;
  collided = saved.collided;
  alive = saved.alive;
  thrustForward = saved.thrustForward;
  thrustBackward = saved.thrustBackward;
  yawLeft = saved.yawLeft;
  yawRight = saved.yawRight;
  pitchUp = saved.pitchUp;
  pitchDown = saved.pitchDown;
  updateAttachments();
}

void Spaceship::updateAttachments() {
  camera->setModelMatrix(modelMatrix * cameraOffset);
  gunMatrix = modelMatrix * gunOffset;
}

void Spaceship::bounceBack() {
  speed *= -0.5f;
  collisionTimer = collisionDuration;
  collided = true;
  setModelMatrix(previousModelMatrix);
}

void Spaceship::decreaseLife(float amount, const scene::RenderSettings* settings, std::ostream& out) {
  if (!alive) {
    return;
  }
  const float before = lifePoints;
  lifePoints -= amount;
  if (settings->lifePointsChanges) {
    out << "Enemy life points decreased from " << before << " to " << lifePoints << std::endl;
  }
  // Exactly 0 still counts as alive; only going below ends the ship.
  if (lifePoints < 0.0f) {
    alive = false;
    lifePoints = 0.0f;
    out << "Player died => Game is over!\nPlease Restart with ENTER or exit the game with ESC" << std::endl;
  }
}

collision::Line Spaceship::getLaserLine() const {
  const glm::vec3 start = position();
  const glm::vec3 forward = glm::normalize(glm::vec3(camera->modelMatrix * glm::vec4(0.0f, 0.0f, -1.0f, 0.0f)));
  return collision::Line{start, start + forward};
}

void Spaceship::drawShip(const scene::ShaderProgram* shader, glm::vec3 cameraPosition,
                         const scene::RenderSettings* settings, glm::mat4 view, glm::mat4 projection) {
  // Hull and gun are culled by the hull's sphere together, but each rejected draw is counted.
  Geometry::draw(shader, view, projection, cameraPosition, &boundingSphere, &scene::culledObjectCount, settings);
  // After a shot the gun slides back along +Z and returns within a second.
  gun->setModelMatrix(glm::translate(gunMatrix, glm::vec3(0.0f, 0.0f, 2.0f * recoil)));
  gun->draw(shader, view, projection, cameraPosition, &boundingSphere, &scene::culledObjectCount, settings);
}

}  // namespace voidskirmish::game::objects
