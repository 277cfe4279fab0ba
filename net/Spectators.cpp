#include "net/Spectators.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace voidskirmish::net {
namespace {

// A Frames message's kind, first frame and count, before its frames.
constexpr std::size_t FRAMES_HEADER = 6;

}  // namespace

bool Spectators::join(Id id) {
  if (watchers.size() >= MOST) {
    return false;
  }
  watchers[id] = Watcher{0, 0, played()};
  return true;
}

void Spectators::add(std::uint32_t frame, float delta, const std::vector<input::Event>& events) {
  if (frame != played()) {
    throw std::logic_error("frame " + std::to_string(frame) + " after " + std::to_string(played()) + " frames");
  }
  history.push_back(PlayedFrame{delta, events});
  sizes.push_back(encode(Frames{0, {history.back()}}).size() - FRAMES_HEADER);
  for (auto& [id, watcher] : watchers) {
    measure(watcher);
  }
}

void Spectators::acknowledge(Id id, std::uint32_t received) {
  Watcher& watcher = watchers.at(id);
  if (received > watcher.sent) {
    throw ProtocolError("frame " + std::to_string(received) + " watched before it was sent");
  }
  watcher.received = std::max(watcher.received, received);
  measure(watcher);
}

void Spectators::measure(Watcher& watcher) const {
  watcher.closest = std::min(watcher.closest, played() - watcher.received);
}

std::vector<Spectators::Id> Spectators::dropLaggards() {
  std::vector<Id> dropped;
  for (auto at = watchers.begin(); at != watchers.end();) {
    const Watcher& watcher = at->second;
    if (played() - watcher.received > watcher.closest + LAG_LIMIT) {
      dropped.push_back(at->first);
      at = watchers.erase(at);
    } else {
      ++at;
    }
  }
  return dropped;
}

std::vector<Frames> Spectators::due(Id id, bool all) {
  Watcher& watcher = watchers.at(id);
  const std::uint32_t end = all ? played() : std::min(played(), watcher.received + WINDOW);
  std::vector<Frames> batches;
  std::size_t bytes = 0;
  for (; watcher.sent < end; ++watcher.sent) {
    if (batches.empty() || batches.back().frames.size() == MAX_FRAMES_PER_MESSAGE ||
        bytes + sizes[watcher.sent] > MAX_MESSAGE_SIZE) {
      batches.push_back(Frames{watcher.sent, {}});
      bytes = FRAMES_HEADER;
    }
    batches.back().frames.push_back(history[watcher.sent]);
    bytes += sizes[watcher.sent];
  }
  return batches;
}

std::vector<Spectators::Id> Spectators::ids() const {
  std::vector<Id> all;
  for (const auto& [id, watcher] : watchers) {
    all.push_back(id);
  }
  return all;
}

}  // namespace voidskirmish::net
