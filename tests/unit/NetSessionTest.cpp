#include <gtest/gtest.h>

#include <enet/enet.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

#include "net/NetworkMatch.h"

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

// A bare ENet peer connects to a host playing a match and sends the first message; once answered, the others,
// and with `vanish` it then goes without a Bye. Returns the line the host's session ends with.
std::string hostEnding(const std::vector<Bytes>& messages, bool vanish) {
  const std::unique_ptr<Session> host = Session::host(SessionSettings{0, OURS});
  NetworkMatch match(*host);
  ENetHost* stranger = enet_host_create(nullptr, 1, 1, 0, 0);
  ENetAddress address{ENET_HOST_ANY, host->port()};
  enet_address_set_host(&address, "127.0.0.1");
  ENetPeer* connection = enet_host_connect(stranger, &address, 1, 0);
  const auto send = [&](const Bytes& bytes) {
    enet_peer_send(connection, 0, enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
  };
  ENetEvent event;
  for (int round = 0; round < 300 && !host->ending(); ++round) {
    match.service(4ms);
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
  const Bytes hello = encode(OURS), frame = encode(Inputs{0, {FrameInputs{0, {}}}});
  const struct { std::vector<Bytes> messages; bool vanish; std::string line; } cases[] = {
      {{encode(Hello{PROTOCOL_VERSION, "1.2.0", 1})}, false, OTHER_GAME},
      {{frame}, false, BAD + "the first message is not a Hello"},
      {{hello, hello}, false, BAD + "a handshake message during the match"},
      {{hello}, true, "Lost the connection to the other player."},
      {{hello, encode(Inputs{4, {}})}, false, BAD + "frame 4 acknowledged before it was sent"},
      {{hello, encode(Inputs{0, {FrameInputs{4, {}}}})}, false, BAD + "frame 4 came before frame 0"},
      {{hello, encode(Check{60, 1}), encode(Check{120, 1}), encode(Check{180, 1}), encode(Check{240, 1}),
        encode(Check{300, 1})},
       false, BAD + "match hashes of frames far ahead"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hostEnding(c.messages, c.vanish), c.line) << &c - cases;
  }
}

// A datagram from anyone, larger than ENet takes, to 127.0.0.1:port.
void sendOversized(std::uint16_t port) {
  const int socket = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const Bytes junk(5000, 0xAB);
  ASSERT_EQ(sendto(socket, junk.data(), junk.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to), 5000);
  close(socket);
}

// Services the sessions and a bare ENet host until `done`, for at most 600 rounds of a few milliseconds.
bool serviceUntil(const std::vector<Session*>& sessions, ENetHost* bare, const std::function<bool()>& done) {
  ENetEvent event;
  for (int round = 0; round < 600 && !done(); ++round) {
    for (Session* session : sessions) {
      session->service(2ms);
    }
    if (enet_host_service(bare, &event, 1) > 0 && event.type == ENET_EVENT_TYPE_RECEIVE) {
      enet_packet_destroy(event.packet);
    }
  }
  return done();
}

TEST(NetSessionTest, StrayDatagramsAndASilentPeerKeepNobodyOutOfTheMatch) {
  SessionSettings settings{0, OURS};
  settings.helloTimeout = 300ms;
  const std::unique_ptr<Session> host = Session::host(settings);
  std::vector<std::string> notices;
  const auto noticed = [&](const std::string& line) {
    for (const std::string& notice : host->takeNotices()) {
      notices.push_back(notice);
    }
    return std::find(notices.begin(), notices.end(), line) != notices.end();
  };
  sendOversized(host->port());
  // A peer that connects, answers ENet's pings and never says Hello is dropped after the deadline.
  ENetHost* silent = enet_host_create(nullptr, 1, 1, 0, 0);
  ENetAddress address{ENET_HOST_ANY, host->port()};
  enet_address_set_host(&address, "127.0.0.1");
  enet_host_connect(silent, &address, 1, 0);
  EXPECT_TRUE(serviceUntil({host.get()}, silent,
                           [&] { return noticed("Dropped a player from 127.0.0.1 who said nothing"); }));
  settings.port = host->port();
  const std::unique_ptr<Session> joiner = Session::join("127.0.0.1", settings);
  const auto playing = [&] {
    return host->state() == Session::State::Playing && joiner->state() == Session::State::Playing;
  };
  EXPECT_TRUE(serviceUntil({host.get(), joiner.get()}, silent, playing));
  // Mid-match a stray datagram changes nothing, and a third player is refused with a line on the host.
  sendOversized(host->port());
  const std::unique_ptr<Session> third = Session::join("127.0.0.1", settings);
  joiner->send(Inputs{0, {FrameInputs{0, {}}}});
  std::size_t arrived = 0;
  EXPECT_TRUE(serviceUntil({host.get(), joiner.get(), third.get()}, silent, [&] {
    arrived += host->takeInputs().size();
    return arrived == 1 && third->ending() && noticed("Refused a third player from 127.0.0.1");
  }));
  EXPECT_TRUE(playing()) << endingLine(*host) << endingLine(*joiner);
  EXPECT_EQ(endingLine(*third), "The match at 127.0.0.1:" + std::to_string(host->port()) + " already has two players.");
  enet_host_destroy(silent);
}

}  // namespace
}  // namespace voidskirmish::net
