#!/usr/bin/env bash
# The test command: installs what is missing, builds everything with warnings as errors, starts a
# private X server (no screen or window manager needed) and runs the whole suite with ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --test
export BUILD_DIR=${BUILD_DIR:-$root/build}

# The two programs once more, with AddressSanitizer and UndefinedBehaviorSanitizer, in a tree of
# their own: the end-to-end tests run them as well (a whole show, and pictures in every layout).
sanitized=${SANITIZED_BUILD_DIR:-$root/build-asan}
cmake -S "$root" -B "$sanitized" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDEMO_TESTS=OFF \
  -DDEMO_SANITIZE=ON -DDEMO_WERROR=ON >/dev/null
cmake --build "$sanitized" -j"$(nproc)" --target demo_window demo_fullscreen

"$root/scripts/build.sh" -DDEMO_TESTS=ON -DDEMO_WERROR=ON -DDEMO_SANITIZED_BUILD="$sanitized"

# A headless X server of our own, 1024 × 768 like the demo's mode; it goes when we do.
source "$root/scripts/xvfb.sh"
start_xvfb 1024x768x24
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

cd "$BUILD_DIR"
ctest --output-on-failure --timeout 900 -j"$(nproc)" "$@"
