// The test's own connection to an X server: finds the windows on screen, reads the screen's pixels
// and the cursor, and asks a window to close the way a window manager does.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct window_box {
  unsigned long id;
  int x, y, width, height;
  bool override_redirect;  // placed by the program itself (SDL's full-screen window)
  bool takes_close;        // accepts WM_DELETE_WINDOW
};

struct screen_image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first
};

// The share of the screen's pixels that are light and colourless (all channels above 0x1F and
// within 0x11 of each other): a white picture shown on the show's lit panels, which the show's own
// picture and its coloured laser lines hardly ever give.
double share_of_light_grey(const screen_image& image);

class x_client {
 public:
  // Connects to `display`; throws std::runtime_error when it cannot.
  explicit x_client(const std::string& display);
  ~x_client();
  x_client(const x_client&) = delete;
  x_client& operator=(const x_client&) = delete;

  int screen_width() const;
  int screen_height() const;

  // The top-level windows now on screen (mapped and viewable).
  std::vector<window_box> windows_on_screen();
  // Waits up to `timeout` for a window of at least `min_width` × `min_height` to appear on
  // screen; the largest one.
  std::optional<window_box> wait_for_window(std::chrono::milliseconds timeout, int min_width,
                                            int min_height);

  // True when the cursor the server shows now has no visible pixel (read with XFixes).
  bool cursor_invisible();
  // The screen's pixels, as the server holds them.
  screen_image grab_screen();

  // Sends `window` the close request (WM_PROTOCOLS / WM_DELETE_WINDOW) a window manager sends
  // when the user clicks the close button.
  void request_close(const window_box& window);
  void move_pointer(int x, int y);

 private:
  struct _XDisplay* display_;
};
