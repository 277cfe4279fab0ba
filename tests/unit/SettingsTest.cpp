#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "input/KeyMap.h"
#include "input/StartSwitches.h"
#include "settings/SettingsFile.h"

namespace voidskirmish::settings {
namespace {

using input::Switch;

struct Parsed {
  Settings settings;
  std::string errors;
};

Parsed parse(const std::string& text) {
  std::ostringstream errors;
  Settings settings = parseSettings(text, "s.toml", errors);
  return {settings, errors.str()};
}

// Each file, what it must leave in the settings, and its error lines exactly.
TEST(SettingsFileTest, GoodAndBadFiles) {
  struct Case {
    const char* text;
    bool (*holds)(const Settings&);
    const char* errors;
  };
  const Case cases[] = {
      {"", [](const Settings& s) { return s.keys == input::playerKeys && !s.window && s.switches.empty(); }, ""},
      {"[ship2]\nforward = \"I\"\nback = \"K\"\nleft = \"J\"\nright = \"L\"\nup = \"U\"\ndown = \"O\"\n"
       "fire = \"RIGHT_SHIFT\"\n",
       [](const Settings& s) {
         return s.keys[1].forward == 'I' && s.keys[1].left == 'J' && s.keys[1].fire == 344 && s.keys[0].forward == 'W';
       },
       ""},
      {"[ship1]\nforward = \"S\"\nback = \"W\"\n",  // a swap clashes with nothing
       [](const Settings& s) { return s.keys[0].forward == 'S' && s.keys[0].backward == 'W'; }, ""},
      {"[ship1]\nforward = \"UP\"\n[ship2]\nforward = \"I\"\n",  // UP is free once ship2 has I
       [](const Settings& s) { return s.keys[0].forward == 265 && s.keys[1].forward == 'I'; }, ""},
      {"[ship1]\nfire = \"KP_0\"\njump = \"J\"\nleft = 3\nright = \"Q1\"\nup = \"ESCAPE\"\n",
       [](const Settings& s) { return s.keys == input::playerKeys; },
       "s.toml:2: key KP_0 already flies ship2.fire\n"
       "s.toml:3: unknown entry 'jump' in [ship1]\ns.toml:4: ship1.left must be a name in quotes\n"
       "s.toml:5: no key is named 'Q1' (see the README for the names)\n"
       "s.toml:6: ESCAPE ends the game and cannot fly a ship\n"},
      {"[ship1.pad]\nforward = \"Y\"\nfire = \"Y\"\nback = \"START\"\n",
       [](const Settings& s) { return s.pads[0].forward == 3 && s.pads[0].fire == 2 && s.pads[0].backward == 1; },
       "s.toml:3: gamepad button Y already does ship1.pad.forward\n"
       "s.toml:4: no gamepad button is named 'START' (see the README for the names)\n"},
      {"[window]\nmode = \"fullscreen\"\nwidth = 800\nheight = 0\n",
       [](const Settings& s) {
         return s.window && s.window->fullscreen && s.window->width == 800 && s.window->height == 768;
       },
       "s.toml:4: window.height must be a whole number of pixels from 1 to 16384\n"},
      {"[window]\nmode = \"big\"\n", [](const Settings& s) { return s.window && !s.window->fullscreen; },
       "s.toml:2: window.mode must be \"windowed\" or \"fullscreen\"\n"},
      {"[effects]\nbloom = false\nmipmap = \"nearest\"\nsampling = \"best\"\ncontours = \"no\"\n[mouse]\nsteering = "
       "true\n",
       [](const Settings& s) {
         return s.switches[Switch::Bloom] == 0 && s.switches[Switch::Mipmap] == 1 && !s.switches[Switch::Sampling] &&
                !s.switches[Switch::Contours] && s.switches[Switch::MouseSteering] == 1;
       },
       "s.toml:4: effects.sampling must be \"nearest\" or \"bilinear\"\ns.toml:5: effects.contours must be true or "
       "false\n"},
      {"top = 2\n[sound]\nvolume = 0.5\n[hud]\nstyle = \"shapes\"\n[joystick]\nx = 1\n",
       [](const Settings& s) { return s.volume == 0.5f && s.hud == HudStyle::Shapes; },
       "s.toml:1: 'top' is no table of the game's ([ship1], [ship2], [window], [effects], [mouse], [sound], "
       "[hud], [render])\ns.toml:6: unknown table [joystick]\n"},
      {"[render]\nscale = \"auto\"\nframe_budget = 50\nbloom = \"fast\"\n",
       [](const Settings& s) { return !s.drawing.scale && s.drawing.frameBudgetMs == 50.0 && s.drawing.fastBloom; },
       ""},
      {"[render]\nscale = 0.2\nframe_budget = 0\nbloom = \"soft\"\n",
       [](const Settings& s) {
         return s.drawing.scale == 1.0f && s.drawing.frameBudgetMs == 33.0 && !s.drawing.fastBloom;
       },
       "s.toml:2: render.scale must be a number from 0.25 to 1 or \"auto\"\n"
       "s.toml:3: render.frame_budget must be a number of milliseconds from 1 to 1000\n"
       "s.toml:4: render.bloom must be \"full\" or \"fast\"\n"},
      {"hud = \"shapes\"\n", [](const Settings& s) { return s.hud == HudStyle::Shapes; }, ""},
      {"[sound]\nvolume = 2\n[hud]\nstyle = \"round\"\n",
       [](const Settings& s) { return s.volume == 1.0f && s.hud == HudStyle::Colours; },
       "s.toml:2: sound.volume must be a number from 0 to 1\ns.toml:4: hud.style must be \"colours\" or \"shapes\"\n"},
      // Lines that are no TOML are dropped one by one; the rest of the file counts.
      {"[effects]\nbloom = = true\nwireframe = true\n[effects]\n",
       [](const Settings& s) { return s.switches[Switch::Wireframe] == 1 && !s.switches[Switch::Bloom]; }, nullptr},
  };
  for (const Case& c : cases) {
    const Parsed parsed = parse(c.text);
    EXPECT_TRUE(c.holds(parsed.settings)) << c.text;
    if (c.errors != nullptr) {
      EXPECT_EQ(parsed.errors, c.errors) << c.text;
    } else {
      EXPECT_NE(parsed.errors.find("s.toml:2: "), std::string::npos) << parsed.errors;
      EXPECT_NE(parsed.errors.find("s.toml:4: "), std::string::npos) << parsed.errors;
    }
  }
}

// What --save-settings writes reads back to the same settings, without a word.
TEST(SettingsFileTest, WrittenFileReadsBack) {
  Parsed chosen = parse(
      "[ship2]\nforward = \"I\"\n[ship1.pad]\nfire = \"Y\"\n[window]\nwidth = 800\n"
      "[effects]\nmipmap = \"off\"\n[hud]\nstyle = \"shapes\"\n[render]\nscale = 0.5\nbloom = \"fast\"\n");
  for (std::size_t i = 0; i < input::SWITCH_COUNT; ++i) {
    chosen.settings.switches.values[i] = chosen.settings.switches.values[i].value_or(1);
  }
  std::ostringstream written;
  writeSettings(chosen.settings, written);
  const Parsed again = parse(written.str());
  EXPECT_EQ(again.errors, "");
  EXPECT_EQ(again.settings.keys, chosen.settings.keys);
  EXPECT_EQ(again.settings.pads, chosen.settings.pads);
  EXPECT_EQ(again.settings.window->width, 800);
  EXPECT_EQ(again.settings.switches, chosen.settings.switches);
  EXPECT_EQ(again.settings.hud, HudStyle::Shapes);
  EXPECT_TRUE(again.settings.drawing.scale == 0.5f && again.settings.drawing.fastBloom);
}

// Bound keys become the game's own; the game's keys that fly nothing now are dropped, others pass.
TEST(SettingsFileTest, KeyMapTurnsBoundKeysIntoTheGames) {
  std::array<input::PlayerKeys, 2> bound = input::playerKeys;
  bound[0].forward = 'S';
  bound[0].backward = 'W';
  bound[1].forward = 'I';
  const input::KeyMap map(bound);
  EXPECT_EQ(map.gameKey('S'), 'W');
  EXPECT_EQ(map.gameKey('W'), 'S');
  EXPECT_EQ(map.gameKey('I'), input::keys::UP);
  EXPECT_EQ(map.gameKey(input::keys::UP), std::nullopt);
  EXPECT_EQ(map.gameKey(input::keys::F1), input::keys::F1);
}

TEST(SettingsFileTest, StartLine) {
  input::StartSwitches switches;
  switches[Switch::Bloom] = 0;
  switches[Switch::Mipmap] = 1;
  switches[Switch::MouseSteering] = 1;
  EXPECT_EQ(formatStartLine(switches), "start bloom=off mipmap=nearest mouse_steering=on");
  input::StartSwitches read;
  std::string error;
  EXPECT_TRUE(parseStartLine(formatStartLine(switches), read, error));
  EXPECT_EQ(read, switches);
  for (const char* bad : {"start", "start bloom=maybe", "start bloom=on bloom=off", "start glow=on"}) {
    input::StartSwitches none;
    EXPECT_FALSE(parseStartLine(bad, none, error)) << bad;
  }
}

}  // namespace
}  // namespace voidskirmish::settings
