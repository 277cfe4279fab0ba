#pragma once

#include <optional>
#include <string>
#include <vector>

#include "input/Event.h"
#include "input/EventText.h"
#include "input/ShipKeys.h"
#include "input/StartSwitches.h"

namespace voidskirmish::input {

// The first lines of a recording: which format, which game wrote it, and the window it was played in. A network
// match's recording adds a line "network ship1" or "network ship2": the ship the recording machine flew. A match
// that started with switches other than the defaults (a settings file's) adds their "start" line, and one played
// with other keys a "bindings" line with the keys' names, ship1's seven then ship2's, in PlayerKeys' order: the
// events hold the game's own keys, the line only lets the replay's help name the keys the players pressed.
struct RecordingHeader {
  // Version 2 adds the scale lines of --render-scale auto and the start line; a match played without either is
  // written as version 1.
  static constexpr int FORMAT_VERSION = 2;
  static constexpr int FIXED_SCALE_VERSION = 1;
  static constexpr const char* MAGIC = "voidskirmish-recording";

  int formatVersion = FORMAT_VERSION;
  std::string gameVersion;
  bool fullscreen = false;
  int width = 0;
  int height = 0;
  std::optional<int> networkPlayer = std::nullopt;
  StartSwitches start = {};
  std::optional<std::array<PlayerKeys, 2>> bindings = std::nullopt;
};

// One frame as the game state got it: its events in order, then the update with this delta; when the render
// scale moved or settled in it, the scale it was drawn at from then on.
struct RecordedFrame {
  std::vector<Event> events;
  float delta = 0.0f;
  std::optional<ScaleLine> scale;
};

struct Recording {
  RecordingHeader header;
  std::vector<RecordedFrame> frames;
  // Lines after the last whole frame, as a killed game leaves them; they are not replayed.
  bool endsInsideFrame = false;
};

}  // namespace voidskirmish::input
