// Command-line parsing for the capture program.
#include "capture/capture_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char kCaptureUsage[] =
    "usage: demo_capture [--fps N] [--seed S] [--from MS] [--to MS] OUTPUT "
    "(OUTPUT: FOLDER/ for PNG frames, or FILE.mp4 or FILE.mkv)";

namespace {

bool ends_with(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A whole decimal number in [low, high], nothing else.
bool parse_number(const char* text, long long low, long long high, long long* value) {
  if (*text == '\0') return false;
  char* end = nullptr;
  errno = 0;
  const long long parsed = std::strtoll(text, &end, 10);
  if (errno != 0 || *end != '\0' || parsed < low || parsed > high) return false;
  *value = parsed;
  return true;
}

// The last part of a folder path: "frames" for "out/frames//".
std::string folder_name(const std::string& folder) {
  const size_t end = folder.find_last_not_of('/');
  if (end == std::string::npos) return "";
  const size_t slash = folder.rfind('/', end);
  return folder.substr(slash == std::string::npos ? 0 : slash + 1,
                       end - (slash == std::string::npos ? 0 : slash + 1) + 1);
}

bool output_kind_of(const std::string& output, output_kind* kind) {
  if (ends_with(output, "/")) {
    const std::string name = folder_name(output);
    if (name.empty() || name == "." || name == "..") return false;  // cannot be renamed into place
    *kind = output_kind::png_folder;
  } else if (ends_with(output, ".mp4")) {
    *kind = output_kind::mp4;
  } else if (ends_with(output, ".mkv")) {
    *kind = output_kind::mkv;
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool parse_capture_options(int argc, const char* const* argv, capture_options* options,
                           std::string* error) {
  capture_options parsed;
  bool have_output = false;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool is_option = arg == "--fps" || arg == "--seed" || arg == "--from" || arg == "--to";
    if (is_option) {
      if (i + 1 == argc) {
        *error = arg + " needs a value";
        return false;
      }
      const char* text = argv[++i];
      long long value = 0;
      bool ok = false;
      if (arg == "--fps") {
        ok = parse_number(text, 1, kMaxFps, &value);
        parsed.fps = static_cast<int>(value);
      } else if (arg == "--seed") {
        ok = parse_number(text, 0, UINT32_MAX, &value);
        parsed.seed = static_cast<unsigned>(value);
      } else {
        ok = parse_number(text, INT32_MIN, INT32_MAX, &value);
        (arg == "--from" ? parsed.from : parsed.to) = static_cast<Sint32>(value);
      }
      if (!ok) {
        *error = "bad value for " + arg + ": " + text;
        return false;
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      *error = "unknown option " + arg;
      return false;
    } else if (have_output) {
      *error = "more than one output: " + parsed.output + " and " + arg;
      return false;
    } else {
      parsed.output = arg;
      have_output = true;
    }
  }
  if (!have_output) {
    *error = "no output given";
    return false;
  }
  if (!output_kind_of(parsed.output, &parsed.kind)) {
    *error = "the output must be a folder ending in / (not . or ..), or end in .mp4 or .mkv: " +
             parsed.output;
    return false;
  }
  if (parsed.from > parsed.to) {
    *error = "--from comes after --to";
    return false;
  }
  *options = parsed;
  return true;
}
