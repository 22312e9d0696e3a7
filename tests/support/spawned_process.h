// A program started by a test, as a process of its own: its standard output is collected line by
// line with the moment each line arrived, its standard error as text, and its end with the moment,
// the exit status and the peak memory it used. The one place the tests start programs from.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using test_clock = std::chrono::steady_clock;

struct launch_options {
  std::string program;
  std::vector<std::string> arguments;                            // after the program's name
  std::string working_folder;                                    // "" keeps the test's own
  std::vector<std::pair<std::string, std::string>> environment;  // set over the test's own
  std::vector<std::string> unset;  // taken out of the test's own environment
};

struct output_line {
  test_clock::time_point arrived;
  std::string text;
};

class spawned_process {
 public:
  // Starts the program at once; throws std::runtime_error when it cannot be started.
  explicit spawned_process(const launch_options& options);
  // Kills the program (and anything it started) if it is still running.
  ~spawned_process();
  spawned_process(const spawned_process&) = delete;
  spawned_process& operator=(const spawned_process&) = delete;

  test_clock::time_point started() const { return started_; }
  pid_t pid() const { return pid_; }

  // Waits up to `timeout` for a line of standard output that `wanted` accepts; lines that arrived
  // before the call count too.
  std::optional<output_line> wait_for_line(const std::function<bool(const std::string&)>& wanted,
                                           test_clock::duration timeout);
  std::vector<output_line> output_lines() const;
  std::string output_text() const;  // the standard output byte for byte, line ends and all
  std::string error_text() const;

  // Waits up to `timeout` for the program to end and its output to be read to the end; true when
  // it did.
  bool wait_for_end(test_clock::duration timeout);
  bool ended() const;
  test_clock::time_point ended_at() const;
  // The exit status, or -1 when a signal ended the program (see end_signal).
  int exit_status() const;
  int end_signal() const;
  long peak_resident_kb() const;  // the largest resident set the program had, in KiB

  // Kills the program (and anything it started) and waits until it has ended and its output is
  // read, so what it wrote before can still be looked at.
  void kill_and_wait();

 private:
  void kill_now();
  void read_output(int out_fd, int err_fd);
  void await_end();

  pid_t pid_ = -1;
  test_clock::time_point started_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<output_line> lines_;
  std::string partial_line_;
  std::string output_text_;
  std::string error_text_;
  bool output_done_ = false;
  bool ended_ = false;
  test_clock::time_point ended_at_;
  int status_ = 0;
  long peak_resident_kb_ = 0;
  std::thread reader_;
  std::thread waiter_;
};

// Runs a short helper program (xdotool, oggdec) to its end and returns its exit status; its output
// is dropped. Fails with -1 when it does not end within `timeout`.
int run_to_end(const launch_options& options, test_clock::duration timeout);
