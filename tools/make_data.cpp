// make_data OUTDIR: generates the demo's data files, the goat emblem picture and the organ
// music, into OUTDIR. The output is the same, byte for byte, on every run.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>

#include "atomic_file.h"
#include "ogg_writer.h"
#include "organ.h"
#include "picture.h"
#include "png_writer.h"

namespace {

constexpr const char* kPictureName = "Devil-goat.png";  // file name the demo loads
constexpr const char* kMusicName = "organ.ogg";         // file name the demo plays
constexpr float kVorbisQuality = 0.4f;                  // about 128 kbit/s: clean organ tone
constexpr int kOggSerial = 0x676f6174;                  // fixed ("goat") so bytes never change

bool make_picture(const std::string& path, std::string* error) {
  const auto pixels = draw_goat_emblem(kPictureSize);
  return write_file_atomically(
      path,
      [&](const std::string& temp, std::string* err) {
        return write_png_rgba(temp, kPictureSize, kPictureSize, pixels, err);
      },
      error);
}

bool make_music(const std::string& path, std::string* error) {
  const StereoAudio audio = render_organ_piece();
  const OggSettings settings{kSampleRate, kVorbisQuality, kOggSerial, "Organ"};
  return write_file_atomically(
      path,
      [&](const std::string& temp, std::string* err) {
        return write_ogg_vorbis(temp, audio.left, audio.right, settings, err);
      },
      error);
}

int fail(const std::string& message) {
  std::fprintf(stderr, "make_data: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return fail("usage: make_data OUTDIR");
  const std::filesystem::path dir = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec || !std::filesystem::is_directory(dir)) {
    return fail("cannot create directory " + dir.string() + (ec ? ": " + ec.message() : ""));
  }
  try {
    std::string error;
    const std::string picture = (dir / kPictureName).string();
    if (!make_picture(picture, &error)) return fail("cannot write " + picture + ": " + error);
    const std::string music = (dir / kMusicName).string();
    if (!make_music(music, &error)) return fail("cannot write " + music + ": " + error);
  } catch (const std::exception& e) {
    return fail(e.what());
  }
  return 0;
}
