// A helper program fed through a pipe: its standard input is ours to write, its standard output
// goes to /dev/null and its standard error is kept, so a failure can be told in one line. It runs
// in a process group of its own, so a Ctrl-C at the terminal reaches only the capture, which then
// stops the helper itself.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class child_process {
 public:
  child_process() = default;
  ~child_process();  // stops the program if it still runs
  child_process(const child_process&) = delete;
  child_process& operator=(const child_process&) = delete;

  // Starts argv[0], looked up on PATH. Returns false with a reason in `error`; errno_value is
  // ENOENT when the program is not there. From here on the process ignores SIGPIPE.
  bool start(const std::vector<std::string>& argv, std::string* error, int* errno_value);

  // Writes all of `data` to the program's input. False once the program has stopped reading.
  bool write(const void* data, size_t size);

  // Closes the input, waits for the program to end and returns its exit status (128 + signal when
  // a signal ended it, −1 when it could not be waited for).
  int finish();

  // Ends the program at once and waits for it.
  void stop();

  // The first line the program wrote on its standard error, or "".
  std::string first_error_line() const;

 private:
  void collect_errors(bool until_end);

  pid_t pid_ = -1;
  int input_ = -1;
  int errors_ = -1;
  std::string error_text_;  // the start of what came on standard error
};
