// Temporary-name-then-rename file writing.
#include "atomic_file.h"

#include <filesystem>
#include <system_error>

bool write_file_atomically(const std::string& path,
                           const std::function<bool(const std::string&, std::string*)>& write,
                           std::string* error) {
  const std::string temp_path = path + ".tmp";
  std::error_code ignored;
  if (!write(temp_path, error)) {
    std::filesystem::remove(temp_path, ignored);
    return false;
  }
  std::error_code ec;
  std::filesystem::rename(temp_path, path, ec);
  if (ec) {
    *error = ec.message();
    std::filesystem::remove(temp_path, ignored);
    return false;
  }
  return true;
}
