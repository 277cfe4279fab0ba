#include "input/KeyNames.h"

#include <algorithm>
#include <array>
#include <vector>

namespace voidskirmish::input {
namespace {

struct Named {
  std::string_view name;
  int code;
};

// GLFW's printable keys, then its function keys, with their values.
std::vector<Named> keyTable() {
  std::vector<Named> keys = {{"SPACE", 32},         {"APOSTROPHE", 39},    {"COMMA", 44},       {"MINUS", 45},
                             {"PERIOD", 46},        {"SLASH", 47},         {"SEMICOLON", 59},   {"EQUAL", 61},
                             {"LEFT_BRACKET", 91},  {"BACKSLASH", 92},     {"RIGHT_BRACKET", 93},
                             {"GRAVE_ACCENT", 96},  {"ESCAPE", 256},       {"ENTER", 257},      {"TAB", 258},
                             {"BACKSPACE", 259},    {"INSERT", 260},       {"DELETE", 261},     {"RIGHT", 262},
                             {"LEFT", 263},         {"DOWN", 264},         {"UP", 265},         {"PAGE_UP", 266},
                             {"PAGE_DOWN", 267},    {"HOME", 268},         {"END", 269},        {"CAPS_LOCK", 280},
                             {"SCROLL_LOCK", 281},  {"NUM_LOCK", 282},     {"PRINT_SCREEN", 283}, {"PAUSE", 284},
                             {"KP_DECIMAL", 330},   {"KP_DIVIDE", 331},    {"KP_MULTIPLY", 332},
                             {"KP_SUBTRACT", 333},  {"KP_ADD", 334},       {"KP_ENTER", 335},   {"KP_EQUAL", 336},
                             {"LEFT_SHIFT", 340},   {"LEFT_CONTROL", 341}, {"LEFT_ALT", 342},   {"LEFT_SUPER", 343},
                             {"RIGHT_SHIFT", 344},  {"RIGHT_CONTROL", 345}, {"RIGHT_ALT", 346}, {"RIGHT_SUPER", 347},
                             {"MENU", 348}};
  // The names of digits, letters, F1 to F25 and the keypad's digits live in these static strings.
  static const std::array<std::string, 10 + 26 + 25 + 10> made = [] {
    std::array<std::string, 10 + 26 + 25 + 10> names;
    std::size_t i = 0;
    for (char c = '0'; c <= '9'; ++c) names[i++] = std::string(1, c);
    for (char c = 'A'; c <= 'Z'; ++c) names[i++] = std::string(1, c);
    for (int f = 1; f <= 25; ++f) names[i++] = "F" + std::to_string(f);
    for (int k = 0; k <= 9; ++k) names[i++] = "KP_" + std::to_string(k);
    return names;
  }();
  std::size_t i = 0;
  for (int code = 48; code <= 57; ++code) keys.push_back({made[i++], code});
  for (int code = 65; code <= 90; ++code) keys.push_back({made[i++], code});
  for (int code = 290; code <= 314; ++code) keys.push_back({made[i++], code});
  for (int code = 320; code <= 329; ++code) keys.push_back({made[i++], code});
  std::sort(keys.begin(), keys.end(), [](const Named& a, const Named& b) { return a.code < b.code; });
  return keys;
}

const std::vector<Named>& keys() {
  static const std::vector<Named> table = keyTable();
  return table;
}

constexpr std::array<Named, 13> PAD_BUTTONS{{{"A", 0}, {"B", 1}, {"X", 2}, {"Y", 3}, {"LEFT_BUMPER", 4},
                                             {"BACK", 6}, {"GUIDE", 8}, {"LEFT_THUMB", 9}, {"RIGHT_THUMB", 10},
                                             {"DPAD_UP", 11}, {"DPAD_RIGHT", 12}, {"DPAD_DOWN", 13},
                                             {"DPAD_LEFT", 14}}};

template <typename Table>
std::optional<int> codeIn(const Table& table, std::string_view name) {
  const auto found = std::find_if(table.begin(), table.end(), [name](const Named& n) { return n.name == name; });
  return found == table.end() ? std::nullopt : std::optional<int>(found->code);
}

template <typename Table>
std::string_view nameIn(const Table& table, int code) {
  const auto found = std::find_if(table.begin(), table.end(), [code](const Named& n) { return n.code == code; });
  return found == table.end() ? std::string_view() : found->name;
}

}  // namespace

std::optional<int> keyCode(std::string_view name) { return codeIn(keys(), name); }

std::string_view keyName(int code) { return nameIn(keys(), code); }

std::string shownKeyName(int code) {
  std::string shown(keyName(code));
  std::replace(shown.begin(), shown.end(), '_', ' ');
  return shown;
}

std::string allKeyNames() {
  std::string names;
  for (const Named& key : keys()) {
    names += (names.empty() ? "" : " ") + std::string(key.name);
  }
  return names;
}

std::optional<int> padButtonCode(std::string_view name) { return codeIn(PAD_BUTTONS, name); }

std::string_view padButtonName(int code) { return nameIn(PAD_BUTTONS, code); }

}  // namespace voidskirmish::input
