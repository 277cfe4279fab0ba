#include "sound/SoundOutput.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>

#include "sound/WavFile.h"

namespace voidskirmish::sound {
namespace {

constexpr std::array<const char*, SOUND_COUNT> soundNames{"laser",     "shipHit",   "asteroidHit", "burst",
                                                          "explosion", "collision", "engine",      "warning",
                                                          "roundEnd",  "pause",     "resume"};

// OpenAL Soft and ALSA report a missing device in many lines of their own on standard error; the game says it in
// one. Standard error is closed to them only while the device opens, at set-up, when nothing else of the game prints.
class QuietStandardError {
 public:
  QuietStandardError() : saved(dup(STDERR_FILENO)) {
    const int nothing = ::open("/dev/null", O_WRONLY);
    if (saved >= 0 && nothing >= 0) {
      dup2(nothing, STDERR_FILENO);
    }
    if (nothing >= 0) {
      close(nothing);
    }
  }
  ~QuietStandardError() {
    if (saved >= 0) {
      dup2(saved, STDERR_FILENO);
      close(saved);
    }
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved;
};

void failOnAlError(const std::string& what) {
  if (alGetError() != AL_NO_ERROR) {
    throw std::runtime_error("OpenAL could not " + what);
  }
}

}  // namespace

struct SoundOutput::Device {
  Device() {
    const QuietStandardError quiet;
    device = alcOpenDevice(nullptr);
    if (device == nullptr) {
      throw std::runtime_error("no audio device could be opened");
    }
    context = alcCreateContext(device, nullptr);
    if (context == nullptr || alcMakeContextCurrent(context) != ALC_TRUE) {
      release();
      throw std::runtime_error("OpenAL could not start mixing on the audio device");
    }
  }
  ~Device() { release(); }
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  void release() {
    alcMakeContextCurrent(nullptr);
    if (context != nullptr) {
      alcDestroyContext(context);
    }
    if (device != nullptr) {
      alcCloseDevice(device);
    }
  }

  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
};

std::unique_ptr<SoundOutput> SoundOutput::open(const std::string& folder, float volume, std::ostream& errors) {
  try {
    std::unique_ptr<SoundOutput> output(new SoundOutput(volume));
    output->load(folder);
    return output;
  } catch (const std::runtime_error& failure) {
    errors << "No sound: " << failure.what() << std::endl;
    return nullptr;
  }
}

SoundOutput::SoundOutput(float volume) : device(std::make_unique<Device>()) {
  loopSound.fill(-1);
  alGetError();
  alListenerf(AL_GAIN, volume);
  for (Voice& voice : once) {
    alGenSources(2, voice.sources.data());
  }
  for (Voice& voice : loops) {
    alGenSources(2, voice.sources.data());
  }
  failOnAlError("make its voices");
}

SoundOutput::~SoundOutput() {
  stopAll();
  for (Voice& voice : once) {
    alDeleteSources(2, voice.sources.data());
  }
  for (Voice& voice : loops) {
    alDeleteSources(2, voice.sources.data());
  }
  alDeleteBuffers(SOUND_COUNT, buffers.data());
}

void SoundOutput::load(const std::string& folder) {
  alGenBuffers(SOUND_COUNT, buffers.data());
  failOnAlError("make its buffers");
  for (int sound = 0; sound < SOUND_COUNT; ++sound) {
    const WavFile wav = readWavFile(folder + soundNames[static_cast<std::size_t>(sound)] + ".wav");
    alBufferData(buffers[static_cast<std::size_t>(sound)], AL_FORMAT_MONO16, wav.samples.data(),
                 static_cast<ALsizei>(wav.samples.size() * sizeof(std::int16_t)), wav.rate);
    failOnAlError("take the sound " + std::string(soundNames[static_cast<std::size_t>(sound)]));
  }
}

void SoundOutput::start(const Voice& voice, Sound sound, Balance balance, bool looping) {
  const std::array<float, 2> gains{balance.left, balance.right};
  for (int side = 0; side < 2; ++side) {
    const ALuint source = voice.sources[static_cast<std::size_t>(side)];
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffers[static_cast<std::size_t>(sound)]));
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, side == 0 ? -1.0f : 1.0f, 0.0f, 0.0f);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
    alSourcei(source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    alSourcef(source, AL_GAIN, gains[static_cast<std::size_t>(side)]);
    alSourcef(source, AL_PITCH, 1.0f);
    alSourcePlay(source);
  }
}

void SoundOutput::play(Sound sound, Balance balance) {
  start(once[static_cast<std::size_t>(nextOnce)], sound, balance, false);
  nextOnce = (nextOnce + 1) % ONCE_VOICES;
}

void SoundOutput::loop(int loop, Sound sound, Balance balance, float pitch) {
  const Voice& voice = loops[static_cast<std::size_t>(loop)];
  int& playing = loopSound[static_cast<std::size_t>(loop)];
  if (balance.left <= 0.0f && balance.right <= 0.0f) {
    if (playing >= 0) {
      alSourceStopv(2, voice.sources.data());
      playing = -1;
    }
    return;
  }
  if (playing != static_cast<int>(sound)) {
    start(voice, sound, balance, true);
    playing = static_cast<int>(sound);
  }
  alSourcef(voice.sources[0], AL_GAIN, balance.left);
  alSourcef(voice.sources[1], AL_GAIN, balance.right);
  alSourcef(voice.sources[0], AL_PITCH, pitch);
  alSourcef(voice.sources[1], AL_PITCH, pitch);
}

void SoundOutput::stopAll() {
  for (const Voice& voice : once) {
    alSourceStopv(2, voice.sources.data());
  }
  for (const Voice& voice : loops) {
    alSourceStopv(2, voice.sources.data());
  }
  loopSound.fill(-1);
}

}  // namespace voidskirmish::sound
