#include "settings/SettingsFile.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "input/EventText.h"
#include "input/KeyNames.h"
#include "input/Keys.h"
#include "input/Tokens.h"

namespace voidskirmish::settings {
namespace {

using input::ACTION_COUNT;
using input::ACTION_NAMES;

// A file that still has no TOML shape after this many lines were dropped is taken as no settings at all.
constexpr int MAX_SYNTAX_ERRORS = 20;

constexpr std::array<const char*, 3> PAD_ACTIONS{"forward", "back", "fire"};

int& actionOf(input::PlayerKeys& keys, std::size_t action) {
  int* const fields[ACTION_COUNT] = {&keys.forward, &keys.backward, &keys.left, &keys.right,
                                     &keys.up,      &keys.down,     &keys.fire};
  return *fields[action];
}

int& padActionOf(input::PadButtons& pad, std::size_t action) {
  int* const fields[3] = {&pad.forward, &pad.backward, &pad.fire};
  return *fields[action];
}

std::string shipName(std::size_t player) { return "ship" + std::to_string(player + 1); }

// One entry's binding as the file made it, kept until every binding is known and clashes can be found.
struct Bound {
  std::size_t player;
  std::size_t action;
  int key;
  std::uint32_t line;
};

class Reader {
 public:
  Reader(const std::string& fileName, std::ostream& errors) : fileName(fileName), errors(errors) {}

  // The problems are told in the order of their lines, once the whole file is read.
  Settings read(std::string_view text) {
    std::string kept(text);
    for (int attempt = 0; attempt <= MAX_SYNTAX_ERRORS; ++attempt) {
      try {
        const toml::table root = toml::parse(kept, fileName);
        readRoot(root);
        settleKeys();
        tell();
        return settings;
      } catch (const toml::parse_error& error) {
        const std::uint32_t line = error.source().begin.line;
        problem(line, std::string(error.description()));
        if (!dropLine(kept, line)) {
          break;
        }
      }
    }
    tell();
    errors << fileName << ": too many errors; using the defaults" << std::endl;
    return Settings{};
  }

 private:
  // Blanks line `line` (from 1), so that the rest of the file can be read; false when there is no such line.
  static bool dropLine(std::string& text, std::uint32_t line) {
    std::size_t start = 0;
    for (std::uint32_t n = 1; n < line; ++n) {
      start = text.find('\n', start);
      if (start == std::string::npos) {
        return false;
      }
      ++start;
    }
    const std::size_t end = std::min(text.find('\n', start), text.size());
    if (line == 0 || start >= text.size() || end == start) {
      return false;
    }
    text.erase(start, end - start);
    return true;
  }

  void problem(std::uint32_t line, const std::string& what) { problems.emplace_back(line, what); }

  void tell() {
    std::stable_sort(problems.begin(), problems.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [line, what] : problems) {
      errors << fileName << ":" << line << ": " << what << "\n";
    }
    errors << std::flush;
  }

  static std::uint32_t lineOf(const toml::node& node) { return node.source().begin.line; }

  void readRoot(const toml::table& root) {
    for (auto&& [key, node] : root) {
      const std::string name(key.str());
      const toml::table* table = node.as_table();
      if (name == "hud" && table == nullptr) {
        readHud(node);  // `hud = "shapes"` is short for [hud] style = "shapes"
      } else if (table == nullptr) {
        problem(lineOf(node), "'" + name +
                                  "' is no table of the game's ([ship1], [ship2], [window], [effects], "
                                  "[mouse], [sound], [hud], [render])");
      } else if (name == "ship1" || name == "ship2") {
        readShip(*table, name == "ship1" ? 0 : 1);
      } else if (name == "window") {
        readWindow(*table);
      } else if (name == "effects") {
        readEffects(*table);
      } else if (name == "mouse") {
        readEntries(*table, name, [this](const std::string& entry, const toml::node& value) {
          return entry == "steering" && readSwitch(value, input::Switch::MouseSteering, "mouse.steering");
        });
      } else if (name == "sound") {
        readEntries(*table, name, [this](const std::string& entry, const toml::node& value) {
          return entry == "volume" && readVolume(value);
        });
      } else if (name == "hud") {
        readEntries(*table, name, [this](const std::string& entry, const toml::node& value) {
          return entry == "style" && readHud(value);
        });
      } else if (name == "render") {
        readEntries(*table, name, [this](const std::string& entry, const toml::node& value) {
          return readDrawing(entry, value);
        });
      } else {
        problem(lineOf(node), "unknown table [" + name + "]");
      }
    }
  }

