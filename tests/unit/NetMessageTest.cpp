#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>

#include "net/MatchHash.h"
#include "net/Message.h"

namespace voidskirmish::net {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes operator+(Bytes bytes, const std::string& text) {
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

Bytes frameBytes(std::uint8_t delay, std::uint8_t count, const std::vector<std::string>& events, float delta = 0.1f) {
  Bytes bytes = encode(FrameInputs{7, delta, delay, {}});
  bytes.back() = count;
  for (const std::string& text : events) {
    bytes = std::move(bytes) + (std::string(1, static_cast<char>(text.size())) + text);
  }
  return bytes;
}

std::string refusal(const Bytes& bytes) {
  try {
    decode(bytes.data(), bytes.size());
  } catch (const ProtocolError& error) {
    return error.what();
  }
  return "accepted";
}

const std::vector<Message> samples{
    Hello{PROTOCOL_VERSION, "1.1.0", 0x0123456789abcdefull}, Welcome{}, Refused{Refused::Reason::MatchFull},
    Refused{Refused::Reason::DifferentVersion}, Bye{},
    FrameInputs{0xfffffffe, 0.1f, 8, {input::KeyEvent{GLFW_KEY_W, true}, input::ButtonEvent{0, false},
                                      input::KeyEvent{GLFW_KEY_KP_0, false}}}};

TEST(NetMessageTest, MessagesCrossBitForBitAndTheFrameLayoutIsFixed) {
  for (const Message& message : samples) {
    const Bytes bytes = encode(message);
    EXPECT_EQ(encode(decode(bytes.data(), bytes.size())), bytes) << message.index();
  }
  const Bytes frame = encode(FrameInputs{0x01020304, 1.0f, 3, {input::KeyEvent{GLFW_KEY_W, true}}});
  const Bytes head{4, 4, 3, 2, 1, 0, 0, 0x80, 0x3f, 3, 1, 12};  // kind, frame, 1.0f, delay, count, length
  EXPECT_EQ(frame, head + "key press 87");
  // A Hello of a later protocol is read as far as its version, whatever follows.
  const Bytes later{1, 2, 0, 0xff, 0xff};
  EXPECT_EQ(std::get<Hello>(decode(later.data(), later.size())).protocol, 2);
}

TEST(NetMessageTest, EveryBrokenMessageIsRefusedWithItsReason) {
  const struct { Bytes bytes; const char* reason; } cases[] = {
      {{}, "cut short"},
      {{9}, "unknown message kind"},
      {{2, 0}, "1 bytes after"},
      {{3, 3}, "unknown refusal"},
      {{1, 1, 0, 0}, "game version of 0"},
      {{1, 1, 0, 2, 'a', '\n', 0, 0, 0, 0, 0, 0, 0, 0}, "not text"},
      {frameBytes(1, 0, {}), "input delay 1"},
      {frameBytes(9, 0, {}), "input delay 9"},
      {frameBytes(3, 0, {}, std::nanf("")), "delta out of range"},
      {frameBytes(3, 0, {}, 10.5f), "delta out of range"},
      {frameBytes(3, 65, {}), "65 events"},
      {frameBytes(3, 2, {"key press 87"}), "cut short"},
      {frameBytes(3, 1, {"key press 87", "x"}), "2 bytes after"},
      {frameBytes(3, 1, {""}), "event of 0"},
      {frameBytes(3, 1, {std::string(201, 'k')}), "event of 201"},
      {frameBytes(3, 1, {"key press 999"}), "key code 999"},
      {frameBytes(3, 1, {"key\x7f press 87"}), "not text"},
      {frameBytes(3, 1, {"size 800 600"}), "not a match event"},
      {frameBytes(3, 1, {"cursor 1 2"}), "not a match event"},
      {frameBytes(3, 1, {"frame 0.1"}), "not a match event"},
      {frameBytes(3, 1, {"# hello"}), "not a match event"},
      {Bytes(MAX_MESSAGE_SIZE + 1, 4), "message of"},
  };
  for (const auto& c : cases) {
    const std::string reason = refusal(c.bytes);
    EXPECT_NE(reason.find(c.reason), std::string::npos) << c.reason << " → " << reason;
  }
}

// Whatever arrives, the decoder answers with a message or a ProtocolError; what it accepts encodes again.
TEST(NetMessageTest, RandomAndDamagedBytesNeverGetPastTheDecoder) {
  std::mt19937 random(17);
  const auto someByte = [&] { return static_cast<std::uint8_t>(random()); };
  int accepted = 0;
  for (int round = 0; round < 40000; ++round) {
    Bytes bytes = encode(samples[random() % samples.size()]);
    if (round % 4 == 0) {
      bytes.resize(random() % 64);
      std::generate(bytes.begin(), bytes.end(), someByte);
    }
    for (unsigned damage = random() % 4; damage > 0 && !bytes.empty(); --damage) {
      const auto at = bytes.begin() + static_cast<std::ptrdiff_t>(random() % bytes.size());
      switch (random() % 3) {
        case 0: *at = someByte(); break;
        case 1: bytes.erase(at, bytes.end()); break;
        default: bytes.insert(at, someByte());
      }
    }
    try {
      const Bytes again = encode(decode(bytes.data(), bytes.size()));
      EXPECT_NO_THROW(decode(again.data(), again.size()));
      ++accepted;
    } catch (const ProtocolError&) {
    }
  }
  EXPECT_GT(accepted, 1000);  // damage also lands where the message stays valid
}

TEST(NetMessageTest, HashesTellStatesAndRunTimeFilesApart) {
  MatchHash letter;
  letter.addBytes("a", 1);
  EXPECT_EQ(letter.value(), 0xaf63dc4c8601ec8cull);  // FNV-1a's published value for "a"
  EXPECT_EQ(matchHashLine(120, 0x0123abcd4567ef89ull), "Match hash at frame 120: 0123abcd4567ef89");
  EXPECT_EQ(matchHashLine(60, 5), "Match hash at frame 60: 0000000000000005");

  namespace fs = std::filesystem;
  const fs::path root = fs::path(::testing::TempDir()) / "net-files";
  fs::remove_all(root);
  fs::create_directories(root / "Shader");
  fs::create_directories(root / "Material" / "Textures");
  const auto write = [&](const char* path, const char* text) { std::ofstream(root / path) << text; };
  write("Shader/a.vert", "void main() {}");
  write("Material/ship.dae", "<COLLADA/>");
  const std::uint64_t previous = runTimeFilesHash(root);
  write("Material/Textures/hull.png", "not hashed");
  EXPECT_EQ(runTimeFilesHash(root), previous);
  write("Material/ship.dae", "<x/>");
  EXPECT_NE(runTimeFilesHash(root), previous);
}

}  // namespace
}  // namespace voidskirmish::net
