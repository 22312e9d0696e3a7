// Ogg page layout, as far as it matters here: "OggS", a version byte (0), a flags byte
// (0x04 marks the stream's last page), 20 bytes of positions, serial number, sequence number and
// checksum, then a count of segments, the segment sizes and the segments themselves.
#include "show/track_check.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr size_t kPageHeaderBytes = 27;  // up to and including the segment count
constexpr size_t kFlagsAt = 5;
constexpr size_t kSegmentCountAt = 26;
constexpr unsigned char kEndOfStream = 0x04;
constexpr char kCapture[] = "OggS";

// The size of the whole page starting at `at`, or 0 when no complete page starts there.
size_t page_size(const std::vector<unsigned char>& bytes, size_t at) {
  if (at + kPageHeaderBytes > bytes.size()) return 0;
  if (std::memcmp(&bytes[at], kCapture, 4) != 0 || bytes[at + 4] != 0) return 0;
  const size_t segments = bytes[at + kSegmentCountAt];
  if (at + kPageHeaderBytes + segments > bytes.size()) return 0;
  size_t body = 0;
  for (size_t s = 0; s < segments; ++s) body += bytes[at + kPageHeaderBytes + s];
  return kPageHeaderBytes + segments + body;
}

}  // namespace

bool ogg_ends_whole(const std::vector<unsigned char>& bytes) {
  // The last page is the last capture pattern from which a page runs exactly to the end.
  for (size_t at = bytes.size() < kPageHeaderBytes ? 0 : bytes.size() - kPageHeaderBytes + 1;
       at-- > 0;) {
    if (bytes[at] != 'O') continue;
    const size_t size = page_size(bytes, at);
    if (size != 0 && at + size == bytes.size()) return (bytes[at + kFlagsAt] & kEndOfStream) != 0;
  }
  return false;
}

bool ogg_file_ends_whole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                         std::istreambuf_iterator<char>());
  return ogg_ends_whole(bytes);
}
