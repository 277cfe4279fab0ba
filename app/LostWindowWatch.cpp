#include "app/LostWindowWatch.h"

#define GLFW_EXPOSE_NATIVE_X11
#define GLFW_EXPOSE_NATIVE_GLX
#include <GLFW/glfw3.h>
#include <GLFW/glfw3native.h>

namespace voidskirmish::app {
namespace {

// Set and read on the main thread only: Xlib runs the handler inside the call whose request failed.
XErrorHandler previousHandler = nullptr;
XID watchedWindow = 0;
XID watchedDrawable = 0;
bool windowLost = false;

int onXError(Display* display, XErrorEvent* error) {
  const bool ours = error->resourceid == watchedWindow || error->resourceid == watchedDrawable;
  const bool gone = error->error_code == BadWindow || error->error_code == BadDrawable;
  // Once it is gone, GLX's own errors on the window (destroying its drawable) are expected too.
  if (ours && (gone || windowLost)) {
    windowLost = true;
    return 0;
  }
  return previousHandler(display, error);
}

}  // namespace

LostWindowWatch::LostWindowWatch(GLFWwindow* window) {
  watchedWindow = glfwGetX11Window(window);
  watchedDrawable = glfwGetGLXWindow(window);
  windowLost = false;
  previousHandler = XSetErrorHandler(onXError);
}

LostWindowWatch::~LostWindowWatch() { XSetErrorHandler(previousHandler); }

bool LostWindowWatch::lost() { return windowLost; }

}  // namespace voidskirmish::app
