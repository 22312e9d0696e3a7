// Starting a helper program with posix_spawnp and talking to it through pipes.
#include "capture/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

extern char** environ;

namespace {

constexpr size_t kKeptErrorBytes = 4096;  // enough for the first few lines of a message
constexpr int kSignalStatusBase = 128;    // exit status of a program ended by a signal, as in sh

void close_fd(int* fd) {
  if (*fd >= 0) close(*fd);
  *fd = -1;
}

}  // namespace

child_process::~child_process() {
  stop();
}

bool child_process::start(const std::vector<std::string>& argv, std::string* error,
                          int* errno_value) {
  signal(SIGPIPE, SIG_IGN);  // a program that has gone makes write fail with EPIPE instead
  int input_pipe[2];
  int error_pipe[2];
  if (pipe2(input_pipe, O_CLOEXEC) != 0) {
    *errno_value = errno;
    *error = std::strerror(errno);
    return false;
  }
  if (pipe2(error_pipe, O_CLOEXEC) != 0) {
    *errno_value = errno;
    *error = std::strerror(errno);
    close(input_pipe[0]);
    close(input_pipe[1]);
    return false;
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input_pipe[0], STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, error_pipe[1], STDERR_FILENO);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
  posix_spawnattr_setpgroup(&attributes, 0);  // a group of its own: no terminal signals
  sigset_t as_usual;                          // the program gets SIGPIPE's usual handling back
  sigemptyset(&as_usual);
  sigaddset(&as_usual, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &as_usual);

  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  const int result = posix_spawnp(&pid_, args[0], &actions, &attributes, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(input_pipe[0]);
  close(error_pipe[1]);
  if (result != 0) {
    pid_ = -1;
    close(input_pipe[1]);
    close(error_pipe[0]);
    *errno_value = result;
    *error = std::strerror(result);
    return false;
  }
  input_ = input_pipe[1];
  errors_ = error_pipe[0];
  // Neither end may block: write waits on both at once.
  fcntl(input_, F_SETFL, fcntl(input_, F_GETFL) | O_NONBLOCK);
  fcntl(errors_, F_SETFL, fcntl(errors_, F_GETFL) | O_NONBLOCK);
  return true;
}

bool child_process::write(const void* data, size_t size) {
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    collect_errors(false);  // a program blocked on a full error pipe would never read on
    pollfd ready[2] = {{input_, POLLOUT, 0}, {errors_, POLLIN, 0}};
    if (poll(ready, errors_ >= 0 ? 2 : 1, -1) < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if ((ready[0].revents & (POLLOUT | POLLERR | POLLHUP)) == 0) continue;
    const ssize_t n = ::write(input_, bytes, size);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return false;  // EPIPE: the program has gone
    }
    bytes += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

int child_process::finish() {
  close_fd(&input_);
  collect_errors(true);
  if (pid_ < 0) return -1;
  int status = 0;
  pid_t waited;
  do {
    waited = waitpid(pid_, &status, 0);
  } while (waited < 0 && errno == EINTR);
  pid_ = -1;
  if (waited < 0) return -1;
  if (WIFSIGNALED(status)) return kSignalStatusBase + WTERMSIG(status);
  return WEXITSTATUS(status);
}

void child_process::stop() {
  if (pid_ >= 0) kill(pid_, SIGKILL);
  finish();
  close_fd(&errors_);
}

std::string child_process::first_error_line() const {
  const size_t start = error_text_.find_first_not_of("\r\n \t");
  if (start == std::string::npos) return "";
  const size_t end = error_text_.find_first_of("\r\n", start);
  return error_text_.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void child_process::collect_errors(bool until_end) {
  if (errors_ < 0) return;
  if (until_end) fcntl(errors_, F_SETFL, fcntl(errors_, F_GETFL) & ~O_NONBLOCK);
  char buffer[1024];
  for (;;) {
    const ssize_t n = read(errors_, buffer, sizeof buffer);
    if (n > 0) {
      const size_t room = kKeptErrorBytes - std::min(kKeptErrorBytes, error_text_.size());
      error_text_.append(buffer, std::min(room, static_cast<size_t>(n)));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) close_fd(&errors_);  // the program has closed its end
    return;                          // nothing more for now (EAGAIN) or for good
  }
}
