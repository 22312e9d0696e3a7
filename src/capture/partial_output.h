// Names and clean-up for output that is still being written.
#pragma once

#include <string>

// The temporary name beside `path` under which its output is written: `path` with ".partial-"
// and the process id added, so two captures never share one.
std::string partial_name(const std::string& path);

// Removes `path` and, when it is a folder, everything in it. Errors are ignored.
void remove_output(const std::string& path);

// `path` without its trailing slashes: "frames" for "frames/".
std::string without_trailing_slashes(const std::string& path);
