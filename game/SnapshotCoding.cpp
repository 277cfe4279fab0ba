#include "game/SnapshotCoding.h"

#include <cmath>
#include <cstring>

#include "input/EventText.h"

namespace voidskirmish::game {

using objects::Asteroid;

namespace {

// Far beyond any match, and far enough from the largest values that counting on never overflows.
constexpr std::int64_t MOST_FRAMES = std::int64_t{1} << 48;
constexpr int MOST_ROUNDS = 1 << 30;

}  // namespace

class SnapshotCoding::Writer {
 public:
  void u32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
      bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
  }
  void i32(int value) { u32(static_cast<std::uint32_t>(value)); }
  void i64(long value) {
    u32(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
    u32(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value) >> 32));
  }
  void byte(std::uint8_t value) { bytes.push_back(value); }
  void flag(bool value) { byte(value ? 1 : 0); }
  void real(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    u32(bits);
  }
  void reals(const float* values, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      real(values[i]);
    }
  }
  template <typename Glm>
  void glm(const Glm& value) {
    reals(&value[0][0], sizeof(Glm) / sizeof(float));
  }
  void vec(const glm::vec3& value) { reals(&value.x, 3); }
  void vec(const glm::vec4& value) { reals(&value.x, 4); }

  std::vector<std::uint8_t> bytes;
};

class SnapshotCoding::Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes(bytes) {}

  [[noreturn]] void fail(std::size_t at, const std::string& what) const { throw Damaged(at, what); }

  std::uint32_t u32(const char* what) {
    take(4, what);
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      value |= std::uint32_t{bytes[start + i]} << (8 * i);
    }
    return value;
  }
  std::uint32_t count(std::uint32_t highest, const char* what) {
    const std::uint32_t value = u32(what);
    if (value > highest) {
      fail(start, std::string(what) + " " + std::to_string(value) + " is more than " + std::to_string(highest));
    }
    return value;
  }
  int i32(int lowest, int highest, const char* what) {
    const auto value = static_cast<std::int32_t>(u32(what));
    if (value < lowest || value > highest) {
      fail(start, std::string(what) + " " + std::to_string(value) + " is out of range");
    }
    return value;
  }
  long i64(const char* what) {
    const std::uint64_t low = u32(what);
    const std::uint64_t high = u32(what);
    const auto value = static_cast<std::int64_t>(low | high << 32);
    if (value < 0 || value > MOST_FRAMES) {
      fail(start - 4, std::string(what) + " is out of range");
    }
    return static_cast<long>(value);
  }
  std::uint8_t byte(const char* what) {
    take(1, what);
    return bytes[start];
  }
  std::uint8_t byteBelow(int limit, const char* what) {
    const std::uint8_t value = byte(what);
    if (value >= limit) {
      fail(start, std::string(what) + " " + std::to_string(value) + " is out of range");
    }
    return value;
  }
  bool flag(const char* what) {
    const std::uint8_t value = byte(what);
    if (value > 1) {
      fail(start, std::string(what) + " is neither 0 nor 1");
    }
    return value == 1;
  }
  float real(const char* what, float lowest = -HUGE_VALF, float highest = HUGE_VALF) {
    const std::uint32_t bits = u32(what);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) {
      fail(start, std::string(what) + " is not finite");
    }
    if (value < lowest || value > highest) {
      fail(start, std::string(what) + " is out of range");
    }
    return value;
  }
  void reals(float* values, std::size_t count, const char* what) {
    for (std::size_t i = 0; i < count; ++i) {
      values[i] = real(what);
    }
  }
  template <typename Glm>
  void glm(Glm& value, const char* what) {
    reals(&value[0][0], sizeof(Glm) / sizeof(float), what);
  }
  void vec(glm::vec3& value, const char* what) { reals(&value.x, 3, what); }
  void vec(glm::vec4& value, const char* what) { reals(&value.x, 4, what); }

  void end() const {
    if (next != bytes.size()) {
      fail(next, std::to_string(bytes.size() - next) + " bytes after the snapshot's end");
    }
  }

  std::size_t start = 0;  // of the value read last

 private:
  void take(std::size_t size, const char* what) {
    if (bytes.size() - next < size) {
      fail(next, std::string("the snapshot ends inside ") + what);
    }
    start = next;
    next += size;
  }

  const std::vector<std::uint8_t>& bytes;
  std::size_t next = 0;
};

std::vector<std::uint8_t> SnapshotCoding::write(const Play::Snapshot& snapshot) {
  Writer out;
  code(out, snapshot);
  return std::move(out.bytes);
}

Play::Snapshot SnapshotCoding::read(const std::vector<std::uint8_t>& bytes) {
  Reader in(bytes);
  Play::Snapshot snapshot;
  code(in, snapshot);
  in.end();
  return snapshot;
}

