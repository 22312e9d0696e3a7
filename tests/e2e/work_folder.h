// A private working folder for one run of the demo: a data/ folder holding copies of the build's
// picture and music (which a test may then spoil or replace), removed again at the end. Runs that
// share nothing can go in parallel, and the file watch sees only its own run's reads.
#pragma once

#include <string>

class work_folder {
 public:
  // A new folder under the temporary directory; with `with_data`, data/ holds the build's files.
  explicit work_folder(bool with_data = true);
  ~work_folder();
  work_folder(const work_folder&) = delete;
  work_folder& operator=(const work_folder&) = delete;

  const std::string& path() const { return path_; }
  std::string data_folder() const { return path_ + "/data"; }
  std::string data_file(const std::string& name) const { return data_folder() + "/" + name; }

  void write_data_file(const std::string& name, const std::string& bytes) const;
  void remove_data_file(const std::string& name) const;
  // Cuts the data file `name` down to its first `bytes` bytes.
  void truncate_data_file(const std::string& name, long bytes) const;
  // Copies the program at `program` into the folder (without its data) and returns the copy's path.
  std::string copy_program(const std::string& program) const;

 private:
  std::string path_;
};

// The whole content of the file at `path`; throws std::runtime_error when it cannot be read.
std::string read_file(const std::string& path);
