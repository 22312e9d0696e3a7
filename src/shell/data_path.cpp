// Data file look-up.
#include "shell/data_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

namespace {

constexpr char kDataFolder[] = "data/";  // relative to the working directory

}  // namespace

std::string program_folder() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "";
  path[n] = '\0';
  std::string folder(path);
  const size_t slash = folder.rfind('/');
  return slash == std::string::npos ? "" : folder.substr(0, slash + 1);
}

std::vector<std::string> data_file_candidates(const std::string& name) {
  std::vector<std::string> places{kDataFolder + name};
  const std::string beside = program_folder();
  if (!beside.empty()) places.push_back(beside + kDataFolder + name);
  return places;
}

std::string first_existing(const std::vector<std::string>& candidates) {
  for (const std::string& place : candidates) {
    struct stat st;
    if (stat(place.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return place;
  }
  return "";
}

std::string join_places(const std::vector<std::string>& places) {
  std::string joined;
  for (size_t i = 0; i < places.size(); ++i) {
    if (i > 0) joined += i + 1 == places.size() ? " and " : ", ";
    joined += places[i];
  }
  return joined;
}