void SnapshotCoding::code(Writer& out, const Play::Snapshot& snapshot) {
  const MatchSnapshot& match = snapshot.match;
  for (const objects::Spaceship::Saved& ship : match.ships) {
    out.glm(ship.modelMatrix);
    out.glm(ship.previousModelMatrix);
    out.vec(ship.boundingSphere);
    for (float value : {ship.collisionTimer, ship.recoil, ship.lifePoints, ship.speed, ship.thrust, ship.yawRate,
                        ship.yawAcceleration, ship.pitchRate, ship.pitchAcceleration}) {
      out.real(value);
    }
    for (bool value : {ship.collided, ship.alive, ship.thrustForward, ship.thrustBackward, ship.yawLeft,
                       ship.yawRight, ship.pitchUp, ship.pitchDown}) {
      out.flag(value);
    }
  }
  out.u32(static_cast<std::uint32_t>(match.asteroidMatrices.size()));
  for (const glm::mat4& matrix : match.asteroidMatrices) {
    out.glm(matrix);
  }
  out.u32(static_cast<std::uint32_t>(match.beams.size()));
  for (const objects::LaserBeam::Saved& beam : match.beams) {
    out.glm(beam.modelMatrix);
    out.vec(beam.line.start);
    out.vec(beam.line.end);
    out.real(beam.timeLeft);
  }
  const ParticlePool::Saved& particles = match.particles;
  out.u32(static_cast<std::uint32_t>(particles.slots.size()));
  for (std::size_t i = 0; i < particles.slots.size(); ++i) {
    const Particle& particle = particles.live[i];
    out.u32(particles.slots[i]);
    out.vec(particle.position);
    out.vec(particle.velocity);
    for (std::uint8_t channel : {particle.r, particle.g, particle.b, particle.a}) {
      out.byte(channel);
    }
    out.real(particle.size);
    out.real(particle.life);
  }
  out.i32(particles.lastUsedParticle);
  out.i32(particles.particleCount);
  out.reals(particles.positionSize.data(), particles.positionSize.size());
  for (std::uint8_t channel : particles.colours) {
    out.byte(channel);
  }
  out.u32(match.random.state);
  out.u32(match.computerRandom.state);
  for (int player = 0; player < 2; ++player) {
    out.i32(match.rounds.wins[player]);
    out.flag(match.rounds.diedThisFrame[player]);
    out.flag(match.outsideBoundary[player]);
    out.real(match.warningBlend[player]);
  }
  out.flag(match.rounds.decided);
  out.i32(match.rounds.winner_);
  out.flag(match.paused);
  out.real(match.warningBlendDirection);
  out.i64(match.frameNumber);

  const scene::RenderSettings& settings = snapshot.settings;
  for (bool value : {settings.textures, settings.frameTime, settings.wireframe, settings.blending,
                     settings.frustumCulling, settings.celShading, settings.particles, settings.bloom,
                     settings.normalMapping, settings.contours, settings.colorWireframeModeEnabled,
                     settings.lifePointsChanges, settings.fastBloom, settings.sound, settings.hudShapes,
                     snapshot.asteroidNormalMap}) {
    out.flag(value);
  }
  out.vec(settings.colorWireframeMode);
  out.i32(settings.mipmapMode);
  out.i32(settings.samplingMode);
  out.real(settings.renderScale);
  out.flag(snapshot.controls.mouseSteering);
  out.i32(snapshot.controls.centreX);
  out.i32(snapshot.controls.centreY);
  for (const PadControls::Pad& pad : snapshot.pads) {
    out.flag(pad.connected);
    out.reals(pad.axes.data(), pad.axes.size());
    out.byte(pad.computer ? static_cast<std::uint8_t>(static_cast<int>(*pad.computer) + 1) : 0);  // 0: a person
  }
  out.i32(snapshot.width);
  out.i32(snapshot.height);
}

