// Telling a whole Ogg track from one cut short. A track cut anywhere past its headers still
// decodes, up to the cut, so the decoder reports no error; the file's end is the only sign.
#pragma once

#include <string>
#include <vector>

// True when `bytes` end the way a complete Ogg stream does: with a whole page that carries the
// end-of-stream flag.
bool ogg_ends_whole(const std::vector<unsigned char>& bytes);

// The same for the file at `path`; false when it cannot be read.
bool ogg_file_ends_whole(const std::string& path);
