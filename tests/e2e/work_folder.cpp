// Temporary folders with std::filesystem; the data files come from the build's data/ folder.
#include "work_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "demo_programs.h"

namespace fs = std::filesystem;

work_folder::work_folder(bool with_data) {
  std::string pattern = (fs::temp_directory_path() / "demo-e2e-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("cannot make a folder");
  path_ = buffer.data();
  if (!with_data) return;
  fs::create_directory(data_folder());
  for (const char* name : {kPictureName, kMusicName})
    fs::copy_file(std::string(kBuildDataFolder) + "/" + name, data_file(name));
}

work_folder::~work_folder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void work_folder::write_data_file(const std::string& name, const std::string& bytes) const {
  fs::create_directories(data_folder());
  std::ofstream out(data_file(name), std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + data_file(name));
}

void work_folder::remove_data_file(const std::string& name) const {
  fs::remove(data_file(name));
}

void work_folder::truncate_data_file(const std::string& name, long bytes) const {
  fs::resize_file(data_file(name), static_cast<std::uintmax_t>(bytes));
}

std::string work_folder::copy_program(const std::string& program) const {
  const std::string copy = path_ + "/" + fs::path(program).filename().string();
  fs::copy_file(program, copy);
  return copy;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}
