#include "net/Message.h"

#include <cmath>
#include <cstring>
#include <string>

#include "net/MatchHash.h"

namespace voidskirmish::net {
namespace {

enum class Kind : std::uint8_t { Hello = 1, Welcome, Refused, Inputs, Bye, Check, Frames, Watched, Over };

bool isPrintable(char c) { return c >= ' ' && c <= '~'; }

// Little-endian, fixed widths.
class Writer {
 public:
  void byte(std::uint8_t value) { bytes.push_back(value); }
  void number(std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) {
      byte(static_cast<std::uint8_t>(value >> (8 * i)));
    }
  }
  void text(const std::string& value, std::size_t limit) {
    if (value.size() > limit) {
      throw std::length_error("text longer than a message allows: " + value);
    }
    byte(static_cast<std::uint8_t>(value.size()));
    bytes.insert(bytes.end(), value.begin(), value.end());
  }

  std::vector<std::uint8_t> bytes;
};

class Reader {
 public:
  Reader(const std::uint8_t* bytes, std::size_t size) : bytes(bytes), size(size) {}

  std::uint8_t byte() {
    need(1);
    return bytes[at++];
  }
  std::uint64_t number(int width) {
    need(width);
    std::uint64_t value = 0;
    for (int i = 0; i < width; ++i) {
      value |= static_cast<std::uint64_t>(bytes[at++]) << (8 * i);
    }
    return value;
  }
  // A length byte, then that many printable characters: at least one, at most `limit`.
  std::string text(std::size_t limit, const char* what) {
    const std::size_t length = byte();
    if (length == 0 || length > limit) {
      throw ProtocolError(std::string(what) + " of " + std::to_string(length) + " characters");
    }
    need(length);
    std::string value(reinterpret_cast<const char*>(bytes + at), length);
    at += length;
    for (char c : value) {
      if (!isPrintable(c)) {
        throw ProtocolError(std::string(what) + " is not text");
      }
    }
    return value;
  }
  void expectEnd() const {
    if (at != size) {
      throw ProtocolError(std::to_string(size - at) + " bytes after the end of the message");
    }
  }

 private:
  void need(std::size_t count) const {
    if (size - at < count) {
      throw ProtocolError("message cut short");
    }
  }

