// Scratch installations for the start-up tests, and the window program run in one through the
// tests' process runner.
#include "demo_process.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "support/spawned_process.h"

namespace fs = std::filesystem;

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(100);  // how often `poke` is called

}  // namespace

scratch_install::scratch_install() {
  std::string pattern = (fs::temp_directory_path() / "demo-start-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  fs::create_directories(root_ + "/bin");
  fs::create_directories(root_ + "/run");
  fs::copy_file(DEMO_WINDOW_PROGRAM, program());
}

scratch_install::~scratch_install() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

void scratch_install::write(const std::string& relative, const std::string& bytes) const {
  const fs::path path = fs::path(working_dir()) / relative;
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

void scratch_install::copy_data(const std::string& name) const {
  fs::create_directories(working_dir() + "/data");
  fs::copy_file(fs::path(DEMO_DATA_FOLDER) / name, fs::path(working_dir()) / "data" / name);
}

demo_result run_demo(const scratch_install& install,
                     const std::map<std::string, std::string>& environment, double limit_seconds,
                     const std::function<void(pid_t)>& poke) {
  launch_options options{install.program(), {}, install.working_dir(), {}, {}};
  for (const auto& [name, value] : environment) {
    if (value.empty()) {
      options.unset.push_back(name);
    } else {
      options.environment.emplace_back(name, value);
    }
  }
  spawned_process demo(options);
  const test_clock::time_point deadline =
      demo.started() + std::chrono::duration_cast<test_clock::duration>(
                           std::chrono::duration<double>(limit_seconds));
  demo_result result;
  for (;;) {
    if (demo.wait_for_end(test_clock::duration::zero())) {
      result.finished = true;
      break;
    }
    if (test_clock::now() > deadline) {
      demo.kill_and_wait();
      break;
    }
    poke(demo.pid());
    if (demo.wait_for_end(kPollInterval)) {
      result.finished = true;
      break;
    }
  }
  if (result.finished) {
    result.exit_status = demo.exit_status();
    result.signal = demo.end_signal();
  }
  result.out = demo.output_text();
  result.err = demo.error_text();
  return result;
}
