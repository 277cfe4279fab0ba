#include "net/BackgroundService.h"

namespace voidskirmish::net {
namespace {

// How long the thread may take to notice it is to stop.
constexpr std::chrono::milliseconds SLICE{5};

}  // namespace

BackgroundService::BackgroundService(Session& session)
    : thread([this, &session] {
        while (!stopping.load()) {
          session.service(SLICE);
        }
      }) {}

BackgroundService::~BackgroundService() {
  stopping.store(true);
  thread.join();
}

}  // namespace voidskirmish::net
