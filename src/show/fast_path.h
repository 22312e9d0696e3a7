// The show's fast path: work that cannot change a pixel or the OpenGL state a frame leaves behind
// is skipped. On it (the default), scene 1 leaves out the wall panels that lie wholly outside the
// view volume. Off, every panel is drawn as written; the tests compare the two.
#pragma once

inline bool show_fast_path = true;