  // Each entry goes to `known`, which returns false for an entry it does not know (having said nothing) and
  // true for one it read or reported.
  template <typename Known>
  void readEntries(const toml::table& table, const std::string& tableName, Known known) {
    for (auto&& [key, node] : table) {
      const std::string entry(key.str());
      if (!known(entry, node)) {
        problem(lineOf(node), "unknown entry '" + entry + "' in [" + tableName + "]");
      }
    }
  }

  std::optional<std::string> text(const toml::node& value, const std::string& what) {
    std::optional<std::string> word = value.value_exact<std::string>();
    if (!word) {
      problem(lineOf(value), what + " must be a name in quotes");
    }
    return word;
  }

  void readShip(const toml::table& table, std::size_t player) {
    const std::string ship = shipName(player);
    readEntries(table, ship, [&](const std::string& entry, const toml::node& value) {
      if (entry == "pad") {
        readPad(value, player);
        return true;
      }
      for (std::size_t action = 0; action < ACTION_COUNT; ++action) {
        if (entry == ACTION_NAMES[action]) {
          readKey(value, player, action);
          return true;
        }
      }
      return false;
    });
  }

  void readKey(const toml::node& value, std::size_t player, std::size_t action) {
    const std::string what = shipName(player) + "." + ACTION_NAMES[action];
    const std::optional<std::string> name = text(value, what);
    if (!name) {
      return;
    }
    const std::optional<int> key = input::keyCode(*name);
    if (!key) {
      problem(lineOf(value), "no key is named '" + *name + "' (see the README for the names)");
    } else if (*key == input::keys::ESCAPE) {
      problem(lineOf(value), "ESCAPE ends the game and cannot fly a ship");
    } else {
      bound.push_back(Bound{player, action, *key, lineOf(value)});
    }
  }

  void readPad(const toml::node& node, std::size_t player) {
    const std::string ship = shipName(player);
    const toml::table* table = node.as_table();
    if (table == nullptr) {
      problem(lineOf(node), ship + ".pad must be a table of buttons");
      return;
    }
    input::PadButtons& pad = settings.pads[player];
    std::array<std::uint32_t, 3> lines{};
    readEntries(*table, ship + ".pad", [&](const std::string& entry, const toml::node& value) {
      for (std::size_t action = 0; action < PAD_ACTIONS.size(); ++action) {
        if (entry != PAD_ACTIONS[action]) {
          continue;
        }
        const std::optional<std::string> name = text(value, ship + ".pad." + entry);
        const std::optional<int> button = name ? input::padButtonCode(*name) : std::nullopt;
        if (name && !button) {
          problem(lineOf(value), "no gamepad button is named '" + *name + "' (see the README for the names)");
        } else if (button) {
          padActionOf(pad, action) = *button;
          lines[action] = lineOf(value);
        }
        return true;
      }
      return false;
    });
    // A button given two actions: the later line keeps its default, which may clash anew, so round again.
    input::PadButtons defaults;
    for (bool changed = true; changed;) {
      changed = false;
      for (std::size_t action = 0; action < PAD_ACTIONS.size(); ++action) {
        for (std::size_t other = 0; other < PAD_ACTIONS.size() && lines[action] > 0; ++other) {
          if (other != action && lines[other] <= lines[action] && padActionOf(pad, action) == padActionOf(pad, other)) {
            problem(lines[action], "gamepad button " + std::string(input::padButtonName(padActionOf(pad, action))) +
                                       " already does " + ship + ".pad." + PAD_ACTIONS[other]);
            padActionOf(pad, action) = padActionOf(defaults, action);
            lines[action] = 0;
            changed = true;
          }
        }
      }
    }
  }

