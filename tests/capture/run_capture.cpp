// Running demo_capture and looking at its output.
#include "run_capture.h"

#include <SDL/SDL_image.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// `text` in single quotes for the shell.
std::string quoted(const std::string& text) {
  std::string q = "'";
  for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace

capture_run run_capture(const std::vector<std::string>& args, const std::string& shell_prefix) {
  const scratch_folder logs;
  const std::string errors_file = logs.path() + "/stderr";
  std::string command = shell_prefix + quoted(DEMO_CAPTURE_PROGRAM);
  for (const std::string& arg : args) command += " " + quoted(arg);
  command += " 2>" + quoted(errors_file) + " >/dev/null";
  const int status = std::system(command.c_str());
  capture_run run;
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.errors = file_bytes(errors_file);
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
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[256];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  pclose(pipe);
  return output;
}
