// Ogg Vorbis output: the usual libvorbisenc analysis loop feeding Ogg pages to a file.
#include "ogg_writer.h"

#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kChannels = 2;        // stereo
constexpr int kChunkFrames = 1024;  // frames handed to the encoder per call

// Owns the libvorbis/libogg state and the output file for one encoding run.
class Encoder {
 public:
  explicit Encoder(FILE* file) : file_(file) {
    vorbis_info_init(&info_);
    vorbis_comment_init(&comment_);
  }
  ~Encoder() {
    if (stream_ready_) ogg_stream_clear(&stream_);
    if (analysis_ready_) {
      vorbis_block_clear(&block_);
      vorbis_dsp_clear(&dsp_);
    }
    vorbis_comment_clear(&comment_);
    vorbis_info_clear(&info_);
  }
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;

  bool start(const OggSettings& settings, std::string* error) {
    if (vorbis_encode_init_vbr(&info_, kChannels, settings.sample_rate, settings.quality) != 0) {
      *error = "the Vorbis encoder refused the sample rate or quality";
      return false;
    }
    vorbis_comment_add_tag(&comment_, "TITLE", settings.title.c_str());
    vorbis_analysis_init(&dsp_, &info_);
    vorbis_block_init(&dsp_, &block_);
    analysis_ready_ = true;
    ogg_stream_init(&stream_, settings.serial);
    stream_ready_ = true;

    ogg_packet id;
    ogg_packet comments;
    ogg_packet codebooks;
    vorbis_analysis_headerout(&dsp_, &comment_, &id, &comments, &codebooks);
    ogg_stream_packetin(&stream_, &id);
    ogg_stream_packetin(&stream_, &comments);
    ogg_stream_packetin(&stream_, &codebooks);
    // The headers go on pages of their own, before any audio.
    ogg_page page;
    while (ogg_stream_flush(&stream_, &page) != 0) {
      if (!write_page(page, error)) return false;
    }
    return true;
  }

  bool encode(const float* left, const float* right, int frames, std::string* error) {
    float** buffer = vorbis_analysis_buffer(&dsp_, frames);
    std::copy(left, left + frames, buffer[0]);
    std::copy(right, right + frames, buffer[1]);
    vorbis_analysis_wrote(&dsp_, frames);
    return drain(error);
  }

  bool finish(std::string* error) {
    vorbis_analysis_wrote(&dsp_, 0);
    return drain(error);
  }

 private:
  bool drain(std::string* error) {
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&dsp_, &block_) == 1) {
      vorbis_analysis(&block_, nullptr);
      vorbis_bitrate_addblock(&block_);
      while (vorbis_bitrate_flushpacket(&dsp_, &packet) != 0) {
        ogg_stream_packetin(&stream_, &packet);
        while (ogg_stream_pageout(&stream_, &page) != 0) {
          if (!write_page(page, error)) return false;
        }
      }
    }
    return true;
  }

  bool write_page(const ogg_page& page, std::string* error) {
    if (std::fwrite(page.header, 1, page.header_len, file_) !=
            static_cast<size_t>(page.header_len) ||
        std::fwrite(page.body, 1, page.body_len, file_) != static_cast<size_t>(page.body_len)) {
      *error = std::strerror(errno);
      return false;
    }
    return true;
  }

  FILE* file_;
  vorbis_info info_;
  vorbis_comment comment_;
  vorbis_dsp_state dsp_;
  vorbis_block block_;
  ogg_stream_state stream_;
  bool analysis_ready_ = false;
  bool stream_ready_ = false;
};

}  // namespace

bool write_ogg_vorbis(const std::string& path, const std::vector<float>& left,
                      const std::vector<float>& right, const OggSettings& settings,
                      std::string* error) {
  if (left.size() != right.size()) {
    *error = "left and right channels differ in length";
    return false;
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    *error = std::strerror(errno);
    return false;
  }
  bool ok = true;
  {
    Encoder encoder(file);
    ok = encoder.start(settings, error);
    for (std::size_t pos = 0; ok && pos < left.size(); pos += kChunkFrames) {
      const int frames = static_cast<int>(std::min<std::size_t>(kChunkFrames, left.size() - pos));
      ok = encoder.encode(&left[pos], &right[pos], frames, error);
    }
    if (ok) ok = encoder.finish(error);
  }
  if (ok && (std::fflush(file) != 0 || std::ferror(file) != 0)) {
    *error = std::strerror(errno);
    ok = false;
  }
  if (std::fclose(file) != 0 && ok) {
    *error = std::strerror(errno);
    ok = false;
  }
  return ok;
}
