#include "input/RecordingReader.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "input/EventText.h"
#include "input/KeyNames.h"
#include "input/Tokens.h"

namespace voidskirmish::input {
namespace {

const std::string TOO_LARGE = "larger than " + std::to_string(MAX_RECORDING_BYTES >> 20) + " MiB";

// Reads line by line, never holding more than one line's limit, and knows whether the last line was ended.
// Reads the stream's buffer directly: istream::get costs a sentry for every character.
class LineSource {
 public:
  explicit LineSource(std::istream& in) : buffer(*in.rdbuf()) {}

  // False at the end of the input. A line without its line end is returned with ended() false.
  bool next(std::string& line) {
    line.clear();
    ended_ = false;
    for (int c = buffer.sbumpc(); c != std::char_traits<char>::eof(); c = buffer.sbumpc()) {
      if (++bytes > MAX_RECORDING_BYTES) {
        throw BadRecording(0, TOO_LARGE);  // a file that grows while it is read
      }
      if (c == '\n') {
        ended_ = true;
        break;
      }
      if (line.size() > MAX_LINE_LENGTH) {
        throw BadRecording(number_ + 1, "line longer than " + std::to_string(MAX_LINE_LENGTH) + " characters");
      }
      line.push_back(static_cast<char>(c));
    }
    if (!ended_ && line.empty()) {
      return false;
    }
    ++number_;
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();  // written on another system
    }
    return true;
  }

  bool ended() const { return ended_; }
  std::int64_t number() const { return number_; }

