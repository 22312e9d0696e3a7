// Running the window program as a real process: a scratch folder laid out like an installation
// (the program in bin/, the working directory run/), its environment, and its exit status and
// output.
#pragma once

#include <sys/types.h>

#include <functional>
#include <map>
#include <string>

// A fresh folder under the system's temporary directory, removed with everything in it when the
// object goes. It holds bin/ with a copy of the window program, and run/, the working directory.
class scratch_install {
 public:
  scratch_install();
  ~scratch_install();
  scratch_install(const scratch_install&) = delete;
  scratch_install& operator=(const scratch_install&) = delete;

  std::string root() const { return root_; }
  std::string program() const { return root_ + "/bin/demo_window"; }
  std::string working_dir() const { return root_ + "/run"; }
  // Writes `bytes` to `relative` under run/, creating folders on the way.
  void write(const std::string& relative, const std::string& bytes) const;
  // Copies one of the build's data files (Devil-goat.png, organ.ogg) into run/data/.
  void copy_data(const std::string& name) const;

 private:
  std::string root_;
};

struct demo_result {
  bool finished = false;  // false when it had to be killed after the time limit
  int exit_status = -1;   // when it exited normally
  int signal = 0;         // when a signal ended it
  std::string out;        // standard output
  std::string err;        // standard error
};

// Runs `install`'s program in its working directory with the current environment changed by
// `environment` (a value of "" unsets the variable) and waits up to `limit_seconds` for it.
// While it runs, `poke(pid)` is called every 100 ms.
demo_result run_demo(
    const scratch_install& install, const std::map<std::string, std::string>& environment,
    double limit_seconds, const std::function<void(pid_t)>& poke = [](pid_t) {});
