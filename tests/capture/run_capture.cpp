// Running demo_capture (and the shell commands that look at what it made) through the tests'
// process runner, and looking at its output.
#include "run_capture.h"

#include <SDL/SDL_image.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "support/spawned_process.h"

namespace {

// Nothing here runs near this long (a capture of a second of show, an ffmpeg probe); it only
// keeps a stuck program from holding the test until ctest gives up on it.
constexpr auto kCommandLimit = std::chrono::minutes(10);

// A shell line run by /bin/sh, as std::system and popen run it.
launch_options shell_line(const std::string& command) {
  return launch_options{"/bin/sh", {"-c", command}, "", {}, {}};
}

// `text` in single quotes for the shell.
std::string quoted(const std::string& text) {
  std::string q = "'";
  for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace

capture_run run_capture(const std::vector<std::string>& args, const std::string& shell_prefix) {
  std::string command = shell_prefix + quoted(DEMO_CAPTURE_PROGRAM);
  for (const std::string& arg : args) command += " " + quoted(arg);
  spawned_process capture(shell_line(command));
  capture_run run;
  run.exit_code = capture.wait_for_end(kCommandLimit) ? capture.exit_status() : -1;
  run.errors = capture.error_text();
  return run;
}

std::vector<std::string> lines_starting_with(const std::string& text, const std::string& prefix) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
  }
  return lines;
}

scratch_folder::scratch_folder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "demo-capture-test-XXXXXX");
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

scratch_folder::~scratch_folder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> folder_entries(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<Uint8> png_rgb(const std::string& path) {
  SDL_Surface* loaded = IMG_Load(path.c_str());
  if (loaded == nullptr) return {};
  std::vector<Uint8> rgb;
  if (loaded->format->BytesPerPixel == 3) {
    const Uint8* pixels = static_cast<const Uint8*>(loaded->pixels);
    for (int y = 0; y < loaded->h; ++y) {
      rgb.insert(rgb.end(), pixels + y * loaded->pitch, pixels + y * loaded->pitch + loaded->w * 3);
    }
  }
  SDL_FreeSurface(loaded);
  return rgb;
}

std::string command_output(const std::string& command) {
  spawned_process shell(shell_line(command));
  shell.wait_for_end(kCommandLimit);
  return shell.output_text();
}
