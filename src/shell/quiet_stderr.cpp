// Quiet_Stderr: descriptor 2 is pointed at /dev/null and restored from a saved copy, so everything
// written there in between (by C stdio or straight to the descriptor) is dropped.
#include "shell/quiet_stderr.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

Quiet_Stderr::Quiet_Stderr() : saved_(-1) {
  std::fflush(stderr);
  const int null_fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null_fd < 0) return;
  saved_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
  if (saved_ >= 0) dup2(null_fd, STDERR_FILENO);
  close(null_fd);
}

Quiet_Stderr::~Quiet_Stderr() {
  if (saved_ < 0) return;
  std::fflush(stderr);
  dup2(saved_, STDERR_FILENO);
  close(saved_);
}
