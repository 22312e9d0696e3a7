// Writes a file under a temporary name and renames it into place, so a failed or
// interrupted run never leaves a half-written file under the final name.
#pragma once

#include <functional>
#include <string>

// Calls `write(temp_path, error)` and, if it succeeds, renames the result to `path`.
// On failure removes the temporary file, sets `error` and returns false.
bool write_file_atomically(const std::string& path,
                           const std::function<bool(const std::string&, std::string*)>& write,
                           std::string* error);
