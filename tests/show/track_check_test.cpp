// Telling the shipped track from copies of it cut short at various places.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "show/track_check.h"

namespace {

std::vector<unsigned char> shipped_track() {
  std::ifstream file("data/organ.ogg", std::ios::binary);  // tests run in the build folder
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Where the last page starts: a cut there leaves only whole pages, none of them the last.
size_t last_page_start(const std::vector<unsigned char>& bytes) {
  for (size_t at = bytes.size() - 4; at-- > 0;) {
    if (std::memcmp(&bytes[at], "OggS", 4) == 0) return at;
  }
  return 0;
}

std::vector<unsigned char> first(const std::vector<unsigned char>& bytes, size_t n) {
  return {bytes.begin(), bytes.begin() + static_cast<long>(n)};
}

TEST(TrackCheck, OnlyTheWholeTrackEndsWhole) {
  const std::vector<unsigned char> whole = shipped_track();
  ASSERT_GT(whole.size(), 100000u) << "data/organ.ogg is missing";
  EXPECT_TRUE(ogg_ends_whole(whole));

  std::vector<unsigned char> unflagged = whole;
  unflagged[last_page_start(whole) + 5] &= ~0x04;  // the end-of-stream flag taken off
  const std::string text = "this is no music\n";
  const struct {
    const char* name;
    std::vector<unsigned char> bytes;
  } cut[] = {
      {"empty", {}},
      {"text", {text.begin(), text.end()}},
      {"inside the headers", first(whole, 2000)},
      {"halfway", first(whole, whole.size() / 2)},
      {"on the last page boundary", first(whole, last_page_start(whole))},
      {"one byte short", first(whole, whole.size() - 1)},
      {"last page without the end flag", unflagged},
  };
  for (const auto& c : cut) EXPECT_FALSE(ogg_ends_whole(c.bytes)) << c.name;
}

TEST(TrackCheck, ReadsTheFile) {
  EXPECT_TRUE(ogg_file_ends_whole("data/organ.ogg"));
  EXPECT_FALSE(ogg_file_ends_whole("data/no-such-track.ogg"));
}

}  // namespace
