#include <gtest/gtest.h>

#include <enet/enet.h>

#include <algorithm>

#include "net/Session.h"

// Two real games play a whole match over 127.0.0.1, with a third player refused, a quit, a killed player, other
// run-time files, a taken port and nobody answering, in tests/e2e/test_network.py. Here what no game sends.
namespace voidskirmish::net {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

const std::string BAD = "The other player's game sent a message this game cannot use: ";
const std::string OTHER_GAME = "The other player runs a different version of the game.";

const Hello OURS{PROTOCOL_VERSION, "1.1.0", 1};

std::string endingLine(const Session& session) { return session.ending() ? session.ending()->line : "no ending"; }

// A bare ENet peer connects to a host and sends the first message; once answered, the others, and with
// `vanish` it then goes without a Bye. Returns the line the host's session ends with.
std::string hostEnding(const std::vector<Bytes>& messages, bool vanish) {
  const std::unique_ptr<Session> host = Session::host(SessionSettings{0, OURS});
  ENetHost* stranger = enet_host_create(nullptr, 1, 1, 0, 0);
  ENetAddress address{ENET_HOST_ANY, host->port()};
  enet_address_set_host(&address, "127.0.0.1");
  ENetPeer* connection = enet_host_connect(stranger, &address, 1, 0);
  const auto send = [&](const Bytes& bytes) {
    enet_peer_send(connection, 0, enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
  };
  ENetEvent event;
  for (int round = 0; round < 300 && !host->ending(); ++round) {
    host->service(4ms);
    const bool arrived = enet_host_service(stranger, &event, 4) > 0;
    if (arrived && event.type == ENET_EVENT_TYPE_CONNECT) {
      send(messages.front());
    } else if (arrived && event.type == ENET_EVENT_TYPE_RECEIVE) {
      enet_packet_destroy(event.packet);
      std::for_each(messages.begin() + 1, messages.end(), send);
      if (vanish) {
        enet_peer_disconnect_now(connection, 0);
      }
    }
  }
  enet_host_destroy(stranger);
  return endingLine(*host);
}

TEST(NetSessionTest, WhatAPeerSendsOrLeavesUnsaidEndsTheHostsSessionWithItsLine) {
  const Bytes hello = encode(OURS), frame = encode(FrameInputs{3, 0.1f, 3, {}});
  std::vector<Bytes> flood(65, frame);  // more than a frame's inputs can ever be ahead
  flood.insert(flood.begin(), hello);
  const struct { std::vector<Bytes> messages; bool vanish; std::string line; } cases[] = {
      {{encode(Hello{PROTOCOL_VERSION, "1.2.0", 1})}, false, OTHER_GAME},
      {{frame}, false, BAD + "the first message is not a Hello"},
      {{hello, hello}, false, BAD + "a handshake message during the match"},
      {flood, false, BAD + "more frames at once than a match can have"},
      {{hello}, true, "Lost the connection to the other player."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hostEnding(c.messages, c.vanish), c.line) << &c - cases;
  }
}

}  // namespace
}  // namespace voidskirmish::net
