#include "app/NetworkFigures.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>

namespace voidskirmish::app {

namespace {

double seconds(std::chrono::steady_clock::duration duration) {
  return std::chrono::duration<double>(duration).count();
}

}  // namespace

std::unique_ptr<NetworkFigures> NetworkFigures::fromEnvironment() {
  const char* path = std::getenv("VOIDSKIRMISH_NET_FIGURES");
  return path != nullptr && *path != '\0' ? std::make_unique<NetworkFigures>(path) : nullptr;
}

void NetworkFigures::frame(int stepsRun, bool stepLetGo, bool waiting, std::size_t rerun, Clock::duration took) {
  frames.push_back({stepsRun, waiting, {}});
  letGo += stepLetGo ? 1 : 0;
  rerunSteps += rerun;
  mostRerun = std::max(mostRerun, rerun);
  rerunTime += took;
  worstRerun = std::max(worstRerun, took);
}

void NetworkFigures::write(std::uint32_t confirmedSteps, const net::Rollback::Corrections& corrections) const {
  std::ofstream out(path);
  out << "seconds " << seconds(Clock::now() - start) << '\n'
      << "confirmed_steps " << confirmedSteps << '\n'
      << "steps_let_go " << letGo << '\n'
      << "rerun_steps " << rerunSteps << '\n'
      << "most_rerun_steps " << mostRerun << '\n'
      << "rerun_seconds " << seconds(rerunTime) << '\n'
      << "worst_rerun_seconds " << seconds(worstRerun) << '\n'
      << "corrections " << corrections.count << '\n'
      << "corrected_steps " << corrections.steps << '\n'
      << "deepest_correction " << corrections.deepest << '\n';
  out.precision(17);
  for (const Frame& frame : frames) {
    out << "frame " << seconds(frame.shownAt.time_since_epoch()) << ' ' << frame.steps << ' ' << frame.waiting
        << '\n';
  }
  out.flush();
  if (!out) {
    std::cerr << "Network figures not written to " << path << std::endl;
  }
}

}  // namespace voidskirmish::app
