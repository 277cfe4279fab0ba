#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "net/Message.h"

namespace voidskirmish::net {

// The host's side of watching, without sockets: every frame the match ran, kept from the first so that a
// spectator may join late, and for each spectator what it was sent and has taken. The match never waits for a
// spectator: each has at most WINDOW frames in flight (so a spectator that stops reading holds no more of the
// host's memory than that), and one that falls LAG_LIMIT frames further behind the match than it ever was
// (stopped, or slower than the match) is to be dropped. A late joiner starts far behind and is dropped only when
// it loses ground from there.
class Spectators {
 public:
  static constexpr std::size_t MOST = 4;
  static constexpr std::uint32_t WINDOW = 4 * MAX_FRAMES_PER_MESSAGE;
  static constexpr std::uint32_t LAG_LIMIT = 600;
  // The caller's name for one spectator's connection.
  using Id = std::uint16_t;

  // False when MOST already watch.
  bool join(Id id);
  void leave(Id id) { watchers.erase(id); }
  bool watches(Id id) const { return watchers.count(id) > 0; }
  std::size_t count() const { return watchers.size(); }

  // Frame `frame` as both players' machines ran it; frames come in order from 0, each once.
  void add(std::uint32_t frame, float delta, const std::vector<input::Event>& events);
  // The spectator took the frames before `received`; more than it was sent throws ProtocolError.
  void acknowledge(Id id, std::uint32_t received);
  // What to send `id` now, in messages of at most MAX_FRAMES_PER_MESSAGE frames and MAX_MESSAGE_SIZE bytes:
  // within its window, or with `all` every frame it lacks (at the match's end, when nothing follows).
  std::vector<Frames> due(Id id, bool all = false);
  // Takes out the spectators fallen too far behind and returns them.
  std::vector<Id> dropLaggards();
  std::vector<Id> ids() const;

 private:
  struct Watcher {
    std::uint32_t sent = 0;
    std::uint32_t received = 0;
    std::uint32_t closest = 0;  // the fewest frames it was ever behind the match
  };
  std::uint32_t played() const { return static_cast<std::uint32_t>(history.size()); }
  void measure(Watcher& watcher) const;

  std::vector<PlayedFrame> history;
  std::vector<std::size_t> sizes;  // each frame's bytes in a Frames message
  std::map<Id, Watcher> watchers;
};

}  // namespace voidskirmish::net
