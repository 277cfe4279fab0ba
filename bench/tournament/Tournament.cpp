// Computer against computer, headless, over many seeds: who wins the rounds of each pairing of levels, how long
// a round takes, and how often a computer rams an asteroid or strays outside the arena. Run from the repository
// root (it reads the models):
//   build/bench/voidskirmish_tournament [ROUNDS [SEEDS]]      (defaults 20 and 10)
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <glm/geometric.hpp>

#include "app/HeadlessMatch.h"
#include "input/EventText.h"

namespace {

using namespace voidskirmish;
using input::ComputerLevel;

struct Tally {
  int wins[2] = {0, 0};
  int rounds = 0;
  std::vector<long> roundFrames;
  int rams = 0;      // a computer's contact with an asteroid
  int outside = 0;   // a computer leaving the arena
  long frames = 0;
};

// A contact starts a ship's lock; one within reach of the other ship is their collision, any other an asteroid's.
void watch(const game::Match& match, std::array<bool, 2>& locked, std::array<bool, 2>& out, Tally& tally) {
  for (int player = 0; player < 2; ++player) {
    const auto& ship = match.ship(player);
    const float apart = glm::distance(ship.position(), match.ship(1 - player).position());
    if (ship.collided && !locked[player] && apart > 2.0f * ship.boundingSphere.w + 1.0f) {
      ++tally.rams;
    }
    locked[player] = ship.collided;
    if (match.outsideBoundary[player] && !out[player]) {
      ++tally.outside;
    }
    out[player] = match.outsideBoundary[player];
  }
}

Tally play(ComputerLevel first, ComputerLevel second, int rounds, int seeds) {
  Tally tally;
  for (int seed = 1; seed <= seeds; ++seed) {
    app::Options options;
    options.computers = {{0, first}, {1, second}};
    options.seed = static_cast<std::uint32_t>(seed);
    app::HeadlessMatch match(options, nullptr, nullptr);
    std::array<bool, 2> locked{}, out{};
    long roundStart = 0;
    std::array<int, 2> wins{};
    for (int round = 0; round < rounds;) {
      const bool ended = match.step();
      watch(match.match(), locked, out, tally);
      ++tally.frames;
      if (!ended) {
        continue;
      }
      ++round;
      tally.roundFrames.push_back(match.match().frameNumber - roundStart);
      const std::array<int, 2> now = match.match().rounds.wins;
      for (int player = 0; player < 2; ++player) {
        tally.wins[player] += now[player] - wins[player];
      }
      wins = now;
      roundStart = match.match().frameNumber + static_cast<long>(bot::Computers::RESTART_SECONDS * 60.0f);
    }
    tally.rounds += rounds;
  }
  return tally;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
  const int seeds = argc > 2 ? std::atoi(argv[2]) : 10;
  const std::pair<ComputerLevel, ComputerLevel> pairings[] = {
      {ComputerLevel::Hard, ComputerLevel::Easy},     {ComputerLevel::Hard, ComputerLevel::Normal},
      {ComputerLevel::Normal, ComputerLevel::Easy},   {ComputerLevel::Easy, ComputerLevel::Easy},
      {ComputerLevel::Normal, ComputerLevel::Normal}, {ComputerLevel::Hard, ComputerLevel::Hard},
  };
  std::printf("%-16s %7s %7s %7s %7s %12s %10s %12s\n", "ship1 - ship2", "rounds", "ship1 %", "ship2 %", "draws",
              "median s", "rams/min", "outside/min");
  for (const auto& [first, second] : pairings) {
    Tally tally = play(first, second, rounds, seeds);
    std::sort(tally.roundFrames.begin(), tally.roundFrames.end());
    const double minutes = static_cast<double>(tally.frames) / 3600.0;
    const std::string name = std::string(input::levelWord(first)) + " - " + std::string(input::levelWord(second));
    std::printf("%-16s %7d %7.1f %7.1f %7d %12.1f %10.2f %12.2f\n", name.c_str(), tally.rounds,
                100.0 * tally.wins[0] / tally.rounds, 100.0 * tally.wins[1] / tally.rounds,
                tally.rounds - tally.wins[0] - tally.wins[1],
                static_cast<double>(tally.roundFrames[tally.roundFrames.size() / 2]) / 60.0, tally.rams / minutes,
                tally.outside / minutes);
    std::fflush(stdout);
  }
  return 0;
}
