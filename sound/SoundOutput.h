#pragma once

#include <array>
#include <memory>
#include <ostream>
#include <string>

namespace voidskirmish::sound {

// The game's sounds, each read from "<folder><name>.wav".
enum class Sound { Laser, ShipHit, AsteroidHit, Burst, Explosion, Collision, Engine, Warning, RoundEnd, Pause, Resume };
constexpr int SOUND_COUNT = 11;

// How loud a sound is on the left and the right channel.
struct Balance {
  float left = 0.0f;
  float right = 0.0f;
};

// The one place OpenAL is used: the default device, its context, a buffer per sound and a fixed set of voices,
// all made at start so play allocates nothing. A voice is two sources held hard left and hard right, so each
// channel's loudness is set on its own. Errors after start are not looked for: a voice that fails is silent.
class SoundOutput {
 public:
  static constexpr int LOOPS = 4;

  // Opens the device and reads every sound; nothing, after one line on `errors` saying what failed and why.
  static std::unique_ptr<SoundOutput> open(const std::string& folder, float volume, std::ostream& errors);
  SoundOutput(const SoundOutput&) = delete;
  SoundOutput& operator=(const SoundOutput&) = delete;
  ~SoundOutput();

  // Once, on the voice free longest (the oldest one is cut when all are busy).
  void play(Sound sound, Balance balance);
  // Looping voice `loop` (0 to LOOPS - 1) plays `sound` at these gains and pitch; silent gains stop it.
  void loop(int loop, Sound sound, Balance balance, float pitch);
  void stopAll();

 private:
  struct Voice {
    std::array<unsigned, 2> sources{};  // left, right
  };
  static constexpr int ONCE_VOICES = 16;

  explicit SoundOutput(float volume);
  void load(const std::string& folder);
  void start(const Voice& voice, Sound sound, Balance balance, bool looping);

  struct Device;
  std::unique_ptr<Device> device;
  std::array<unsigned, SOUND_COUNT> buffers{};
  std::array<Voice, ONCE_VOICES> once{};
  std::array<Voice, LOOPS> loops{};
  std::array<int, LOOPS> loopSound{};  // what each loop plays, -1 when stopped
  int nextOnce = 0;
};

}  // namespace voidskirmish::sound