  void readWindow(const toml::table& table) {
    WindowSetting window;
    readEntries(table, "window", [&](const std::string& entry, const toml::node& value) {
      if (entry == "mode") {
        const std::optional<std::string> mode = text(value, "window.mode");
        if (mode && *mode != "windowed" && *mode != "fullscreen") {
          problem(lineOf(value), "window.mode must be \"windowed\" or \"fullscreen\"");
        }
        window.fullscreen = mode == "fullscreen";
        return true;
      }
      if (entry == "width" || entry == "height") {
        const std::optional<std::int64_t> side = value.value_exact<std::int64_t>();
        if (!side || *side < 1 || *side > input::MAX_WINDOW_SIDE) {
          problem(lineOf(value), "window." + entry + " must be a whole number of pixels from 1 to " +
                                     std::to_string(input::MAX_WINDOW_SIDE));
        } else {
          (entry == "width" ? window.width : window.height) = static_cast<int>(*side);
        }
        return true;
      }
      return false;
    });
    settings.window = window;
  }

  void readEffects(const toml::table& table) {
    readEntries(table, "effects", [this](const std::string& entry, const toml::node& value) {
      for (std::size_t i = 0; i + 1 < input::SWITCH_COUNT; ++i) {  // all but mouse steering
        if (entry == input::SWITCHES[i].name) {
          readSwitch(value, static_cast<input::Switch>(i), "effects." + entry);
          return true;
        }
      }
      return false;
    });
  }

  // A boolean switch is true or false; one with named values takes the name in quotes.
  bool readSwitch(const toml::node& value, input::Switch which, const std::string& what) {
    const input::SwitchInfo& info = input::SWITCHES[static_cast<std::size_t>(which)];
    if (info.boolean()) {
      if (const std::optional<bool> on = value.value_exact<bool>()) {
        settings.switches[which] = *on ? 1 : 0;
      } else {
        problem(lineOf(value), what + " must be true or false");
      }
      return true;
    }
    std::string choices;
    for (int v = 0; v < info.valueCount; ++v) {
      const std::optional<std::string> word = value.value_exact<std::string>();
      if (word == info.values[static_cast<std::size_t>(v)]) {
        settings.switches[which] = v;
        return true;
      }
      choices += std::string(v == 0                     ? ""
                             : v + 1 == info.valueCount ? " or "
                                                        : ", ") +
                 "\"" + std::string(info.values[static_cast<std::size_t>(v)]) + "\"";
    }
    problem(lineOf(value), what + " must be " + choices);
    return true;
  }

  bool readVolume(const toml::node& value) {
    const std::optional<double> volume = value.is_number() ? value.value<double>() : std::nullopt;
    if (!volume || !(*volume >= 0.0 && *volume <= 1.0)) {
      problem(lineOf(value), "sound.volume must be a number from 0 to 1");
    } else {
      settings.volume = static_cast<float>(*volume);
    }
    return true;
  }

  // scale = 0.25 to 1 or "auto", frame_budget = 1 to 1000 (ms), bloom = "full" or "fast".
  bool readDrawing(const std::string& entry, const toml::node& value) {
    DrawingSetting& drawing = settings.drawing;
    const std::optional<double> number = value.is_number() ? value.value<double>() : std::nullopt;
    if (entry == "scale") {
      if (value.is_string() && value.value<std::string>() == "auto") {
        drawing.scale.reset();
      } else if (number && *number >= input::SMALLEST_RENDER_SCALE && *number <= 1.0) {
        drawing.scale = static_cast<float>(*number);
      } else {
        problem(lineOf(value), "render.scale must be a number from 0.25 to 1 or \"auto\"");
      }
    } else if (entry == "frame_budget") {
      if (number && *number >= 1.0 && *number <= 1000.0) {
        drawing.frameBudgetMs = *number;
      } else {
        problem(lineOf(value), "render.frame_budget must be a number of milliseconds from 1 to 1000");
      }
    } else if (entry == "bloom") {
      const std::optional<std::string> bloom = text(value, "render.bloom");
      if (bloom == "full" || bloom == "fast") {
        drawing.fastBloom = bloom == "fast";
      } else if (bloom) {
        problem(lineOf(value), "render.bloom must be \"full\" or \"fast\"");
      }
    } else {
      return false;
    }
    return true;
  }