void SnapshotCoding::code(Reader& in, Play::Snapshot& snapshot) {
  MatchSnapshot& match = snapshot.match;
  for (objects::Spaceship::Saved& ship : match.ships) {
    in.glm(ship.modelMatrix, "ship matrix");
    in.glm(ship.previousModelMatrix, "ship matrix");
    in.vec(ship.boundingSphere, "ship sphere");
    for (float* value : {&ship.collisionTimer, &ship.recoil, &ship.lifePoints, &ship.speed, &ship.thrust,
                         &ship.yawRate, &ship.yawAcceleration, &ship.pitchRate, &ship.pitchAcceleration}) {
      *value = in.real("ship value");
    }
    for (bool* value : {&ship.collided, &ship.alive, &ship.thrustForward, &ship.thrustBackward, &ship.yawLeft,
                        &ship.yawRight, &ship.pitchUp, &ship.pitchDown}) {
      *value = in.flag("ship switch");
    }
  }
  // Drawn and tested as a whole field: no other count can be restored.
  const std::uint32_t asteroids = in.u32("asteroid count");
  if (asteroids != Asteroid::FIELD_SIZE) {
    in.fail(in.start, "asteroid count " + std::to_string(asteroids) + " is not " +
                          std::to_string(Asteroid::FIELD_SIZE));
  }
  match.asteroidMatrices.resize(asteroids);
  for (glm::mat4& matrix : match.asteroidMatrices) {
    in.glm(matrix, "asteroid matrix");
  }
  match.beams.resize(in.count(MAX_BEAMS, "beam count"));
  for (objects::LaserBeam::Saved& beam : match.beams) {
    in.glm(beam.modelMatrix, "beam matrix");
    in.vec(beam.line.start, "beam start");
    in.vec(beam.line.end, "beam end");
    beam.timeLeft = in.real("beam time");
  }
  ParticlePool::Saved& particles = match.particles;
  const std::uint32_t live = in.count(MAX_PARTICLES, "particle count");
  particles.slots.resize(live);
  particles.live.resize(live);
  for (std::size_t i = 0; i < live; ++i) {
    Particle& particle = particles.live[i];
    const std::uint32_t slot = in.u32("particle slot");
    // In rising order, as saved: no slot twice, none past the pool.
    if (slot >= static_cast<std::uint32_t>(MAX_PARTICLES) || (i > 0 && slot <= particles.slots[i - 1])) {
      in.fail(in.start, "particle slot " + std::to_string(slot) + " is out of order or range");
    }
    particles.slots[i] = slot;
    in.vec(particle.position, "particle position");
    in.vec(particle.velocity, "particle velocity");
    for (std::uint8_t* channel : {&particle.r, &particle.g, &particle.b, &particle.a}) {
      *channel = in.byte("particle colour");
    }
    particle.size = in.real("particle size");
    particle.life = in.real("particle life", 0.0f);
    if (particle.life == 0.0f) {
      in.fail(in.start, "a saved particle has no life left");
    }
  }
  particles.lastUsedParticle = in.i32(0, MAX_PARTICLES - 1, "last used particle");
  particles.particleCount = in.i32(0, MAX_PARTICLES, "packed particle count");
  particles.positionSize.resize(4 * static_cast<std::size_t>(particles.particleCount));
  in.reals(particles.positionSize.data(), particles.positionSize.size(), "packed particle");
  particles.colours.resize(particles.positionSize.size());
  for (std::uint8_t& channel : particles.colours) {
    channel = in.byte("packed colour");
  }
  match.random.state = in.u32("random state");
  match.computerRandom.state = in.u32("computer random state");
  for (int player = 0; player < 2; ++player) {
    match.rounds.wins[player] = in.i32(0, MOST_ROUNDS, "rounds won");
    match.rounds.diedThisFrame[player] = in.flag("death");
    match.outsideBoundary[player] = in.flag("out of bounds");
    match.warningBlend[player] = in.real("warning blend");
  }
  match.rounds.decided = in.flag("round decided");
  match.rounds.winner_ = in.i32(Rounds::NOBODY, 1, "round winner");
  match.paused = in.flag("pause");
  match.warningBlendDirection = in.real("warning direction");
  match.frameNumber = in.i64("frame number");

  scene::RenderSettings& settings = snapshot.settings;
  for (bool* value : {&settings.textures, &settings.frameTime, &settings.wireframe, &settings.blending,
                      &settings.frustumCulling, &settings.celShading, &settings.particles, &settings.bloom,
                      &settings.normalMapping, &settings.contours, &settings.colorWireframeModeEnabled,
                      &settings.lifePointsChanges, &settings.fastBloom, &settings.sound, &settings.hudShapes,
                      &snapshot.asteroidNormalMap}) {
    *value = in.flag("setting");
  }
  in.vec(settings.colorWireframeMode, "wireframe colour");
  settings.mipmapMode = in.i32(0, 2, "mipmap mode");
  settings.samplingMode = in.i32(0, 1, "sampling mode");
  settings.renderScale = in.real("render scale", input::SMALLEST_RENDER_SCALE, 1.0f);
  snapshot.controls.mouseSteering = in.flag("mouse steering");
  snapshot.controls.centreX = in.i32(0, input::MAX_WINDOW_SIDE, "steering centre");
  snapshot.controls.centreY = in.i32(0, input::MAX_WINDOW_SIDE, "steering centre");
  for (PadControls::Pad& pad : snapshot.pads) {
    pad.connected = in.flag("pad connected");
    for (float& axis : pad.axes) {
      axis = in.real("pad axis", -1.0f, 1.0f);
    }
    const std::uint8_t flier = in.byteBelow(static_cast<int>(input::ComputerLevel::Hard) + 2, "pad flier");
    pad.computer = flier == 0 ? std::nullopt : std::optional(static_cast<input::ComputerLevel>(flier - 1));
  }
  snapshot.width = in.i32(1, input::MAX_WINDOW_SIDE, "window width");
  snapshot.height = in.i32(1, input::MAX_WINDOW_SIDE, "window height");
}

}  // namespace voidskirmish::game
