#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>

#include "app/CommandLine.h"
#include "input/EventText.h"
#include "input/RecordingReader.h"
#include "input/RecordingWriter.h"

namespace voidskirmish::input {
namespace {

const std::string header = "voidskirmish-recording 1\ngame 1.1.0\nwindow windowed 1024 768\n";

Recording read(const std::string& text) {
  std::istringstream in(text);
  return readRecording(in);
}

// The line and reason a bad recording is refused with.
template <typename Call>
std::pair<int, std::string> refusal(Call&& call) {
  try {
    call();
  } catch (const BadRecording& bad) {
    return {bad.line, bad.what()};
  }
  return {-1, "accepted"};
}

TEST(RecordingTest, WhatIsWrittenReadsBackBitForBitAndOnlyRegularFilesAreRead) {
  const std::string path = ::testing::TempDir() + "round-trip.rec", fifo = ::testing::TempDir() + "recording.fifo";
  const std::vector<Event> events{KeyEvent{87, true}, CursorEvent{612.25, 0.1}, ButtonEvent{0, false},
                                  SizeEvent{800, 600}, KeyEvent{87, false}};
  const std::vector<float> deltas{1.0f / 60.0f, 0.1f, 0.0f, 1e-30f, 0.5f};
  std::string error;
  if (auto writer = RecordingWriter::open(path, error)) {
    writer->writeHeader(RecordingHeader{1, "1.1.0", true, 1280, 1024});
    for (float delta : deltas) {
      writer->writeFrame(events, delta);
    }
  }
  const Recording recording = readRecordingFile(path);
  EXPECT_EQ(recording.header.gameVersion + " " + std::to_string(recording.header.fullscreen) + " " +
                std::to_string(recording.header.width) + " " + std::to_string(recording.header.height),
            "1.1.0 1 1280 1024");
  ASSERT_EQ(recording.frames.size(), deltas.size());
  for (std::size_t i = 0; i < deltas.size(); ++i) {
    EXPECT_EQ(std::memcmp(&recording.frames[i].delta, &deltas[i], sizeof(float)), 0) << i;
    EXPECT_EQ(recording.frames[i].events, events);
  }
  EXPECT_FALSE(recording.endsInsideFrame);
  EXPECT_FALSE(RecordingWriter::open(::testing::TempDir() + "missing/x.rec", error));
  EXPECT_FALSE(error.empty());

  std::remove(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& unreadable : {fifo, ::testing::TempDir(), ::testing::TempDir() + "no-such.rec"}) {
    EXPECT_EQ(refusal([&] { readRecordingFile(unreadable); }).first, 0) << unreadable;
  }
}

TEST(RecordingTest, AKilledGameLeavesItsWholeFramesReplayable) {
  const std::string twoFrames = header + "# comments and blank lines are skipped\n\nkey press 87\nframe 0.1\nframe 0.2\n";
  for (const std::string& tail : {std::string(), std::string("key release 87\n"), std::string("key rel"),
                                  std::string("frame 0.3")}) {
    const Recording recording = read(twoFrames + tail);
    EXPECT_EQ(recording.frames.size(), 2u) << tail;
    EXPECT_EQ(recording.endsInsideFrame, !tail.empty()) << tail;
  }
}

TEST(RecordingTest, BadFilesAreRefusedWithTheLineAndTheReason) {
  const struct { std::string text; int line; const char* reason; } cases[] = {
      {"", 1, "empty"},
      {"garbage\n", 1, "not a Voidskirmish recording"},
      {"voidskirmish-recording 2\n", 1, "newer"},
      {"voidskirmish-recording 0\n", 1, "out of range"},
      {"voidskirmish-recording 1\ngame 1.1.0\nwindow windowed 1024", 3, "unfinished"},
      {"voidskirmish-recording 1\ngame 1.1.0\nwindow tiny 1024 768\n", 3, "expected 'window"},
      {"voidskirmish-recording 1\ngame 1.1.0\nwindow windowed 0 768\n", 3, "out of range"},
      {header + "frame nan\n", 4, "not finite"},
      {header + "frame inf\n", 4, "not finite"},
      {header + "frame -0.1\n", 4, "out of range"},
      {header + "frame 10.5\n", 4, "out of range"},
      {header + "frame 0.1 0.2\n", 4, "expected 2 words"},
      {header + "frame 0x1p-3\n", 4, "not a number"},
      {header + "frame 0.1\nkey press 349\n", 5, "key code 349"},
      {header + "key press 31\n", 4, "out of range"},
      {header + "key hold 87\n", 4, "press or release"},
      {header + "button press 8\n", 4, "out of range"},
      {header + "cursor 1e7 0\n", 4, "out of range"},
      {header + "cursor 5\n", 4, "expected 3 words"},
      {header + "size 16385 768\n", 4, "out of range"},
      {header + "size -1 768\n", 4, "out of range"},
      {header + "teleport 1 2\n", 4, "unknown record"},
      {header + "key press 87 1 2 3 4 5 6\n", 4, "too many words"},
      {header + std::string(300, 'a') + "\n", 4, "longer than"},
      {header + "key\x01\xff press\n", 4, "not text"},
      {header + "frame 0.1\nframe 0.1\nframe zero\nframe 0.1\n", 6, "not a number"},
  };
  for (const auto& c : cases) {
    const auto [line, reason] = refusal([&] { read(c.text); });
    EXPECT_EQ(line, c.line) << c.text;
    EXPECT_NE(reason.find(c.reason), std::string::npos) << c.text << " → " << reason;
  }
}

// Random damage to a real recording is either read whole or refused; never a crash, a hang or a value the game
// could not take (the sanitizer build runs this too).
TEST(RecordingTest, MutatedRecordingsAreReadOrRefused) {
  const std::string original = header +
                               "key press 87\ncursor 612 384\nframe 0.016666668\nbutton press 0\nsize 800 600\n"
                               "frame 0.1\nkey release 87\nbutton release 0\nframe 0.25\n";
  std::mt19937 random(20261207);
  int accepted = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string text = original;
    for (unsigned edit = 1 + random() % 4; edit > 0 && !text.empty(); --edit) {
      const std::size_t at = random() % text.size();
      switch (random() % 4) {
        case 0: text[at] = static_cast<char>(random() % 256); break;
        case 1: text.insert(at, 1, "0123456789 .-en\n\0"[random() % 17]); break;
        case 2: text.erase(at, 1 + random() % 8); break;
        default: text.resize(at); break;
      }
    }
    const int line = refusal([&] {
      for (const RecordedFrame& frame : read(text).frames) {
        ASSERT_TRUE(frame.delta >= 0.0f && frame.delta <= MAX_FRAME_DELTA) << text;
      }
    }).first;
    ASSERT_NE(line, 0) << text;
    accepted += line < 0;
  }
  EXPECT_GT(accepted, 0);
}

TEST(CommandLineTest, OptionsHelpVersionAndUsageErrors) {
  const auto parse = [](std::vector<const char*> args) {
    args.insert(args.begin(), "voidskirmish");
    return app::parseCommandLine(static_cast<int>(args.size()), args.data());
  };
  EXPECT_FALSE(parse({}).options->recordPath);
  EXPECT_EQ(*parse({"--record", "a.rec"}).options->recordPath, "a.rec");
  EXPECT_EQ(*parse({"--replay", "b.rec"}).options->replayPath, "b.rec");
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const auto help = parse({"--help"});
  const auto version = parse({"--version"});
  const auto unknown = parse({"--bogus"});
  const auto missing = parse({"--record"});
  const auto both = parse({"--record", "a", "--replay", "b"});
  const std::string out = ::testing::internal::GetCapturedStdout();
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(help.exitCode + version.exitCode, 0);
  EXPECT_FALSE(help.options || version.options || unknown.options || missing.options || both.options);
  EXPECT_EQ(unknown.exitCode * missing.exitCode * both.exitCode, 8);
  EXPECT_NE(out.find("--replay"), std::string::npos);
  EXPECT_NE(out.find(std::string("Voidskirmish ") + VOIDSKIRMISH_VERSION), std::string::npos);
  EXPECT_NE(err.find("--bogus"), std::string::npos);
}

}  // namespace
}  // namespace voidskirmish::input
