#include "input/RecordingWriter.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <utility>

#include "input/EventText.h"
#include "input/KeyNames.h"

namespace voidskirmish::input {
namespace {

std::string partOf(const std::string& target) { return target + ".part"; }

}  // namespace

std::unique_ptr<RecordingWriter> RecordingWriter::open(const std::string& path, std::string& error) {
  namespace fs = std::filesystem;
  std::error_code status;
  const fs::file_type type = fs::status(path, status).type();
  if (type != fs::file_type::regular && type != fs::file_type::not_found) {
    std::FILE* file = std::fopen(path.c_str(), "w");  // a directory is refused here
    if (file == nullptr) {
      error = std::strerror(errno);
      return nullptr;
    }
    return std::unique_ptr<RecordingWriter>(new RecordingWriter(path, "", file));
  }
  // Through a link the file it names is replaced, and FILE.part must be possible beside it. A read-only FILE
  // is refused as writing it in place would be.
  const fs::path target = type == fs::file_type::regular ? fs::canonical(path, status) : fs::path(path);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  if ((type == fs::file_type::regular && ::access(target.c_str(), W_OK) != 0) ||
      ::access(folder.c_str(), W_OK | X_OK) != 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  return std::unique_ptr<RecordingWriter>(new RecordingWriter(path, target.string(), nullptr));
}

void RecordingWriter::writeHeader(const RecordingHeader& header) {
  unwritten = std::string(RecordingHeader::MAGIC) + " " + std::to_string(header.formatVersion) + "\ngame " +
              header.gameVersion + "\nwindow " + (header.fullscreen ? "fullscreen " : "windowed ") +
              std::to_string(header.width) + " " + std::to_string(header.height) + "\n";
  if (header.networkPlayer) {
    unwritten += "network ship" + std::to_string(*header.networkPlayer + 1) + "\n";
  }
  if (!header.start.empty()) {
    unwritten += formatStartLine(header.start) + "\n";
  }
  if (header.bindings) {
    unwritten += "bindings";
    for (const PlayerKeys& keys : *header.bindings) {
      for (const int key : actionKeys(keys)) {
        unwritten += " " + std::string(keyName(key));
      }
    }
    unwritten += "\n";
  }
}

void RecordingWriter::writeSnapshot(const SnapshotSection& snapshot) {
  static constexpr char DIGITS[] = "0123456789abcdef";
  unwritten += "snapshot " + std::to_string(snapshot.version) + " " + std::to_string(snapshot.bytes.size());
  for (std::size_t i = 0; i < snapshot.bytes.size(); ++i) {
    unwritten += i % SnapshotSection::LINE_BYTES == 0 ? "\nstate " : "";
    unwritten += DIGITS[snapshot.bytes[i] >> 4];
    unwritten += DIGITS[snapshot.bytes[i] & 15];
  }
  unwritten += "\n";
}

void RecordingWriter::writeFrame(const std::vector<Event>& events, float delta,
                                 const std::optional<ScaleLine>& scale) {
  if (stopped || (file == nullptr && !start())) {
    return;
  }
  std::string text = std::exchange(unwritten, {});
  for (const Event& event : events) {
    text += formatEvent(event) + "\n";
  }
  if (scale) {
    text += formatScaleLine(*scale) + "\n";
  }
  text += formatFrameEnd(FrameEnd{delta}) + "\n";
  if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size() || std::fflush(file.get()) != 0) {
    stop(errno);
  } else if (!target.empty()) {
    if (std::rename(partOf(target).c_str(), target.c_str()) != 0) {
      stop(errno);
    }
    target.clear();
  }
}

bool RecordingWriter::start() {
  file.reset(std::fopen(partOf(target).c_str(), "w"));
  if (file == nullptr) {
    stop(errno);
  }
  return file != nullptr;
}

// What was written stays: in FILE once renamed (its whole frames replay), else FILE keeps what it had.
void RecordingWriter::stop(int error) {
  stopped = true;
  file.reset();
  if (!target.empty()) {
    std::remove(partOf(target).c_str());
  }
  std::cerr << "Recording stopped: cannot write " << path << ": " << std::strerror(error) << std::endl;
}

}  // namespace voidskirmish::input