  bool readHud(const toml::node& value) {
    const std::optional<std::string> style = text(value, "hud.style");
    if (style == "colours" || style == "shapes") {
      settings.hud = style == "shapes" ? HudStyle::Shapes : HudStyle::Colours;
    } else if (style) {
      problem(lineOf(value), "hud.style must be \"colours\" or \"shapes\"");
    }
    return true;
  }

  // Every key flies one action of one ship: a binding whose key another action has too keeps its default, which
  // may free a key for another binding, so this goes round until nothing clashes.
  void settleKeys() {
    std::vector<bool> kept(bound.size(), true);
    for (bool changed = true; changed;) {
      changed = false;
      for (std::size_t b = 0; b < bound.size(); ++b) {
        if (!kept[b]) {
          continue;
        }
        std::array<input::PlayerKeys, 2> keys = input::playerKeys;
        for (std::size_t o = 0; o < bound.size(); ++o) {
          if (kept[o]) {
            actionOf(keys[bound[o].player], bound[o].action) = bound[o].key;
          }
        }
        for (std::size_t player = 0; player < 2 && kept[b]; ++player) {
          for (std::size_t action = 0; action < ACTION_COUNT && kept[b]; ++action) {
            const bool itself = player == bound[b].player && action == bound[b].action;
            if (!itself && actionOf(keys[player], action) == bound[b].key) {
              problem(bound[b].line, "key " + std::string(input::keyName(bound[b].key)) + " already flies " +
                                         shipName(player) + "." + ACTION_NAMES[action]);
              kept[b] = false;
              changed = true;
            }
          }
        }
      }
    }
    for (std::size_t b = 0; b < bound.size(); ++b) {
      if (kept[b]) {
        actionOf(settings.keys[bound[b].player], bound[b].action) = bound[b].key;
      }
    }
  }

