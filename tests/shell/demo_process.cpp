// Scratch installations and child processes for the start-up tests.
#include "demo_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(100);

std::string read_whole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

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
  std::vector<std::string> variables;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry(*e);
    if (environment.count(entry.substr(0, entry.find('='))) == 0) variables.push_back(entry);
  }
  for (const auto& [name, value] : environment) {
    if (!value.empty()) variables.push_back(name + "=" + value);
  }
  std::vector<char*> envp;
  for (std::string& v : variables) envp.push_back(v.data());
  envp.push_back(nullptr);

  const std::string out_path = install.root() + "/stdout.txt";
  const std::string err_path = install.root() + "/stderr.txt";
  const std::string program = install.program();
  const std::string dir = install.working_dir();

  const pid_t pid = fork();
  if (pid == 0) {
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int none = open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || none < 0 || chdir(dir.c_str()) != 0) _exit(127);
    dup2(none, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    execve(program.c_str(), argv, envp.data());
    _exit(127);
  }

  demo_result result;
  if (pid < 0) return result;
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                            std::chrono::duration<double>(limit_seconds));
  int status = 0;
  while (true) {
    if (waitpid(pid, &status, WNOHANG) == pid) {
      result.finished = true;
      break;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    poke(pid);
    std::this_thread::sleep_for(kPollInterval);
  }
  if (result.finished && WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
  if (result.finished && WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.out = read_whole(out_path);
  result.err = read_whole(err_path);
  return result;
}
