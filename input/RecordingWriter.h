#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "input/Recording.h"

namespace voidskirmish::input {

// Writes a match as it is played: the header once, then each frame's events and its end, flushed at every
// frame so a crash or a kill leaves every whole frame on disk. Nothing is written before the first frame: a
// regular FILE (or a new one) is then written as FILE.part and renamed to FILE at once, so a game that ends
// before its match (input ended at the questions, a taken port, a window that failed) leaves an older FILE as it
// was. Anything else (a device, a FIFO) is opened at once and written in place.
class RecordingWriter {
 public:
  // nullptr with the system's reason in `error` when FILE cannot be written (or replaced, or created).
  static std::unique_ptr<RecordingWriter> open(const std::string& path, std::string& error);

  void writeHeader(const RecordingHeader& header);
  // The state the recording starts from, after the header; written with the first frame.
  void writeSnapshot(const SnapshotSection& snapshot);
  // A write that fails says so on standard error, once, and stops the recording; play goes on.
  void writeFrame(const std::vector<Event>& events, float delta, const std::optional<ScaleLine>& scale = {});
  // False once the recording stopped: the file lacks the rest of the match.
  bool complete() const { return !stopped; }

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  RecordingWriter(std::string path, std::string target, std::FILE* file)
      : path(std::move(path)), target(std::move(target)), file(file) {}
  bool start();
  void stop(int error);

  std::string path;    // as the player named it
  std::string target;  // the regular file renamed into place after the first frame; empty once done
  std::unique_ptr<std::FILE, FileCloser> file;
  std::string unwritten;  // the header, until the first frame
  bool stopped = false;
};

}  // namespace voidskirmish::input
