// Running demo_capture from a test, and reading what it leaves behind.
#pragma once

#include <SDL/SDL.h>

#include <string>
#include <vector>

struct capture_run {
  int exit_code;
  std::string errors;  // everything it wrote on standard error
};

// Runs demo_capture with `args`. `shell_prefix` goes before the command in the shell line:
// "ulimit -f 64; " or "env PATH=/nonexistent ".
capture_run run_capture(const std::vector<std::string>& args, const std::string& shell_prefix = "");

// The lines of `text` that start with `prefix`.
std::vector<std::string> lines_starting_with(const std::string& text, const std::string& prefix);

// A new empty folder under the system's temporary folder, removed with everything in it when the
// object goes.
class scratch_folder {
 public:
  scratch_folder();
  ~scratch_folder();
  scratch_folder(const scratch_folder&) = delete;
  scratch_folder& operator=(const scratch_folder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The names in `folder`, sorted.
std::vector<std::string> folder_entries(const std::string& folder);

// The whole file as bytes ("" when it cannot be read).
std::string file_bytes(const std::string& path);

// A PNG file's pixels as RGB bytes, top row first; empty when it cannot be loaded.
std::vector<Uint8> png_rgb(const std::string& path);

// The standard output of a shell command.
std::string command_output(const std::string& command);