 private:
  std::streambuf& buffer;
  std::uintmax_t bytes = 0;
  std::int64_t number_ = 0;
  bool ended_ = false;
};

bool skipped(const std::string& line) { return line.empty() || line.front() == '#'; }

// The next header line that is not skipped; the format line is always the first.
std::string checkedHeaderLine(LineSource& lines, const char* what) {
  std::string line;
  const bool first = lines.number() == 0;
  do {
    if (!lines.next(line)) {
      throw BadRecording(lines.number() + 1, lines.number() == 0 ? "the file is empty" : std::string("missing ") + what);
    }
    if (!lines.ended()) {
      throw BadRecording(lines.number(), std::string("unfinished ") + what);
    }
    if (!printable(line)) {
      throw BadRecording(lines.number(), "not text");
    }
  } while (!first && skipped(line));
  return line;
}

RecordingHeader readHeader(LineSource& lines) {
  RecordingHeader header;
  try {
    const std::string magicLine = checkedHeaderLine(lines, "format line");
    const Tokens magic(magicLine);
    if (magic.word(0) != RecordingHeader::MAGIC) {
      throw std::runtime_error("not a Voidskirmish recording");
    }
    magic.expectCount(2);
    header.formatVersion = magic.integer(1, 1, 1 << 30, "format version");
    if (header.formatVersion > RecordingHeader::FORMAT_VERSION) {
      throw std::runtime_error("format version " + std::to_string(header.formatVersion) +
                               " is newer than this game reads (" +
                               std::to_string(RecordingHeader::FORMAT_VERSION) + ")");
    }
    const std::string gameLine = checkedHeaderLine(lines, "game line");
    const Tokens game(gameLine);
    game.expectCount(2);
    if (game.word(0) != "game" || game.word(1).empty()) {
      throw std::runtime_error("expected 'game VERSION'");
    }
    header.gameVersion = std::string(game.word(1));
    const std::string windowLine = checkedHeaderLine(lines, "window line");
    const Tokens window(windowLine);
    window.expectCount(4);
    if (window.word(0) != "window" || (window.word(1) != "windowed" && window.word(1) != "fullscreen")) {
      throw std::runtime_error("expected 'window windowed|fullscreen WIDTH HEIGHT'");
    }
    header.fullscreen = window.word(1) == "fullscreen";
    header.width = window.integer(2, 1, MAX_WINDOW_SIDE, "window width");
    header.height = window.integer(3, 1, MAX_WINDOW_SIDE, "window height");
  } catch (const BadRecording&) {
    throw;
  } catch (const std::runtime_error& failure) {
    throw BadRecording(lines.number(), failure.what());
  }
  return header;
}

std::array<PlayerKeys, 2> readBindings(const std::string& line) {
  std::istringstream words(line.substr(std::string_view("bindings").size()));
  std::array<int, 2 * ACTION_COUNT> codes{};
  std::string name;
  std::size_t count = 0;
  bool named = true;
  for (; named && count < codes.size() && words >> name; ++count) {
    const std::optional<int> code = keyCode(name);
    named = code.has_value();
    codes[count] = code.value_or(0);
  }
  if (!named || count != codes.size() || words >> name) {
    throw std::runtime_error("expected 'bindings' and 14 key names");
  }
  std::array<PlayerKeys, 2> keys{};
  for (std::size_t ship = 0; ship < 2; ++ship) {
    const int* c = &codes[ship * ACTION_COUNT];
    keys[ship] = PlayerKeys{c[0], c[1], c[2], c[3], c[4], c[5], c[6]};
  }
  return keys;
}

// The lines that may follow the window line, each once, before the first frame; false for any other line.
bool readHeaderLine(const std::string& line, std::int64_t number, RecordingHeader& header) {
  const auto once = [number](bool seen, bool allowed) {
    if (seen || !allowed) {
      throw BadRecording(number, "a start or bindings line needs format version 2, and each header line comes once");
    }
  };
  try {
    if (line.rfind("start", 0) == 0) {
      once(!header.start.empty(), header.formatVersion >= 2);
      std::string error;
      if (!parseStartLine(line, header.start, error)) {
        throw std::runtime_error(error);
      }
      return true;
    }
    if (line.rfind("bindings", 0) == 0) {
      once(header.bindings.has_value(), header.formatVersion >= 2);
      header.bindings = readBindings(line);
      return true;
    }
  } catch (const BadRecording&) {
    throw;
  } catch (const std::runtime_error& failure) {
    throw BadRecording(number, failure.what());
  }
  if (line.rfind("network", 0) != 0) {
    return false;
  }
  once(header.networkPlayer.has_value(), true);
  if (line != "network ship1" && line != "network ship2") {
    throw BadRecording(number, "expected 'network ship1|ship2'");
  }
  header.networkPlayer = line.back() == '1' ? 0 : 1;
  return true;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return -1;
}

// "snapshot VERSION BYTES" has been read as `first`; the state lines follow until BYTES are read.
SnapshotSection readSnapshot(LineSource& lines, const std::string& first) {
  SnapshotSection section;
  section.line = lines.number();
  std::size_t size = 0;
  try {
    const Tokens words(first);
    if (words.word(0) != "snapshot" || words.count() != 3) {
      throw std::runtime_error("expected 'snapshot VERSION BYTES'");
    }
    section.version = words.integer(1, 1, 1 << 30, "snapshot version");
    size = static_cast<std::size_t>(words.integer(2, 1, MAX_RECORDING_BYTES / 2, "snapshot size"));
  } catch (const std::runtime_error& failure) {
    throw BadRecording(lines.number(), failure.what());
  }
  std::string line;
  while (section.bytes.size() < size) {
    if (!lines.next(line) || !lines.ended()) {
      throw BadRecording(lines.number() + (lines.ended() ? 1 : 0), "unfinished snapshot");
    }
    if (!printable(line)) {
      throw BadRecording(lines.number(), "not text");
    }
    if (skipped(line)) {
      continue;
    }
    const std::size_t expected = std::min(SnapshotSection::LINE_BYTES, size - section.bytes.size());
    if (line.rfind("state ", 0) != 0 || line.size() != 6 + 2 * expected) {
      throw BadRecording(lines.number(), "expected 'state' and " + std::to_string(expected) + " bytes in hex");
    }
    for (std::size_t i = 6; i < line.size(); i += 2) {
      const int high = hexDigit(line[i]);
      const int low = hexDigit(line[i + 1]);
      if (high < 0 || low < 0) {
        throw BadRecording(lines.number(), "not lower-case hex: '" + line.substr(i, 2) + "'");
      }
      section.bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    section.dataLines.push_back(lines.number());
  }
  return section;
}

}  // namespace

Recording readRecording(std::istream& in) {
  LineSource lines(in);
  Recording recording;
  recording.header = readHeader(lines);
  RecordedFrame frame;
  std::string line;
  std::string error;
  bool afterWindowLine = true;  // until the first line that is neither skipped nor a header line
  while (lines.next(line)) {
    if (!lines.ended()) {
      recording.endsInsideFrame = true;  // cut off mid-line: the unfinished frame is dropped
      return recording;
    }
    BodyLine parsed;
    if (!printable(line)) {
      throw BadRecording(lines.number(), "not text");
    }
    if (afterWindowLine && !skipped(line)) {
      if (readHeaderLine(line, lines.number(), recording.header)) {
        continue;
      }
      afterWindowLine = false;
    }
    if (line.rfind("snapshot", 0) == 0) {
      if (recording.snapshot || !recording.frames.empty() || !frame.events.empty() || frame.scale) {
        throw BadRecording(lines.number(), "a snapshot comes once, before the first frame");
      }
      if (recording.header.formatVersion < 2) {
        throw BadRecording(lines.number(), "a snapshot needs format version 2");
      }
      recording.snapshot = readSnapshot(lines, line);
      continue;
    }
    if (!parseBodyLine(line, parsed, error)) {
      throw BadRecording(lines.number(), error);
    }
    if (const Event* event = std::get_if<Event>(&parsed)) {
      frame.events.push_back(*event);
    } else if (const ScaleLine* scale = std::get_if<ScaleLine>(&parsed)) {
      if (recording.header.formatVersion < 2) {
        throw BadRecording(lines.number(), "a scale line needs format version 2");
      }
      frame.scale = *scale;
    } else if (const FrameEnd* end = std::get_if<FrameEnd>(&parsed)) {
      frame.delta = end->delta;
      recording.frames.push_back(std::move(frame));
      frame = RecordedFrame{};
    }
  }
  recording.endsInsideFrame = !frame.events.empty() || frame.scale;
  return recording;
}

Recording readRecordingFile(const std::string& path) {
  std::error_code status;
  if (!std::filesystem::exists(path, status)) {
    throw BadRecording(0, "no such file");
  }
  if (!std::filesystem::is_regular_file(path, status)) {
    throw BadRecording(0, "not a regular file");
  }
  if (std::filesystem::file_size(path, status) > MAX_RECORDING_BYTES && !status) {
    throw BadRecording(0, TOO_LARGE);
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw BadRecording(0, std::strerror(errno));
  }
  return readRecording(in);
}

}  // namespace voidskirmish::input
