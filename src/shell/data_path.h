// Finding the data files: "data/" in the working directory first, then the "data/" folder beside
// the program itself, so the demo also starts from another directory.
#pragma once

#include <string>
#include <vector>

// The places to look for a data file named `name` ("Devil-goat.png"), in the order to try them.
std::vector<std::string> data_file_candidates(const std::string& name);

// The folder of the running program (from /proc/self/exe), or "" when it cannot be read.
std::string program_folder();

// The first candidate that exists as a file, or "" when none does.
std::string first_existing(const std::vector<std::string>& candidates);

// "a, b and c": the candidates joined for an error message.
std::string join_places(const std::vector<std::string>& places);
