// Xvfb started with -displayfd: the server writes the display number it chose on the descriptor
// once it accepts connections, so the test never guesses a number or sleeps.
#include "x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

namespace {

constexpr int kDisplayFd = 3;              // the descriptor Xvfb reports its number on
constexpr int kStartTimeoutMs = 30000;     // a loaded machine can take seconds to start Xvfb
constexpr int kFirstUnusedCandidate = 99;  // well above the numbers desktops use
constexpr int kLastUnusedCandidate = 999;

bool exists(const std::string& path) {
  return access(path.c_str(), F_OK) == 0;
}

}  // namespace

x_server::x_server(const std::string& screen) {
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0)
    throw std::runtime_error(std::string("cannot make a pipe: ") + std::strerror(errno));
  const int null_fd = open("/dev/null", O_RDWR | O_CLOEXEC);
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error(std::string("cannot fork: ") + std::strerror(errno));
  if (pid_ == 0) {
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // the server goes with the test, however the test ends
    if (getppid() == 1) _exit(1);
    if (report[1] == kDisplayFd) {
      fcntl(kDisplayFd, F_SETFD, 0);
    } else {
      dup2(report[1], kDisplayFd);
    }
    dup2(null_fd, 0);
    dup2(null_fd, 1);
    dup2(null_fd, 2);
    execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", screen.c_str(), "-nolisten", "tcp",
           "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(null_fd);
  close(report[1]);

  std::string number;
  pollfd p{report[0], POLLIN, 0};
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
  while (number.find('\n') == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char c[16];
    const ssize_t n = read(report[0], c, sizeof c);
    if (n <= 0) break;
    number.append(c, static_cast<size_t>(n));
  }
  close(report[0]);
  if (number.find('\n') == std::string::npos) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    throw std::runtime_error("Xvfb did not start (screen " + screen + ")");
  }
  display_ = ":" + number.substr(0, number.find('\n'));
}

x_server::~x_server() {
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

std::string unused_display() {
  for (int n = kFirstUnusedCandidate; n <= kLastUnusedCandidate; ++n) {
    const std::string number = std::to_string(n);
    if (!exists("/tmp/.X11-unix/X" + number) && !exists("/tmp/.X" + number + "-lock"))
      return ":" + number;
  }
  throw std::runtime_error("no unused display number");
}
