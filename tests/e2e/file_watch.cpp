// One thread blocks in poll on the inotify descriptor and an eventfd that stops it; each event is
// stamped the moment it is read.
#include "file_watch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

constexpr size_t kEventBuffer = 16 * 1024;  // room for many events with their names

}  // namespace

file_watch::file_watch(const std::string& folder)
    : inotify_fd_(inotify_init1(IN_CLOEXEC)), stop_fd_(eventfd(0, EFD_CLOEXEC)) {
  if (inotify_fd_ < 0 || stop_fd_ < 0 ||
      inotify_add_watch(inotify_fd_, folder.c_str(), IN_CLOSE_NOWRITE) < 0)
    throw std::runtime_error("cannot watch " + folder + ": " + std::strerror(errno));
  thread_ = std::thread(&file_watch::run, this);
}

file_watch::~file_watch() {
  const uint64_t one = 1;
  if (write(stop_fd_, &one, sizeof one) < 0) {
  }
  thread_.join();
  close(inotify_fd_);
  close(stop_fd_);
}

void file_watch::run() {
  alignas(inotify_event) char buffer[kEventBuffer];
  pollfd fds[2] = {{inotify_fd_, POLLIN, 0}, {stop_fd_, POLLIN, 0}};
  for (;;) {
    if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
    if (fds[1].revents != 0) return;
    if (fds[0].revents == 0) continue;
    const ssize_t n = read(inotify_fd_, buffer, sizeof buffer);
    if (n <= 0) continue;
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard<std::mutex> lock(mutex_);
    for (ssize_t at = 0; at < n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
      if (e->len > 0 && (e->mask & IN_CLOSE_NOWRITE) != 0) closed_.emplace(e->name, now);
      at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
    }
  }
}

std::optional<std::chrono::steady_clock::time_point> file_watch::first_close(
    const std::string& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = closed_.find(name);
  if (found == closed_.end()) return std::nullopt;
  return found->second;
}
