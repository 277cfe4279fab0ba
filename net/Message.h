#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "input/Event.h"
#include "input/EventText.h"

namespace voidskirmish::net {

// Raised for anything the other machine sent that this game will not act on; the text says what is wrong.
class ProtocolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Changes whenever the layout of a message changes, or how far ahead a side may send; a Hello of another protocol
// is read no further than this.
constexpr std::uint16_t PROTOCOL_VERSION = 5;
constexpr std::size_t MAX_GAME_VERSION_LENGTH = 32;
constexpr std::size_t MAX_EVENTS_PER_FRAME = 64;
// Steps a side may run on a prediction of the other's inputs before it waits for them: more than the steps of
// the longest frame (net::StepClock) and a slow link's one-way delay, so that software rendering's long frames do
// not make both sides wait in turn. Running them again costs little beside drawing a frame.
constexpr std::int64_t PREDICTION_WINDOW = 40;

// The joiner's or a spectator's first words: which protocol, which game and which run-time files it plays with,
// and whether it only watches.
struct Hello {
  std::uint16_t protocol = PROTOCOL_VERSION;
  std::string gameVersion;
  std::uint64_t filesHash = 0;
  bool spectator = false;
};

// The host's answer when both sides play the same game: the match starts.
struct Welcome {};

struct Refused {
  enum class Reason : std::uint8_t { DifferentVersion = 1, MatchFull = 2, SpectatorsFull = 3 };
  Reason reason = Reason::DifferentVersion;
};

// One side's match events for one step of the match.
struct FrameInputs {
  std::uint32_t frame = 0;
  std::vector<input::Event> events;
};

// What one side sends many times a frame, unreliably: every frame of its inputs the other side has not yet
// acknowledged, in a row from the oldest, and its own acknowledgement of the other side's frames. A lost datagram
// costs nothing, as the next carries the same frames.
struct Inputs {
  std::uint32_t received = 0;  // the other side's first frame this side still lacks
  std::vector<FrameInputs> frames;
};

// The player quit the match on purpose.
struct Bye {};

// The match hash (MatchHash) of this side's game after it ran a frame, every HASH_INTERVAL frames.
struct Check {
  std::uint32_t frame = 0;
  std::uint64_t hash = 0;
};

// At most an honest side's steps in flight, twice over.
constexpr std::size_t MAX_STEPS_PER_INPUTS = 2 * PREDICTION_WINDOW;
// The played steps in one message to a spectator.
constexpr std::size_t MAX_FRAMES_PER_MESSAGE = 32;

// A step as both players' machines ran it: its delta and the match events, the host's first.
struct PlayedFrame {
  float delta = 0.0f;
  std::vector<input::Event> events;
};

// The host to a spectator, reliably: the played steps from `first` on, in a row.
struct Frames {
  std::uint32_t first = 0;
  std::vector<PlayedFrame> frames;  // at least one, at most MAX_FRAMES_PER_MESSAGE
};

// A spectator to the host: it has taken the steps before `received`.
struct Watched {
  std::uint32_t received = 0;
};

// The host to a spectator: the match is over, after the steps already sent.
struct Over {};

using Message = std::variant<Hello, Welcome, Refused, Inputs, Bye, Check, Frames, Watched, Over>;

// Each event travels as its recording line (input/EventText), so the wire, the recorder and the replay reader
// share one parser and one set of limits. No message is larger than this, which one frame's inputs always fit;
// a sender packs as many frames as fit.
constexpr std::size_t MAX_MESSAGE_SIZE = 16 + MAX_EVENTS_PER_FRAME * (1 + input::MAX_LINE_LENGTH);

// Events that mean the same on both machines. A window size or a cursor position in window pixels belongs to
// one machine's window and never travels.
bool travelsBetweenMachines(const input::Event& event);

// Whether two Hellos are of one protocol, game version and run-time files.
bool sameGame(const Hello& one, const Hello& other);

std::vector<std::uint8_t> encode(const Message& message);
// Checks every byte: lengths against what is really there and against the limits above, numbers against their
// ranges, events as strictly as the replay reader does. Throws ProtocolError for anything else.
Message decode(const std::uint8_t* bytes, std::size_t size);

}  // namespace voidskirmish::net
