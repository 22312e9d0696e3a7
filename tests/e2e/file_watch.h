// The moments a program finishes reading the files of one folder, seen through inotify: the end of
// reading the music tells from outside when the show's time starts.
#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class file_watch {
 public:
  // Starts watching `folder`; throws std::runtime_error when it cannot.
  explicit file_watch(const std::string& folder);
  ~file_watch();
  file_watch(const file_watch&) = delete;
  file_watch& operator=(const file_watch&) = delete;

  // When the file `name` of the folder was first closed after reading, if it was.
  std::optional<std::chrono::steady_clock::time_point> first_close(const std::string& name) const;

 private:
  void run();

  int inotify_fd_ = -1;
  int stop_fd_ = -1;
  mutable std::mutex mutex_;
  std::map<std::string, std::chrono::steady_clock::time_point> closed_;
  std::thread thread_;
};
