// A private X server (Xvfb) for one test, with the screen size the test needs, on a display number
// the server picks itself among the free ones.
#pragma once

#include <sys/types.h>

#include <string>

class x_server {
 public:
  // Starts Xvfb with one screen of `screen` ("1024x768x24") and waits until it takes connections;
  // throws std::runtime_error when it does not come up.
  explicit x_server(const std::string& screen);
  ~x_server();
  x_server(const x_server&) = delete;
  x_server& operator=(const x_server&) = delete;

  const std::string& display() const { return display_; }  // ":N"

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// A display name that nothing answers on: the first number from 99 up with neither a socket nor a
// lock file of a running server.
std::string unused_display();
