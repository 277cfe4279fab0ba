#include <gtest/gtest.h>

#include <enet/enet.h>

#include <array>
#include <functional>

#include "net/NetworkMatch.h"
#include "net/Session.h"

namespace voidskirmish::net {

bool operator==(const ReadyFrame& a, const ReadyFrame& b);

namespace {

using namespace std::chrono_literals;
using SessionPtr = std::unique_ptr<Session>;

SessionSettings settings(std::uint16_t port = 0, Hello hello = Hello{PROTOCOL_VERSION, "1.1.0", 1}) {
  SessionSettings chosen;
  chosen.port = port;
  chosen.hello = std::move(hello);
  chosen.peerTimeout = 1000ms;
  chosen.connectTimeout = 1000ms;
  return chosen;
}

// Services the sessions until `done`, at most 500 rounds of a few milliseconds each.
bool pump(const std::vector<Session*>& sessions, const std::function<bool()>& done) {
  for (int round = 0; round < 500 && !done(); ++round) {
    for (Session* session : sessions) {
      session->service(4ms);
    }
  }
  return done();
}

bool playing(const SessionPtr& session) { return session->state() == Session::State::Playing; }

std::string endingLine(const SessionPtr& session) { return session->ending() ? session->ending()->line : "no ending"; }

std::pair<SessionPtr, SessionPtr> connectedPair() {
  SessionPtr host = Session::host(settings());
  SessionPtr joiner = Session::join("127.0.0.1", settings(host->port()));
  EXPECT_TRUE(pump({host.get(), joiner.get()}, [&] { return playing(host) && playing(joiner); }));
  return {std::move(host), std::move(joiner)};
}

TEST(NetSessionTest, TwoMachinesShakeHandsPlayTheSameFramesRefuseAThirdAndPartOnBye) {
  auto pair = connectedPair();
  SessionPtr& host = pair.first;
  SessionPtr& joiner = pair.second;
  EXPECT_EQ(host->peerAddress(), "127.0.0.1");
  std::array<NetworkMatch, 2> matches{NetworkMatch(*host), NetworkMatch(*joiner)};
  std::array<std::vector<ReadyFrame>, 2> frames;
  for (int round = 0; round < 500 && frames[1].size() < 30; ++round) {
    for (int side = 0; side < 2; ++side) {
      if (matches[side].frameReady(4ms) && frames[side].size() < 30) {
        frames[side].push_back(matches[side].takeFrame());
        matches[side].submit({input::KeyEvent{65 + side, true}}, 0.02f);
      }
    }
  }
  ASSERT_EQ(frames[0].size(), 30u);
  EXPECT_TRUE(frames[0] == frames[1]);
  EXPECT_EQ(frames[0][10].events, (std::vector<input::Event>{input::KeyEvent{65, true}, input::KeyEvent{66, true}}));

  SessionPtr third = Session::join("127.0.0.1", settings(host->port()));
  pump({host.get(), joiner.get(), third.get()}, [&] { return third->ending().has_value(); });
  EXPECT_EQ(endingLine(third), "The match at 127.0.0.1:" + std::to_string(host->port()) + " already has two players.");
  EXPECT_TRUE(playing(host) && playing(joiner));

  joiner->leave();
  pump({host.get()}, [&] { return host->ending().has_value(); });
  EXPECT_EQ(endingLine(host), "The other player left the match.");
  EXPECT_EQ(host->ending()->exitCode(), 0);
  EXPECT_EQ(lines::waiting(47610) + "|" + lines::playerJoined("10.0.0.2") + "|" + lines::joined("duel.lan", 47610),
            "Waiting for a player on port 47610|Player joined from 10.0.0.2|Joined the match at duel.lan:47610");
}

TEST(NetSessionTest, ADifferentGameIsRefusedOnBothSides) {
  for (const Hello& hello : {Hello{PROTOCOL_VERSION, "1.2.0", 1}, Hello{PROTOCOL_VERSION, "1.1.0", 2},
                             Hello{PROTOCOL_VERSION + 1, "1.1.0", 1}}) {
    SessionPtr host = Session::host(settings());
    SessionPtr joiner = Session::join("127.0.0.1", settings(host->port(), hello));
    pump({host.get(), joiner.get()}, [&] { return host->ending() && joiner->ending(); });
    for (const SessionPtr* side : {&host, &joiner}) {
      EXPECT_EQ(endingLine(*side), "The other player runs a different version of the game.") << hello.gameVersion;
      EXPECT_EQ((*side)->ending() ? (*side)->ending()->exitCode() : -1, 1);
    }
  }
}

TEST(NetSessionTest, EachFaultEndsTheSessionWithItsLine) {
  SessionPtr host = Session::host(settings());
  SessionPtr second = Session::host(settings(host->port()));
  EXPECT_EQ(endingLine(second), "UDP port " + std::to_string(host->port()) + " is already in use");
  EXPECT_EQ(second->ending()->exitCode(), 2);

  const std::uint16_t unused = second->port();
  host.reset();
  for (const char* address : {"127.0.0.1", "::1"}) {  // ENet speaks IPv4 only
    SessionPtr lonely = Session::join(address, settings(unused));
    EXPECT_TRUE(pump({lonely.get()}, [&] { return lonely->ending().has_value(); }));
    EXPECT_EQ(endingLine(lonely), "Could not reach " + std::string(address) + ":" + std::to_string(unused));
  }

  // A vanished player: gone silent (killed, cable pulled) or gone without a Bye: noticed within the peer timeout.
  for (const bool silent : {true, false}) {
    auto pair = connectedPair();
    SessionPtr& survivor = pair.first;
    if (!silent) {
      pair.second.reset();
    }
    const auto start = std::chrono::steady_clock::now();
    pump({survivor.get()}, [&] { return survivor->ending().has_value(); });
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms) << silent;
    EXPECT_EQ(endingLine(survivor), "Lost the connection to the other player.") << silent;
  }

  // Something that connects but does not speak the game's protocol is cut off with a line.
  host = Session::host(settings());
  ENetHost* stranger = enet_host_create(nullptr, 1, 1, 0, 0);
  ENetAddress address{ENET_HOST_ANY, host->port()};
  enet_address_set_host(&address, "127.0.0.1");
  ENetPeer* connection = enet_host_connect(stranger, &address, 1, 0);
  ENetEvent event;
  for (int round = 0; round < 200 && !host->ending(); ++round) {
    host->service(4ms);
    if (enet_host_service(stranger, &event, 4) > 0 && event.type == ENET_EVENT_TYPE_CONNECT) {
      enet_peer_send(connection, 0, enet_packet_create("\x04garbage", 8, ENET_PACKET_FLAG_RELIABLE));
    }
  }
  EXPECT_EQ(endingLine(host).rfind("The other player's game sent a message this game cannot use: ", 0), 0u)
      << endingLine(host);
  enet_host_destroy(stranger);
}

}  // namespace
}  // namespace voidskirmish::net
