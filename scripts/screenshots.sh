#!/usr/bin/env bash
# The README's pictures: builds the demo, plays it in the window program on a private X server
# and photographs the screen at five moments of the show, one for each part of the timeline:
#   docs/show-05s.png  the wall of panels          docs/show-35s.png  the fountains
#   docs/show-15s.png  the pair pulled in           docs/show-52s.png  the skewed last panel
#   docs/show-24s.png  the pairs turning
# Then it presses Escape. Each picture is scaled to half size and stored with a palette.
# SCREENSHOT_DISPLAY=N runs the X server as :N instead of on the first free number.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --test  # Xvfb, xdotool and ImageMagick come with the test tools
"$root/scripts/build.sh" -DDEMO_TESTS=OFF
build=${BUILD_DIR:-$root/build}
docs="$root/docs"
mkdir -p "$docs"

# Seconds from the program's launch to the start of its show (the display, the picture and the
# decoding of the music come first), measured under Xvfb. The show's clock starts at half a
# second, so show time t is on screen about t − 0.5 + LOAD_SECONDS after the launch.
LOAD_SECONDS=${LOAD_SECONDS:-0.7}
SHOTS=(5 15 24 35 52)  # show seconds

source "$root/scripts/xvfb.sh"
if [ -n "${SCREENSHOT_DISPLAY:-}" ]; then
  Xvfb ":$SCREENSHOT_DISPLAY" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  XVFB_PID=$!
  trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
  export DISPLAY=":$SCREENSHOT_DISPLAY"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
else
  start_xvfb 1024x768x24
fi

# The window program sits at the top of the build tree or, in older trees, in src/.
program="$build/demo_window"
[ -x "$program" ] || program="$build/src/demo_window"
cd "$build"
log=$(mktemp)
now() { date +%s.%N; }
launch=$(now)
SDL_AUDIODRIVER=dummy "$program" >"$log" 2>&1 &
demo=$!
trap 'kill "$demo" 2>/dev/null || true; kill "${XVFB_PID:-}" 2>/dev/null || true; rm -f "$log"' EXIT

raw=$(mktemp --suffix=.png)
for second in "${SHOTS[@]}"; do
  wait=$(awk -v l="$launch" -v s="$second" -v d="$LOAD_SECONDS" -v n="$(now)" \
    'BEGIN { w = l + s - 0.5 + d - n; printf "%.3f", (w > 0 ? w : 0) }')
  sleep "$wait"
  kill -0 "$demo" 2>/dev/null || { echo "screenshots: the demo ended early:" >&2; cat "$log" >&2; exit 1; }
  import -window root "$raw"
  out=$(printf "%s/show-%02ds.png" "$docs" "$second")
  convert "$raw" -resize 512x384 -colors 256 "PNG8:$out"
  echo "$out at show time ~$second s ($(stat -c %s "$out") bytes)"
done
rm -f "$raw"

xdotool key Escape
for _ in $(seq 50); do kill -0 "$demo" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$demo" 2>/dev/null; then
  echo "screenshots: Escape did not end the demo; stopping it" >&2
  kill "$demo"
fi
wait "$demo" 2>/dev/null || true
