#pragma once

struct GLFWwindow;

namespace voidskirmish::app {

// Xlib ends the process at the first X error unless a handler says otherwise. A window destroyed under the game
// (xdotool windowclose, a window manager gone wrong) makes every later request on it fail, from the next buffer
// swap to GLFW's own clean-up: while a watch lives, such errors only mark the window lost, and the frame loops
// end as for a closed window (a network match says goodbye). Any other error goes to the handler there was.
// Xlib has one handler for the process, so there is one watch at a time; it is made after the window and its
// context, since GLFW 3.3 puts Xlib's default handler back after each call it guards itself.
class LostWindowWatch {
 public:
  explicit LostWindowWatch(GLFWwindow* window);
  ~LostWindowWatch();
  LostWindowWatch(const LostWindowWatch&) = delete;
  LostWindowWatch& operator=(const LostWindowWatch&) = delete;

  // Whether a request on the window failed because the window is gone.
  static bool lost();
};

}  // namespace voidskirmish::app
