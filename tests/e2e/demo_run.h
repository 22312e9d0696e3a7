// One run of the demo as a test sees it: the program started in a private working folder on a
// private X server, its progress lines read back, its keys pressed from outside and the moments
// its data files were read.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "file_watch.h"
#include "support/spawned_process.h"
#include "work_folder.h"

using namespace std::chrono_literals;

// One "FPS: N" line and the "Seconds: S" line after it.
struct progress_pair {
  test_clock::time_point arrived;  // when the Seconds line arrived
  int fps;
  int seconds;
};

// The progress pairs in `lines`. Sets `problem` to a description of the first line that is not
// part of a pair in the right order, and leaves it empty when all are.
std::vector<progress_pair> progress_pairs(const std::vector<output_line>& lines,
                                          std::string* problem);

// The lines of `text` (a final line without its newline counts too).
std::vector<std::string> lines_of(const std::string& text);

// Options for the sanitized programs: a report goes to standard error and ends the run; findings
// in libraries may be suppressed in tests/e2e/asan.supp.
std::vector<std::pair<std::string, std::string>> sanitizer_environment();

// The sanitized build's copy of a program ("demo_window"), or "" when the build was given none;
// throws std::runtime_error when the copy there is missing or not built with the sanitizers.
std::string sanitized_program(const std::string& name);

class demo_run {
 public:
  // Starts `program` with `folder` as working folder on `display`, with SDL's dummy audio driver
  // unless `extra` says otherwise; `extra` is applied over the test's environment last.
  demo_run(const std::string& program, const std::string& display, const work_folder& folder,
           std::vector<std::pair<std::string, std::string>> extra = {});

  spawned_process& process() { return *process_; }
  // The reads of the working folder's data files (none when it has no data/ folder).
  const file_watch* files() const { return watch_.get(); }
  const std::string& display() const { return display_; }

  // Waits until the first progress pair has been written: the show is running frames by then.
  bool wait_until_running(test_clock::duration timeout = 30s);

  // Presses (down = true) or releases the key `key` (an X key name) with xdotool; returns the
  // moment xdotool finished sending it.
  test_clock::time_point key(const std::string& key, bool down);

  // Holds Escape down until the run ends, for at most `timeout`, then lets it go; true when the run
  // ended. The program looks at Escape as a key state once a frame, so a press shorter than a frame
  // can pass unseen when frames are slow: the key stays down until the program has seen it.
  bool leave_with_escape(test_clock::duration timeout = 20s);

 private:
  std::string display_;
  std::unique_ptr<file_watch> watch_;
  std::unique_ptr<spawned_process> process_;
};
