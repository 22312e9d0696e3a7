// A folder of numbered PNG frames, frame-00000.png, frame-00001.png, … in the order they were
// kept. They are written into a sibling folder "NAME.partial-PID" that is renamed to NAME at the
// end. An existing NAME is replaced only when it holds nothing but such frames.
#pragma once

#include <string>

#include "capture/frame_sink.h"

class png_folder_sink : public frame_sink {
 public:
  ~png_folder_sink() override;

  // Checks that `folder` may be written or replaced and makes the partial folder beside it.
  // Returns false with a one-line reason when it cannot.
  bool open(const std::string& folder, std::string* error);

  bool write_frame(const std::vector<Uint8>& rgb, std::string* error) override;
  bool finish(std::string* error) override;
  void abandon() override;

 private:
  std::string final_;    // the folder as given, without the trailing slash
  std::string partial_;  // where the frames are written meanwhile; "" when there is none
  int written_ = 0;
};
