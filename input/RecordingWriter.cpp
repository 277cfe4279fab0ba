#include "input/RecordingWriter.h"

#include <cerrno>
#include <cstring>

#include "input/EventText.h"

namespace voidskirmish::input {

std::unique_ptr<RecordingWriter> RecordingWriter::open(const std::string& path, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) {
    error = std::strerror(errno);
    return nullptr;
  }
  return std::unique_ptr<RecordingWriter>(new RecordingWriter(file));
}

void RecordingWriter::writeHeader(const RecordingHeader& header) {
  writeLine(std::string(RecordingHeader::MAGIC) + " " + std::to_string(header.formatVersion));
  writeLine("game " + header.gameVersion);
  writeLine(std::string("window ") + (header.fullscreen ? "fullscreen " : "windowed ") +
            std::to_string(header.width) + " " + std::to_string(header.height));
  if (header.networkPlayer) {
    writeLine("network ship" + std::to_string(*header.networkPlayer + 1));
  }
  std::fflush(file.get());
}

void RecordingWriter::writeFrame(const std::vector<Event>& events, float delta) {
  for (const Event& event : events) {
    writeLine(formatEvent(event));
  }
  writeLine(formatFrameEnd(FrameEnd{delta}));
  std::fflush(file.get());
}

void RecordingWriter::writeLine(const std::string& line) {
  std::fputs(line.c_str(), file.get());
  std::fputc('\n', file.get());
}

}  // namespace voidskirmish::input
