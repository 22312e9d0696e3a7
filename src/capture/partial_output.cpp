// Temporary names and removal of output.
#include "capture/partial_output.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

std::string partial_name(const std::string& path) {
  return path + ".partial-" + std::to_string(getpid());
}

void remove_output(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

std::string without_trailing_slashes(const std::string& path) {
  const size_t end = path.find_last_not_of('/');
  return end == std::string::npos ? path.substr(0, 1) : path.substr(0, end + 1);
}
