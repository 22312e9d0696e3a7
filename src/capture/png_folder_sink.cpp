// Captured frames as PNG files.
#include "capture/png_folder_sink.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <regex>

#include "capture/partial_output.h"
#include "png_writer.h"
#include "shell/shell.h"

namespace {

// zlib level for the frames: level 1 writes a busy frame about four times quicker than level 9,
// for a file about a quarter larger, and a capture writes up to thousands of frames.
constexpr int kFrameCompression = 1;
constexpr char kFrameNameFormat[] = "frame-%05d.png";

std::string frame_name(int index) {
  char name[32];
  std::snprintf(name, sizeof name, kFrameNameFormat, index);
  return name;
}

// True when `folder` holds nothing but frames of an earlier capture (or nothing at all).
bool holds_only_frames(const std::string& folder, std::string* error) {
  static const std::regex frame_file("frame-[0-9]+\\.png");
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (!entry.is_regular_file() ||
        !std::regex_match(entry.path().filename().string(), frame_file)) {
      *error = folder + "/ already holds other files than frames; choose a new or empty folder";
      return false;
    }
  }
  if (ec) {
    *error = "cannot read " + folder + "/: " + ec.message();
    return false;
  }
  return true;
}

}  // namespace

png_folder_sink::~png_folder_sink() {
  abandon();
}

bool png_folder_sink::open(const std::string& folder, std::string* error) {
  final_ = without_trailing_slashes(folder);
  struct stat st;
  if (stat(final_.c_str(), &st) == 0) {
    if (!S_ISDIR(st.st_mode)) {
      *error = final_ + " exists and is not a folder";
      return false;
    }
    if (!holds_only_frames(final_, error)) return false;
  }
  const std::string partial = partial_name(final_);
  if (mkdir(partial.c_str(), 0777) != 0) {
    *error = "cannot write frames to " + final_ + "/: " + std::strerror(errno);
    return false;
  }
  partial_ = partial;
  return true;
}

bool png_folder_sink::write_frame(const std::vector<Uint8>& rgb, std::string* error) {
  const std::string name = frame_name(written_);
  std::string reason;
  if (!write_png_rgb(partial_ + "/" + name, kScreenWidth, kScreenHeight, rgb, kFrameCompression,
                     &reason)) {
    *error = "cannot write " + final_ + "/" + name + ": " + reason;
    return false;
  }
  ++written_;
  return true;
}

bool png_folder_sink::finish(std::string* error) {
  // An earlier capture's folder is moved aside first and removed once the new one is in place.
  const std::string aside = final_ + ".old-" + std::to_string(getpid());
  struct stat st;
  if (stat(final_.c_str(), &st) == 0 &&
      (!S_ISDIR(st.st_mode) || !holds_only_frames(final_, error))) {
    if (!S_ISDIR(st.st_mode)) *error = final_ + " exists and is not a folder";
    abandon();
    return false;
  }
  const bool replacing = rename(final_.c_str(), aside.c_str()) == 0;
  if (rename(partial_.c_str(), final_.c_str()) != 0) {
    *error = "cannot rename " + partial_ + " to " + final_ + ": " + std::strerror(errno);
    if (replacing) rename(aside.c_str(), final_.c_str());
    abandon();
    return false;
  }
  partial_.clear();
  if (replacing) remove_output(aside);
  return true;
}

void png_folder_sink::abandon() {
  if (partial_.empty()) return;
  remove_output(partial_);
  partial_.clear();
}
