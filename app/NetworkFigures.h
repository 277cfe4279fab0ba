#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "net/Rollback.h"

namespace voidskirmish::app {

// How a network match fared on this machine, for bench/network_figures.py: the frames it drew and when each was
// shown, the steps each ran and re-ran and what the re-running cost, the stretches it waited for the other side
// and the corrections of its predictions. Kept only when the environment variable VOIDSKIRMISH_NET_FIGURES names
// a file, which gets them when the match ends.
class NetworkFigures {
 public:
  using Clock = std::chrono::steady_clock;

  static std::unique_ptr<NetworkFigures> fromEnvironment();
  explicit NetworkFigures(std::string path) : path(std::move(path)) {}

  // One drawn frame: the steps it ran, those the time sync let go, whether it waited, and the predicted steps
  // run again for its picture with the time that took (the restore included).
  void frame(int steps, bool letGo, bool waiting, std::size_t rerun, Clock::duration rerunTime);
  void shown() {
    if (!frames.empty()) {
      frames.back().shownAt = Clock::now();
    }
  }
  // Written as `name value` lines, then a line a frame: when it was shown (seconds on the monotonic clock), the
  // steps it ran and whether it waited. A failure says so on standard error.
  void write(std::uint32_t confirmedSteps, const net::Rollback::Corrections& corrections) const;

 private:
  std::string path;
  const Clock::time_point start = Clock::now();
  struct Frame {
    int steps = 0;
    bool waiting = false;
    Clock::time_point shownAt;
  };
  std::vector<Frame> frames;
  std::uint64_t letGo = 0, rerunSteps = 0;
  std::size_t mostRerun = 0;
  Clock::duration rerunTime{}, worstRerun{};
};

}  // namespace voidskirmish::app
