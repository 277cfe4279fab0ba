#include <gtest/gtest.h>

#include <GLFW/glfw3.h>
#include <enet/enet.h>

#include <algorithm>

#include "net/Session.h"
#include "net/Spectators.h"

// Two spectators watch a real duel, one joining late and one killed, in tests/e2e/test_spectate.py. Here the
// host's bounds, which no short duel reaches.
namespace voidskirmish::net {
namespace {

using namespace std::chrono_literals;

std::vector<std::size_t> batchSizes(const std::vector<Frames>& batches, std::uint32_t first) {
  std::vector<std::size_t> sizes;
  for (const Frames& batch : batches) {
    EXPECT_EQ(batch.first, first);
    EXPECT_LE(encode(batch).size(), MAX_MESSAGE_SIZE);
    first += static_cast<std::uint32_t>(batch.frames.size());
    sizes.push_back(batch.frames.size());
  }
  return sizes;
}

void addFrames(Spectators& spectators, std::uint32_t& played, std::uint32_t count,
               const std::vector<input::Event>& events = {}) {
  for (std::uint32_t end = played + count; played < end; ++played) {
    spectators.add(played, 0.1f, events);
  }
}

TEST(SpectatorsTest, ALateJoinerGetsEveryFrameFromTheFirstInBatchesWithinItsWindow) {
  Spectators spectators;
  std::uint32_t played = 0;
  addFrames(spectators, played, 100);
  for (Spectators::Id id = 0; id < Spectators::MOST; ++id) {
    EXPECT_TRUE(spectators.join(id));
  }
  EXPECT_FALSE(spectators.join(9));
  EXPECT_EQ(batchSizes(spectators.due(0), 0), (std::vector<std::size_t>{32, 32, 32, 4}));
  addFrames(spectators, played, 100);
  EXPECT_EQ(batchSizes(spectators.due(0), 100), (std::vector<std::size_t>{28}));  // the window is full
  EXPECT_TRUE(spectators.due(0).empty());
  EXPECT_THROW(spectators.acknowledge(0, 129), ProtocolError);
  spectators.acknowledge(0, 128);
  EXPECT_EQ(batchSizes(spectators.due(0), 128), (std::vector<std::size_t>{32, 32, 8}));
  // At the end everything goes, whatever the window; frames full of events fill a message before 32 do.
  EXPECT_EQ(batchSizes(spectators.due(1, true), 0), (std::vector<std::size_t>{32, 32, 32, 32, 32, 32, 8}));
  const std::vector<input::Event> crowded(
      MAX_EVENTS_PER_FRAME, input::PadLinkEvent{0, true, input::PadName(std::string(input::MAX_LINE_LENGTH, 'x'))});
  addFrames(spectators, played, 3, crowded);
  EXPECT_EQ(batchSizes(spectators.due(1, true), 200), (std::vector<std::size_t>{2, 1}));
  EXPECT_THROW(spectators.add(played + 1, 0.1f, {}), std::logic_error);
}

TEST(SpectatorsTest, OneThatLosesGroundIsDroppedAndOneCatchingUpIsNot) {
  Spectators spectators;
  std::uint32_t played = 0;
  addFrames(spectators, played, 1000);
  spectators.join(0);  // keeps up
  spectators.join(1);  // late, catches up half, then stops
  spectators.join(2);  // late and never reads
  const auto keepUp = [&](Spectators::Id id) {
    spectators.due(id);
    spectators.acknowledge(id, std::min(played, spectators.due(id, true).empty() ? played : played));
  };
  for (int round = 0; round < 8; ++round) {
    spectators.due(1);
    spectators.acknowledge(1, std::min<std::uint32_t>(500, (round + 1) * Spectators::WINDOW));
  }
  keepUp(0);
  addFrames(spectators, played, Spectators::LAG_LIMIT);
  EXPECT_TRUE(spectators.dropLaggards().empty());
  keepUp(0);
  addFrames(spectators, played, 1);
  EXPECT_EQ(spectators.dropLaggards(), (std::vector<Spectators::Id>{1, 2}));
  EXPECT_EQ(spectators.ids(), (std::vector<Spectators::Id>{0}));
  EXPECT_TRUE(spectators.join(1));
}

std::string endingLine(const Session& session) { return session.ending() ? session.ending()->line : "no ending"; }

bool serviceUntil(const std::vector<Session*>& sessions, const std::function<bool()>& done) {
  for (int round = 0; round < 600 && !done(); ++round) {
    for (Session* session : sessions) {
      session->service(1ms);
    }
  }
  return done();
}

// A flood of spectators: the first MOST watch, the next is refused; one leaves, the others see the whole match.
TEST(SpectatorsTest, TheHostTakesFourSpectatorsRefusesTheFifthAndTellsTheRestTheMatchIsOver) {
  const Hello ours{PROTOCOL_VERSION, "1.1.0", 1};
  const std::unique_ptr<Session> host = Session::host(SessionSettings{0, ours});
  SessionSettings watch{host->port(), ours};
  watch.hello.spectator = true;
  std::vector<std::unique_ptr<Session>> spectators;
  std::vector<Session*> all{host.get()};
  for (std::size_t i = 0; i <= Spectators::MOST; ++i) {
    spectators.push_back(Session::join("127.0.0.1", watch));
    all.push_back(spectators.back().get());
  }
  watch.hello.gameVersion = "1.2.0";
  const std::unique_ptr<Session> other = Session::join("127.0.0.1", watch);
  all.push_back(other.get());
  const auto settled = [&] {
    return std::none_of(all.begin() + 1, all.end(),
                        [](Session* s) { return s->state() == Session::State::Waiting; });
  };
  ASSERT_TRUE(serviceUntil(all, settled));
  const std::string match = "The match at 127.0.0.1:" + std::to_string(host->port());
  std::vector<std::string> lines;
  for (Session* session : all) {
    lines.push_back(session->state() == Session::State::Playing ? "watching" : endingLine(*session));
  }
  std::sort(lines.begin() + 1, lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{"no ending", match + " already has 4 spectators.",
                                             "The match runs a different version of the game.", "watching", "watching",
                                             "watching", "watching"}));
  std::vector<std::string> notices = host->takeNotices();
  EXPECT_EQ(std::count(notices.begin(), notices.end(), "A spectator joined from 127.0.0.1"), 4);
  EXPECT_EQ(std::count(notices.begin(), notices.end(), "Refused a spectator from 127.0.0.1: 4 already watch"), 1);
  std::vector<Session*> watching;
  std::copy_if(all.begin() + 1, all.end(), std::back_inserter(watching),
               [](Session* s) { return s->state() == Session::State::Playing; });
  watching.back()->leave();
  watching.pop_back();
  std::uint32_t played = 0;
  addFrames(host->spectators(), played, 300, {input::KeyEvent{GLFW_KEY_W, true}});
  notices.clear();
  EXPECT_TRUE(serviceUntil({host.get()}, [&] {
    for (std::string& notice : host->takeNotices()) {
      notices.push_back(std::move(notice));
    }
    return !notices.empty();
  }));
  EXPECT_EQ(notices, std::vector<std::string>{"A spectator from 127.0.0.1 left"});
  EXPECT_EQ(host->spectators().count(), 3u);
  host->leave();
  std::vector<std::size_t> received(watching.size());
  EXPECT_TRUE(serviceUntil(watching, [&] {
    for (std::size_t i = 0; i < watching.size(); ++i) {
      received[i] += watching[i]->takeFrames().size();
    }
    return std::all_of(watching.begin(), watching.end(), [](Session* s) { return s->ending().has_value(); });
  }));
  EXPECT_EQ(received, std::vector<std::size_t>(watching.size(), 300));
  for (Session* session : watching) {
    EXPECT_EQ(endingLine(*session), "The match is over.");
    EXPECT_EQ(session->ending()->exitCode(), 0);
  }
}

}  // namespace
}  // namespace voidskirmish::net
