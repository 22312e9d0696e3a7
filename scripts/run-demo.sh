#!/usr/bin/env bash
# The run command: installs what is missing, builds the demo and its data, and plays the show in a
# window. Escape leaves early.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DDEMO_TESTS=OFF
if [ -z "${DISPLAY:-}" ]; then
  echo "run-demo: no display to show the demo on (DISPLAY is not set): run it on a desktop, or under xvfb-run" >&2
  exit 1
fi
cd "${BUILD_DIR:-$root/build}"   # the program and its data/ folder sit side by side here
exec ./demo_window
