// Libraries' own complaints kept off standard error during a call whose failure the program
// reports itself, in one line: libpng prints "libpng error: ..." for a damaged picture before
// SDL_image returns its error, and ALSA prints a dozen lines when there is no sound card.
#pragma once

class Quiet_Stderr {
 public:
  Quiet_Stderr();   // from here on, standard error goes to /dev/null
  ~Quiet_Stderr();  // and back to where it went before
  Quiet_Stderr(const Quiet_Stderr&) = delete;
  Quiet_Stderr& operator=(const Quiet_Stderr&) = delete;

 private:
  int saved_;  // a copy of the descriptor standard error had, or -1 when nothing was changed
};
