// Plain Xlib: XQueryTree for the windows, XGetImage for the pixels, XFixesGetCursorImage for the
// cursor, and an XSendEvent client message for the close request.
#include "x_client.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

namespace {

constexpr auto kWindowPollPeriod = std::chrono::milliseconds(20);
constexpr unsigned long kAlphaMask = 0xFF000000u;  // XFixes cursor pixels are 0xAARRGGBB
constexpr int kLightest = 0x1F;                    // channels above this count as light
constexpr int kGreySpread = 0x11;                  // channels closer than this count as colourless

bool accepts_close(Display* display, Window window) {
  const Atom delete_window = XInternAtom(display, "WM_DELETE_WINDOW", False);
  Atom* protocols = nullptr;
  int count = 0;
  bool found = false;
  if (XGetWMProtocols(display, window, &protocols, &count) != 0) {
    for (int i = 0; i < count; ++i) found = found || protocols[i] == delete_window;
    XFree(protocols);
  }
  return found;
}

// Windows come and go while the test looks at them (SDL makes and drops a few while it starts):
// a request about a window that is gone fails, and the caller sees the failure in its result,
// instead of Xlib's default handler ending the test.
int ignore_x_error(Display*, XErrorEvent*) {
  return 0;
}

}  // namespace

double share_of_light_grey(const screen_image& image) {
  if (image.pixels.empty()) return 0;
  size_t count = 0;
  for (const uint32_t p : image.pixels) {
    const int r = (p >> 16) & 0xFF;
    const int g = (p >> 8) & 0xFF;
    const int b = p & 0xFF;
    const int low = std::min({r, g, b});
    const int high = std::max({r, g, b});
    count += low > kLightest && high - low < kGreySpread;
  }
  return static_cast<double>(count) / image.pixels.size();
}

x_client::x_client(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
  if (display_ == nullptr) throw std::runtime_error("cannot connect to X display " + display);
  XSetErrorHandler(ignore_x_error);
}

x_client::~x_client() {
  XCloseDisplay(display_);
}

int x_client::screen_width() const {
  return DisplayWidth(display_, DefaultScreen(display_));
}

int x_client::screen_height() const {
  return DisplayHeight(display_, DefaultScreen(display_));
}

std::vector<window_box> x_client::windows_on_screen() {
  std::vector<window_box> result;
  Window root_return, parent;
  Window* children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(display_, DefaultRootWindow(display_), &root_return, &parent, &children, &count) ==
      0)
    return result;
  for (unsigned int i = 0; i < count; ++i) {
    XWindowAttributes a;
    if (XGetWindowAttributes(display_, children[i], &a) == 0 || a.map_state != IsViewable) continue;
    result.push_back({children[i], a.x, a.y, a.width, a.height, a.override_redirect != 0,
                      accepts_close(display_, children[i])});
  }
  if (children != nullptr) XFree(children);
  return result;
}

std::optional<window_box> x_client::wait_for_window(std::chrono::milliseconds timeout,
                                                    int min_width, int min_height) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  do {
    std::optional<window_box> largest;
    for (const window_box& w : windows_on_screen()) {
      if (w.width < min_width || w.height < min_height) continue;
      if (!largest || w.width * w.height > largest->width * largest->height) largest = w;
    }
    if (largest) return largest;
    std::this_thread::sleep_for(kWindowPollPeriod);
  } while (std::chrono::steady_clock::now() < deadline);
  return std::nullopt;
}

bool x_client::cursor_invisible() {
  int event_base, error_base;
  if (!XFixesQueryExtension(display_, &event_base, &error_base))
    throw std::runtime_error("the X server has no XFixes extension");
  XFixesCursorImage* cursor = XFixesGetCursorImage(display_);
  if (cursor == nullptr) throw std::runtime_error("cannot read the cursor image");
  bool invisible = true;
  for (size_t i = 0; i < static_cast<size_t>(cursor->width) * cursor->height; ++i)
    invisible = invisible && (cursor->pixels[i] & kAlphaMask) == 0;
  XFree(cursor);
  return invisible;
}

screen_image x_client::grab_screen() {
  screen_image image;
  image.width = screen_width();
  image.height = screen_height();
  XImage* x = XGetImage(display_, DefaultRootWindow(display_), 0, 0, image.width, image.height,
                        AllPlanes, ZPixmap);
  if (x == nullptr) throw std::runtime_error("cannot read the screen");
  image.pixels.resize(static_cast<size_t>(image.width) * image.height);
  for (int y = 0; y < image.height; ++y)
    for (int col = 0; col < image.width; ++col)
      image.pixels[static_cast<size_t>(y) * image.width + col] =
          static_cast<uint32_t>(XGetPixel(x, col, y) & 0x00FFFFFFu);
  XDestroyImage(x);
  return image;
}

void x_client::request_close(const window_box& window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window.id;
  event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window.id, False, NoEventMask, &event);
  XSync(display_, False);
}

void x_client::move_pointer(int x, int y) {
  XWarpPointer(display_, None, DefaultRootWindow(display_), 0, 0, 0, 0, x, y);
  XFlush(display_);
}
