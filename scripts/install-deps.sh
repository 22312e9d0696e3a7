#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build (and with --test, the test suite) needs
# and this machine lacks. Quiet when everything is there already.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libpng-dev libvorbis-dev            # the data generator writes PNG and Ogg Vorbis
)
if [ "${1:-}" = "--test" ]; then
  packages+=(
    xvfb xauth x11-utils xdotool libx11-dev   # a headless X server and ways to poke at windows
    libxfixes-dev                             # reading the cursor the server shows
    libgtest-dev libbenchmark-dev
    vorbis-tools sox                          # decoding and measuring the track
    valgrind ffmpeg imagemagick
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
