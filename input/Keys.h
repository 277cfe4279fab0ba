#pragma once

namespace voidskirmish::input::keys {

// The key and mouse-button codes the game acts on, with GLFW's values: live input passes GLFW's codes through
// unchanged and recordings store them, while everything below the window needs no GLFW header. app/ checks at
// compile time that the values agree.
constexpr int SPACE = 32;
constexpr int PERIOD = 46;
constexpr int DIGIT_1 = 49, DIGIT_2 = 50, DIGIT_3 = 51, DIGIT_4 = 52, DIGIT_5 = 53;
constexpr int A = 65, D = 68, F = 70, M = 77, P = 80, S = 83, T = 84, W = 87;
constexpr int ESCAPE = 256, ENTER = 257, BACKSPACE = 259;
constexpr int RIGHT = 262, LEFT = 263, DOWN = 264, UP = 265;
constexpr int PAGE_UP = 266, PAGE_DOWN = 267, HOME = 268, END = 269;
constexpr int PAUSE = 284;
constexpr int F1 = 290, F2 = 291, F3 = 292, F4 = 293, F5 = 294, F8 = 297, F9 = 298, F10 = 299, F11 = 300, F12 = 301;
constexpr int KP_0 = 320, KP_4 = 324, KP_8 = 328;
constexpr int LAST = 348;  // the highest key code

constexpr int MOUSE_LEFT = 0;
constexpr int MOUSE_LAST = 7;  // the highest button code

constexpr int RELEASE = 0, PRESS = 1;  // a button's action

constexpr int LAST_PAD = 15;  // the highest joystick slot

// The keys one who watches (a replay, a spectator) may press as in live play: they change only how this window
// draws and sounds.
constexpr bool isWatcherToggle(int key) {
  return (key >= DIGIT_1 && key <= DIGIT_5) || (key >= F2 && key <= F10) || key == M;
}

}  // namespace voidskirmish::input::keys