  const std::string& fileName;
  std::ostream& errors;
  Settings settings;
  std::vector<Bound> bound;
  std::vector<std::pair<std::uint32_t, std::string>> problems;
};

std::string quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

}  // namespace

Settings parseSettings(std::string_view text, const std::string& fileName, std::ostream& errors) {
  return Reader(fileName, errors).read(text);
}

Settings readSettingsFile(const std::string& path, std::ostream& errors) {
  std::error_code status;
  const auto size = std::filesystem::file_size(path, status);
  if (status || !std::filesystem::is_regular_file(path, status)) {
    errors << path << ": cannot read the settings: " << (status ? status.message() : "not a regular file") << std::endl;
    return Settings{};
  }
  if (size > MAX_SETTINGS_BYTES) {
    errors << path << ": larger than " << MAX_SETTINGS_BYTES / 1024 << " KiB; using the defaults" << std::endl;
    return Settings{};
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in) {
    errors << path << ": cannot read the settings: " << std::strerror(errno) << std::endl;
    return Settings{};
  }
  return parseSettings(text.str(), path, errors);
}

void writeSettings(const Settings& settings, std::ostream& out) {
  out << "# Voidskirmish settings. Every entry may be left out; it then keeps the game's default.\n";
  const char* actionHelp[ACTION_COUNT] = {"thrust forward", "thrust back", "turn left",     "turn right",
                                          "nose up",        "nose down",   "fire the laser"};
  for (std::size_t player = 0; player < 2; ++player) {
    out << "\n[" << shipName(player) << "]  # the " << (player == 0 ? "upper" : "lower")
        << " half's ship: its keys, by the key names of the README\n";
    input::PlayerKeys keys = settings.keys[player];
    for (std::size_t action = 0; action < ACTION_COUNT; ++action) {
      out << ACTION_NAMES[action] << " = " << quoted(input::keyName(actionOf(keys, action))) << "  # "
          << actionHelp[action] << "\n";
    }
    out << "\n[" << shipName(player) << ".pad]  # its gamepad's buttons, besides the triggers and the right bumper\n";
    input::PadButtons pad = settings.pads[player];
    for (std::size_t action = 0; action < PAD_ACTIONS.size(); ++action) {
      out << PAD_ACTIONS[action] << " = " << quoted(input::padButtonName(padActionOf(pad, action))) << "  # "
          << actionHelp[action == 2 ? 6 : action] << "\n";
    }
  }
  // Without a window here the questions are asked at start; the entries are then shown as comments.
  const WindowSetting window = settings.window.value_or(WindowSetting{});
  const char* off = settings.window ? "" : "# ";
  out << "\n"
      << off << "[window]  # with this table the start-up questions are not asked (--ask asks anyway)\n"
      << off << "mode = " << quoted(window.fullscreen ? "fullscreen" : "windowed")
      << "  # \"windowed\" or \"fullscreen\"\n"
      << off << "width = " << window.width << "  # pixels\n"
      << off << "height = " << window.height << "  # pixels\n";
  out << "\n[effects]  # how the toggles start: keys 1 to 5, F2 to F5, F8 to F10\n";
  const char* switchHelp[input::SWITCH_COUNT - 1] = {"key 1",
                                                     "key 2",
                                                     "key 3",
                                                     "key 4",
                                                     "key 5",
                                                     "key F2: the frame time on the console",
                                                     "key F3",
                                                     "key F4: \"nearest\" or \"bilinear\"",
                                                     "key F5: \"off\", \"nearest\" or \"linear\"",
                                                     "key F8",
                                                     "key F9",
                                                     "key F10: the life points' changes on the console"};
  for (std::size_t i = 0; i + 1 < input::SWITCH_COUNT; ++i) {
    const std::optional<int>& value = settings.switches.values[i];
    const input::SwitchInfo& info = input::SWITCHES[i];
    out << (value ? "" : "# ") << info.name << " = "
        << (info.boolean() ? (value.value_or(0) ? "true" : "false") : quoted(info.values[value.value_or(0)])) << "  # "
        << switchHelp[i] << "\n";
  }
  const std::optional<int>& steering = settings.switches[input::Switch::MouseSteering];
  out << "\n[mouse]\n"
      << (steering ? "" : "# ") << "steering = " << (steering.value_or(0) ? "true" : "false")
      << "  # the mouse turns the upper ship from the start (P switches it)\n"
      << "\n[sound]\nvolume = " << input::shortestText(settings.volume) << "  # from 0 (silent) to 1 (full)\n"
      << "\n[hud]\nstyle = " << quoted(settings.hud == HudStyle::Shapes ? "shapes" : "colours")
      << "  # \"colours\", or \"shapes\": YOU by the own score and life bar, FOE by the enemy's score\n";
  const DrawingSetting& drawing = settings.drawing;
  out << "\n[render]  # --render-scale, --frame-budget and --bloom win over these\n"
      << "scale = " << (drawing.scale ? input::shortestText(*drawing.scale) : quoted("auto"))
      << "  # the 3-D scene's share of the window, 0.25 to 1, or \"auto\" to keep frames within the budget\n"
      << "frame_budget = " << input::shortestText(drawing.frameBudgetMs) << "  # ms, with scale = \"auto\"\n"
      << "bloom = " << quoted(drawing.fastBloom ? "fast" : "full") << "  # \"full\", or \"fast\": a cheaper glow\n";
}

}  // namespace voidskirmish::settings
