#include "GameSounds.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <vector>

#include <glm/gtc/constants.hpp>

#include "Clip.h"
#include "Random.h"

namespace voidskirmish::tools {
namespace {

constexpr double TAU = glm::two_pi<double>();
constexpr double PEAK = 0.7;  // every sound's loudest sample: several at once still rarely clip

// Rises over `attack` seconds, then falls by e every `decay` seconds: no click at either end.
double envelope(double t, double attack, double decay) {
  return std::min(1.0, t / attack) * std::exp(-t / decay);
}

// White noise through a one-pole low-pass whose corner (Hz) may move with time.
class Rumble {
public:
  explicit Rumble(std::uint64_t seed) : random(seed) {}
  double next(double corner) {
    const double a = 1.0 - std::exp(-TAU * corner / Clip::RATE);
    state += a * (random.uniform(-1.0, 1.0) - state);
    return state;
  }

private:
  Random random;
  double state = 0.0;
};

// A tone whose frequency may move with time, its phase carried from sample to sample.
class Tone {
public:
  double next(double frequency) {
    phase += TAU * frequency / Clip::RATE;
    return std::sin(phase);
  }

private:
  double phase = 0.0;
};

// A sound that ends, faded out over its last 10 ms so it stops without a click; a loop is left to join itself.
void make(const std::string& path, double seconds, const std::function<double(double)>& sample, bool loop = false) {
  Clip clip(seconds);
  for (std::size_t i = 0; i < clip.size(); ++i) {
    const double t = clip.time(i);
    clip[i] = sample(t) * (loop ? 1.0 : std::min(1.0, (seconds - t) / 0.01));
  }
  clip.normalise(PEAK);
  clip.saveWav(path);
}

// Notes one after another, each struck and dying away.
void notes(const std::string& path, std::initializer_list<double> frequencies, double step, double decay) {
  const std::vector<double> pitches(frequencies);
  make(path, step * static_cast<double>(pitches.size()) + 3.0 * decay, [&](double t) {
    double sum = 0.0;
    for (std::size_t n = 0; n < pitches.size(); ++n) {
      const double local = t - step * static_cast<double>(n);
      if (local > 0.0) {
        sum += envelope(local, 0.005, decay) * (std::sin(TAU * pitches[n] * local) +
                                                0.3 * std::sin(2.0 * TAU * pitches[n] * local));
      }
    }
    return sum;
  });
}

}  // namespace

void writeGameSounds(const std::string& folder) {
  // The laser: a bright tone falling from 1800 to 300 Hz in a quarter second, with its octave for bite.
  Tone laser;
  make(folder + "laser.wav", 0.25, [&](double t) {
    const double f = 300.0 + 1500.0 * std::exp(-t / 0.06);
    const double s = laser.next(f);
    return envelope(t, 0.002, 0.08) * (s + 0.35 * std::copysign(1.0, s));
  });
  // A hit on a ship: inharmonic metal partials over a short crackle.
  Rumble crackle(11);
  make(folder + "shipHit.wav", 0.35, [&](double t) {
    const double metal = std::sin(TAU * 523.0 * t) + 0.7 * std::sin(TAU * 1137.0 * t) + 0.5 * std::sin(TAU * 1712.0 * t);
    return envelope(t, 0.002, 0.09) * metal + envelope(t, 0.001, 0.03) * 3.0 * crackle.next(4000.0);
  });
  // A hit on an asteroid: a dull crunch of dark noise and a low knock.
  Rumble crunch(12);
  make(folder + "asteroidHit.wav", 0.3, [&](double t) {
    return envelope(t, 0.002, 0.06) * (4.0 * crunch.next(900.0) + 0.8 * std::sin(TAU * 140.0 * t));
  });
  // A small burst: a pop of noise whose brightness dies faster than its loudness.
  Rumble pop(13);
  make(folder + "burst.wav", 0.45, [&](double t) {
    return envelope(t, 0.003, 0.1) * pop.next(300.0 + 3000.0 * std::exp(-t / 0.05));
  });
  // The big explosion of a dying ship: a roar darkening over a second and a half, over a falling rumble.
  Rumble roar(14);
  Tone rumble;
  make(folder + "explosion.wav", 1.8, [&](double t) {
    return envelope(t, 0.01, 0.45) * (4.0 * roar.next(150.0 + 2500.0 * std::exp(-t / 0.25)) +
                                      0.6 * rumble.next(40.0 + 30.0 * std::exp(-t / 0.3)));
  });
  // A collision: a thump falling from 90 to 45 Hz, with a click of contact.
  Tone thump;
  Rumble click(15);
  make(folder + "collision.wav", 0.4, [&](double t) {
    return envelope(t, 0.003, 0.1) * thump.next(45.0 + 45.0 * std::exp(-t / 0.05)) +
           envelope(t, 0.001, 0.01) * 2.0 * click.next(2500.0);
  });
  // The engine: a loop of one second, so every partial and the 6 Hz flutter make whole cycles and it joins
  // without a click. The game changes its pitch and loudness with the thrust.
  make(folder + "engine.wav", 1.0, [](double t) {
    double sum = 0.0;
    for (int harmonic = 1; harmonic <= 8; ++harmonic) {
      sum += std::sin(TAU * 55.0 * harmonic * t) / harmonic;
    }
    return sum * (0.8 + 0.2 * std::sin(TAU * 6.0 * t));
  }, true);
  // The warning outside the arena: a half-second loop, a soft-edged 880 Hz beep then silence; the game follows
  // the warning pulse with its loudness.
  make(folder + "warning.wav", 0.5, [](double t) {
    const double gate = t < 0.2 ? std::sin(glm::pi<double>() * t / 0.2) : 0.0;
    return gate * (std::sin(TAU * 880.0 * t) + 0.25 * std::sin(TAU * 1760.0 * t));
  }, true);
  // The end of a round: three rising notes of a major chord.
  notes(folder + "roundEnd.wav", {523.25, 659.25, 783.99}, 0.15, 0.25);
  // Pause falls, resume rises.
  notes(folder + "pause.wav", {659.25, 440.0}, 0.08, 0.06);
  notes(folder + "resume.wav", {440.0, 659.25}, 0.08, 0.06);
}

}  // namespace voidskirmish::tools
