#pragma once

#include <atomic>
#include <thread>

#include "net/Session.h"

namespace voidskirmish::net {

// Services a session from a thread of its own while the frame loop is busy drawing, so acknowledgements and
// pings keep flowing: a frame that takes seconds (software rendering on a loaded machine) is not taken for a
// vanished player, and the round trip measured is the network's, not the frame time. Nobody else may use the
// session while this lives; the destructor stops the thread and hands the session back.
class BackgroundService {
 public:
  explicit BackgroundService(Session& session);
  ~BackgroundService();
  BackgroundService(const BackgroundService&) = delete;
  BackgroundService& operator=(const BackgroundService&) = delete;

 private:
  std::atomic<bool> stopping{false};
  std::thread thread;
};

}  // namespace voidskirmish::net
