#pragma once

#include <cstdint>
#include <string>

namespace voidskirmish::net {

constexpr std::uint16_t DEFAULT_PORT = 47610;

// Why a network match could not start or is over, with the console line and the process's exit code.
struct Ending {
  enum class Kind { PortTaken, Unreachable, DifferentVersion, MatchFull, OtherLeft, ConnectionLost, BadMessage };

  Kind kind;
  std::string line;

  int exitCode() const;
};

// Every console line of a network match, byte for byte. `address` is as the player typed it for the joiner's
// lines and the joiner's IP address for the host's.
namespace lines {
std::string waiting(std::uint16_t port);
std::string playerJoined(const std::string& address);
std::string joined(const std::string& address, std::uint16_t port);
}  // namespace lines

Ending portTaken(std::uint16_t port);
Ending unreachable(const std::string& address, std::uint16_t port);
Ending differentVersion();
Ending matchFull(const std::string& address, std::uint16_t port);
Ending otherLeft();
Ending connectionLost();
Ending badMessage(const std::string& what);

}  // namespace voidskirmish::net
