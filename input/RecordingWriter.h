#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "input/Recording.h"

namespace voidskirmish::input {

// Writes a match as it is played: the header once, then each frame's events and its end, flushed at every
// frame so a crash or a kill leaves every whole frame on disk.
class RecordingWriter {
 public:
  // Opens (truncates) the file; nullptr with the system's reason in `error` when it cannot be written.
  static std::unique_ptr<RecordingWriter> open(const std::string& path, std::string& error);

  void writeHeader(const RecordingHeader& header);
  void writeFrame(const std::vector<Event>& events, float delta);

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  explicit RecordingWriter(std::FILE* file) : file(file) {}
  void writeLine(const std::string& line);

  std::unique_ptr<std::FILE, FileCloser> file;
};

}  // namespace voidskirmish::input
