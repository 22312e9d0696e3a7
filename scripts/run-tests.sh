#!/usr/bin/env bash
# The test command: installs what is missing, builds everything with warnings as errors, starts a
# private X server (no screen or window manager needed) and runs the whole suite with ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --test
export BUILD_DIR=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh" -DDEMO_TESTS=ON -DDEMO_WERROR=ON

# A headless X server of our own, 1024 × 768 like the demo's mode; it goes when we do.
source "$root/scripts/xvfb.sh"
start_xvfb 1024x768x24
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

cd "$BUILD_DIR"
ctest --output-on-failure --timeout 900 -j"$(nproc)" "$@"
