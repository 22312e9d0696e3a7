#!/usr/bin/env bash
# Configures and builds the programs, the data files and (unless DEMO_TESTS=OFF) the tests into
# BUILD_DIR (default: build/ in the repository). Extra arguments go to cmake's configure step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
