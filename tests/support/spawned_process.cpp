// Starting a program with fork and exec, reading its two output pipes on one thread and waiting
// for its end on another, so a test can watch the output while the program runs and learn the
// moment it ended.
#include "support/spawned_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace {

constexpr size_t kReadChunk = 4096;  // bytes taken from a pipe at a time

// The test's environment with `options`' changes applied, as "NAME=value" strings.
std::vector<std::string> child_environment(const launch_options& options) {
  auto replaced = [&](const std::string& entry) {
    const std::string name = entry.substr(0, entry.find('='));
    for (const auto& gone : options.unset)
      if (name == gone) return true;
    for (const auto& [key, value] : options.environment)
      if (name == key) return true;
    return false;
  };
  std::vector<std::string> result;
  for (char** e = environ; *e != nullptr; ++e)
    if (!replaced(*e)) result.emplace_back(*e);
  for (const auto& [key, value] : options.environment) result.push_back(key + "=" + value);
  return result;
}

// `program` itself when it names a path, else the first match on PATH (resolved before the fork,
// where the child may only make async-signal-safe calls).
std::string resolve_program(const std::string& program) {
  if (program.find('/') != std::string::npos) return program;
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/bin:/bin";
  for (size_t start = 0; start <= folders.size();) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const std::string candidate = folders.substr(start, end - start) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return program;
}

std::vector<char*> pointers_to(std::vector<std::string>& strings) {
  std::vector<char*> result;
  for (auto& s : strings) result.push_back(s.data());
  result.push_back(nullptr);
  return result;
}

}  // namespace

spawned_process::spawned_process(const launch_options& options) {
  const std::string program = resolve_program(options.program);
  std::vector<std::string> argument_strings{options.program};
  argument_strings.insert(argument_strings.end(), options.arguments.begin(),
                          options.arguments.end());
  std::vector<std::string> environment_strings = child_environment(options);
  std::vector<char*> argv = pointers_to(argument_strings);
  std::vector<char*> envp = pointers_to(environment_strings);

  int out_pipe[2];
  int err_pipe[2];
  const int null_fd = open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (null_fd < 0 || pipe2(out_pipe, O_CLOEXEC) != 0 || pipe2(err_pipe, O_CLOEXEC) != 0)
    throw std::runtime_error(std::string("cannot make pipes: ") + std::strerror(errno));

  started_ = test_clock::now();
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error(std::string("cannot fork: ") + std::strerror(errno));
  if (pid_ == 0) {
    // The child: only async-signal-safe calls from here to exec.
    setpgid(0, 0);  // a group of its own, so the test can end everything it starts
    prctl(PR_SET_PDEATHSIG, SIGKILL);  // and the program goes with the test, however it ends
    if (getppid() == 1) _exit(126);
    if (!options.working_folder.empty() && chdir(options.working_folder.c_str()) != 0) _exit(126);
    dup2(null_fd, 0);
    dup2(out_pipe[1], 1);
    dup2(err_pipe[1], 2);
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  setpgid(pid_, pid_);
  close(null_fd);
  close(out_pipe[1]);
  close(err_pipe[1]);
  reader_ = std::thread(&spawned_process::read_output, this, out_pipe[0], err_pipe[0]);
  waiter_ = std::thread(&spawned_process::await_end, this);
}

spawned_process::~spawned_process() {
  if (!ended()) kill_now();
  if (waiter_.joinable()) waiter_.join();
  if (reader_.joinable()) reader_.join();
}

void spawned_process::kill_now() {
  if (pid_ > 0) kill(-pid_, SIGKILL);
}

void spawned_process::kill_and_wait() {
  if (!ended()) kill_now();
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return ended_ && output_done_; });
}

void spawned_process::read_output(int out_fd, int err_fd) {
  pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
  int open_count = 2;
  char buffer[kReadChunk];
  while (open_count > 0) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (pollfd& p : fds) {
      if (p.fd < 0 || p.revents == 0) continue;
      const ssize_t n = read(p.fd, buffer, sizeof buffer);
      if (n <= 0) {
        if (n < 0 && errno == EINTR) continue;
        close(p.fd);
        p.fd = -1;
        --open_count;
        continue;
      }
      const test_clock::time_point now = test_clock::now();
      std::lock_guard<std::mutex> lock(mutex_);
      if (p.fd == err_fd) {
        error_text_.append(buffer, static_cast<size_t>(n));
      } else {
        output_text_.append(buffer, static_cast<size_t>(n));
        partial_line_.append(buffer, static_cast<size_t>(n));
        for (size_t end; (end = partial_line_.find('\n')) != std::string::npos;) {
          lines_.push_back({now, partial_line_.substr(0, end)});
          partial_line_.erase(0, end + 1);
        }
      }
      changed_.notify_all();
    }
  }
  std::lock_guard<std::mutex> lock(mutex_);
  if (!partial_line_.empty()) lines_.push_back({test_clock::now(), partial_line_});
  output_done_ = true;
  changed_.notify_all();
}

void spawned_process::await_end() {
  int status = 0;
  rusage usage{};
  while (wait4(pid_, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  const test_clock::time_point now = test_clock::now();
  std::lock_guard<std::mutex> lock(mutex_);
  ended_ = true;
  ended_at_ = now;
  status_ = status;
  peak_resident_kb_ = usage.ru_maxrss;
  changed_.notify_all();
}

std::optional<output_line> spawned_process::wait_for_line(
    const std::function<bool(const std::string&)>& wanted, test_clock::duration timeout) {
  const test_clock::time_point deadline = test_clock::now() + timeout;
  std::unique_lock<std::mutex> lock(mutex_);
  size_t checked = 0;
  for (;;) {
    for (; checked < lines_.size(); ++checked)
      if (wanted(lines_[checked].text)) return lines_[checked];
    if (output_done_) return std::nullopt;
    if (changed_.wait_until(lock, deadline) == std::cv_status::timeout && checked == lines_.size())
      return std::nullopt;
  }
}

std::vector<output_line> spawned_process::output_lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

std::string spawned_process::output_text() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return output_text_;
}

std::string spawned_process::error_text() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return error_text_;
}

bool spawned_process::wait_for_end(test_clock::duration timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [this] { return ended_ && output_done_; });
}

bool spawned_process::ended() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ended_;
}

test_clock::time_point spawned_process::ended_at() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ended_at_;
}

int spawned_process::exit_status() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

int spawned_process::end_signal() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return WIFSIGNALED(status_) ? WTERMSIG(status_) : 0;
}

long spawned_process::peak_resident_kb() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return peak_resident_kb_;
}

int run_to_end(const launch_options& options, test_clock::duration timeout) {
  spawned_process helper(options);
  if (!helper.wait_for_end(timeout)) return -1;
  return helper.exit_status();
}
