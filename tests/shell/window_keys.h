// Pressing a key in one particular program's window on the X display, without touching the
// server's keyboard: other programs on the same display see nothing of it.
#pragma once

#include <sys/types.h>

// Sends an Escape key press to the window of process `pid` on $DISPLAY. Returns false when that
// process has no window (yet) or the display cannot be opened.
bool press_escape_in_window_of(pid_t pid);