  const std::uint8_t* bytes;
  std::size_t size;
  std::size_t at = 0;
};

std::uint32_t floatBits(float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

float bitsFloat(std::uint32_t bits) {
  float value = 0.0f;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

struct Encoder {
  Writer& out;

  void operator()(const Hello& m) const {
    out.byte(static_cast<std::uint8_t>(Kind::Hello));
    out.number(m.protocol, 2);
    out.text(m.gameVersion, MAX_GAME_VERSION_LENGTH);
    out.number(m.filesHash, 8);
    out.byte(m.spectator ? 1 : 0);
  }
  void operator()(const Welcome&) const { out.byte(static_cast<std::uint8_t>(Kind::Welcome)); }
  void operator()(const Refused& m) const {
    out.byte(static_cast<std::uint8_t>(Kind::Refused));
    out.byte(static_cast<std::uint8_t>(m.reason));
  }
  void operator()(const Inputs& m) const {
    if (m.frames.size() > MAX_STEPS_PER_INPUTS) {
      throw std::length_error("more frames than a message allows");
    }
    out.byte(static_cast<std::uint8_t>(Kind::Inputs));
    out.number(m.received, 4);
    out.byte(static_cast<std::uint8_t>(m.frames.size()));
    for (const FrameInputs& frame : m.frames) {
      (*this)(frame);
    }
  }
  void operator()(const FrameInputs& m) const {
    out.number(m.frame, 4);
    events(m.events);
  }
  void events(const std::vector<input::Event>& events) const {
    if (events.size() > MAX_EVENTS_PER_FRAME) {
      throw std::length_error("more events in one frame than a message allows");
    }
    out.byte(static_cast<std::uint8_t>(events.size()));
    for (const input::Event& event : events) {
      out.text(input::formatEvent(event), input::MAX_LINE_LENGTH);
    }
  }
  void operator()(const Frames& m) const {
    if (m.frames.empty() || m.frames.size() > MAX_FRAMES_PER_MESSAGE) {
      throw std::length_error("a number of frames a message does not allow");
    }
    out.byte(static_cast<std::uint8_t>(Kind::Frames));
    out.number(m.first, 4);
    out.byte(static_cast<std::uint8_t>(m.frames.size()));
    for (const PlayedFrame& frame : m.frames) {
      out.number(floatBits(frame.delta), 4);
      events(frame.events);
    }
  }
  void operator()(const Watched& m) const {
    out.byte(static_cast<std::uint8_t>(Kind::Watched));
    out.number(m.received, 4);
  }
  void operator()(const Over&) const { out.byte(static_cast<std::uint8_t>(Kind::Over)); }
  void operator()(const Bye&) const { out.byte(static_cast<std::uint8_t>(Kind::Bye)); }
  void operator()(const Check& m) const {
    out.byte(static_cast<std::uint8_t>(Kind::Check));
    out.number(m.frame, 4);
    out.number(m.hash, 8);
  }
};

Hello readHello(Reader& in) {
  Hello hello;
  hello.protocol = static_cast<std::uint16_t>(in.number(2));
  if (hello.protocol != PROTOCOL_VERSION) {
    return hello;  // the rest is laid out by a protocol this game does not know
  }
  hello.gameVersion = in.text(MAX_GAME_VERSION_LENGTH, "game version");
  hello.filesHash = in.number(8);
  const std::uint8_t spectator = in.byte();
  if (spectator > 1) {
    throw ProtocolError("spectator flag " + std::to_string(spectator));
  }
  hello.spectator = spectator == 1;
  return hello;
}

Refused readRefused(Reader& in) {
  const std::uint8_t reason = in.byte();
  if (reason != static_cast<std::uint8_t>(Refused::Reason::DifferentVersion) &&
      reason != static_cast<std::uint8_t>(Refused::Reason::MatchFull) &&
      reason != static_cast<std::uint8_t>(Refused::Reason::SpectatorsFull)) {
    throw ProtocolError("unknown refusal " + std::to_string(reason));
  }
  return Refused{static_cast<Refused::Reason>(reason)};
}

input::Event readEvent(Reader& in) {
  const std::string line = in.text(input::MAX_LINE_LENGTH, "event");
  input::BodyLine parsed;
  std::string error;
  if (!input::parseBodyLine(line, parsed, error)) {
    throw ProtocolError("event '" + line + "': " + error);
  }
  const auto* event = std::get_if<input::Event>(&parsed);
  if (event == nullptr || !travelsBetweenMachines(*event)) {
    throw ProtocolError("'" + line + "' is not a match event");
  }
  return *event;
}

std::vector<input::Event> readEvents(Reader& in) {
  const std::size_t count = in.byte();
  if (count > MAX_EVENTS_PER_FRAME) {
    throw ProtocolError(std::to_string(count) + " events in one frame");
  }
  std::vector<input::Event> events;
  for (std::size_t i = 0; i < count; ++i) {
    events.push_back(readEvent(in));
  }
  return events;
}

FrameInputs readFrameInputs(Reader& in) {
  FrameInputs inputs;
  inputs.frame = static_cast<std::uint32_t>(in.number(4));
  inputs.events = readEvents(in);
  return inputs;
}

Frames readFrames(Reader& in) {
  Frames frames;
  frames.first = static_cast<std::uint32_t>(in.number(4));
  const std::size_t count = in.byte();
  if (count == 0 || count > MAX_FRAMES_PER_MESSAGE) {
    throw ProtocolError(std::to_string(count) + " frames in one message");
  }
  for (std::size_t i = 0; i < count; ++i) {
    const float delta = bitsFloat(static_cast<std::uint32_t>(in.number(4)));
    if (!std::isfinite(delta) || delta < 0.0f || delta > input::MAX_FRAME_DELTA) {
      throw ProtocolError("frame delta out of range");
    }
    frames.frames.push_back(PlayedFrame{delta, readEvents(in)});
  }
  return frames;
}

Inputs readInputs(Reader& in) {
  Inputs inputs;
  inputs.received = static_cast<std::uint32_t>(in.number(4));
  const std::size_t count = in.byte();
  if (count > MAX_STEPS_PER_INPUTS) {
    throw ProtocolError(std::to_string(count) + " frames in one message");
  }
  for (std::size_t i = 0; i < count; ++i) {
    inputs.frames.push_back(readFrameInputs(in));
    if (i > 0 && inputs.frames[i].frame != inputs.frames[i - 1].frame + 1) {
      throw ProtocolError("frame " + std::to_string(inputs.frames[i].frame) + " after frame " +
                          std::to_string(inputs.frames[i - 1].frame));
    }
  }
  return inputs;
}

Check readCheck(Reader& in) {
  Check check;
  check.frame = static_cast<std::uint32_t>(in.number(4));
  if (check.frame == 0 || check.frame % HASH_INTERVAL != 0) {
    throw ProtocolError("a match hash of frame " + std::to_string(check.frame));
  }
  check.hash = in.number(8);
  return check;
}

Message readMessage(Reader& in) {
  switch (static_cast<Kind>(in.byte())) {
    case Kind::Hello: return readHello(in);
    case Kind::Welcome: return Welcome{};
    case Kind::Refused: return readRefused(in);
    case Kind::Inputs: return readInputs(in);
    case Kind::Bye: return Bye{};
    case Kind::Check: return readCheck(in);
    case Kind::Frames: return readFrames(in);
    case Kind::Watched: return Watched{static_cast<std::uint32_t>(in.number(4))};
    case Kind::Over: return Over{};
  }
  throw ProtocolError("unknown message kind");
}

}  // namespace

bool travelsBetweenMachines(const input::Event& event) {
  return !std::holds_alternative<input::SizeEvent>(event) && !std::holds_alternative<input::CursorEvent>(event);
}

bool sameGame(const Hello& one, const Hello& other) {
  return one.protocol == other.protocol && one.gameVersion == other.gameVersion && one.filesHash == other.filesHash;
}

std::vector<std::uint8_t> encode(const Message& message) {
  Writer out;
  std::visit(Encoder{out}, message);
  return std::move(out.bytes);
}

Message decode(const std::uint8_t* bytes, std::size_t size) {
  if (size > MAX_MESSAGE_SIZE) {
    throw ProtocolError("message of " + std::to_string(size) + " bytes");
  }
  Reader in(bytes, size);
  Message message = readMessage(in);
  // A Hello of another protocol is judged by its version alone.
  const auto* hello = std::get_if<Hello>(&message);
  if (hello == nullptr || hello->protocol == PROTOCOL_VERSION) {
    in.expectEnd();
  }
  return message;
}

}  // namespace voidskirmish::net
