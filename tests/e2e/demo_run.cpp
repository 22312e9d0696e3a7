// Starting the demo for a test, reading its progress pairs, and pressing its keys with xdotool.
#include "demo_run.h"

#include <unistd.h>

#include <regex>
#include <sstream>
#include <stdexcept>

#include "demo_programs.h"

namespace {

constexpr auto kKeyTimeout = 10s;  // xdotool normally needs a few milliseconds

}  // namespace

std::vector<progress_pair> progress_pairs(const std::vector<output_line>& lines,
                                          std::string* problem) {
  static const std::regex fps_line("FPS: (\\d+)");
  static const std::regex seconds_line("Seconds: (\\d+)");
  std::vector<progress_pair> pairs;
  problem->clear();
  std::smatch m;
  for (size_t i = 0; i < lines.size(); i += 2) {
    if (!std::regex_match(lines[i].text, m, fps_line)) {
      *problem = "line " + std::to_string(i + 1) + " is not an FPS line: \"" + lines[i].text + "\"";
      break;
    }
    const int fps = std::stoi(m[1]);
    if (i + 1 >= lines.size() || !std::regex_match(lines[i + 1].text, m, seconds_line)) {
      *problem = "line " + std::to_string(i + 2) + " is not the Seconds line after an FPS line";
      break;
    }
    pairs.push_back({lines[i + 1].arrived, fps, std::stoi(m[1])});
  }
  return pairs;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::pair<std::string, std::string>> sanitizer_environment() {
  const std::string folder = kTestFolder;
  return {
      // The show releases its surfaces, music and GL objects only with the process, on purpose:
      // leak reports would list those, so leak checking is off (memory errors are what counts).
      {"ASAN_OPTIONS", "detect_leaks=0:halt_on_error=1:suppressions=" + folder + "/asan.supp"},
      // UndefinedBehaviorSanitizer sees only our own code (the libraries are not instrumented),
      // so it has nothing to suppress.
      {"UBSAN_OPTIONS", "print_stacktrace=1:halt_on_error=1"},
  };
}

std::string sanitized_program(const std::string& name) {
  if (std::string(kSanitizedBuild).empty()) return "";
  const std::string path = std::string(kSanitizedBuild) + "/" + name;
  if (access(path.c_str(), X_OK) != 0) throw std::runtime_error("no program at " + path);
  if (read_file(path).find("__asan_init") == std::string::npos)
    throw std::runtime_error(path + " is not built with AddressSanitizer");
  return path;
}

demo_run::demo_run(const std::string& program, const std::string& display,
                   const work_folder& folder,
                   std::vector<std::pair<std::string, std::string>> extra)
    : display_(display) {
  if (access(folder.data_folder().c_str(), F_OK) == 0)
    watch_ = std::make_unique<file_watch>(folder.data_folder());
  launch_options options;
  options.program = program;
  options.working_folder = folder.path();
  options.environment = {{"DISPLAY", display}, {"SDL_AUDIODRIVER", "dummy"}};
  for (auto& setting : extra) {
    bool replaced = false;
    for (auto& existing : options.environment)
      if (existing.first == setting.first) existing.second = setting.second, replaced = true;
    if (!replaced) options.environment.push_back(setting);
  }
  process_ = std::make_unique<spawned_process>(options);
}

bool demo_run::wait_until_running(test_clock::duration timeout) {
  return process_
      ->wait_for_line([](const std::string& line) { return line.rfind("Seconds: ", 0) == 0; },
                      timeout)
      .has_value();
}

test_clock::time_point demo_run::key(const std::string& key, bool down) {
  launch_options options;
  options.program = "xdotool";
  options.arguments = {down ? "keydown" : "keyup", key};
  options.environment = {{"DISPLAY", display_}};
  if (run_to_end(options, kKeyTimeout) != 0) throw std::runtime_error("xdotool failed");
  return test_clock::now();
}

bool demo_run::leave_with_escape(test_clock::duration timeout) {
  key("Escape", true);
  const bool ended = process_->wait_for_end(timeout);
  key("Escape", false);
  return ended;
}
