// Finds a process's top-level window by its _NET_WM_PID property and sends the key press straight
// to the drawing window inside it, where SDL listens for keys.
#include "window_keys.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

// The value of `window`'s _NET_WM_PID property, or 0.
unsigned long window_pid(Display* display, Window window, Atom pid_atom) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  unsigned long pid = 0;
  if (XGetWindowProperty(display, window, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format,
                         &count, &remaining, &data) == Success &&
      data != nullptr) {
    if (type == XA_CARDINAL && format == 32 && count == 1) {
      pid = *reinterpret_cast<unsigned long*>(data);
    }
    XFree(data);
  }
  return pid;
}

// The first child of `window`, or None.
Window first_child(Display* display, Window window) {
  Window root = None;
  Window parent = None;
  Window* children = nullptr;
  unsigned int count = 0;
  Window child = None;
  if (XQueryTree(display, window, &root, &parent, &children, &count) && count > 0) {
    child = children[0];
  }
  if (children != nullptr) XFree(children);
  return child;
}

// The drawing window of `pid`'s top-level window, or None.
Window drawing_window_of(Display* display, pid_t pid) {
  const Atom pid_atom = XInternAtom(display, "_NET_WM_PID", True);
  if (pid_atom == None) return None;
  Window root = None;
  Window parent = None;
  Window* top = nullptr;
  unsigned int count = 0;
  Window found = None;
  if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &top, &count)) {
    for (unsigned int i = 0; i < count && found == None; ++i) {
      if (window_pid(display, top[i], pid_atom) == static_cast<unsigned long>(pid)) {
        found = first_child(display, top[i]);
      }
    }
  }
  if (top != nullptr) XFree(top);
  return found;
}

// Windows come and go while we look: a request about one that has gone is no reason to stop.
int ignore_x_errors(Display*, XErrorEvent*) {
  return 0;
}

}  // namespace

bool press_escape_in_window_of(pid_t pid) {
  XSetErrorHandler(ignore_x_errors);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  const Window target = drawing_window_of(display, pid);
  bool sent = false;
  if (target != None) {
    XEvent press{};
    press.xkey.type = KeyPress;
    press.xkey.display = display;
    press.xkey.window = target;
    press.xkey.root = DefaultRootWindow(display);
    press.xkey.subwindow = None;
    press.xkey.time = CurrentTime;
    press.xkey.same_screen = True;
    press.xkey.keycode = XKeysymToKeycode(display, XK_Escape);
    sent = XSendEvent(display, target, True, KeyPressMask, &press) != 0;
    XSync(display, False);
  }
  XCloseDisplay(display);
  return sent;
}
