# Sourced by the scripts: start_xvfb GEOMETRY starts a private Xvfb on a free display number,
# exports DISPLAY and stops the server when the calling shell exits.
start_xvfb() {
  local geometry=$1 fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local number
  read -r -t 20 number <"$fifo" || { echo "cannot start Xvfb" >&2; rm -f "$fifo"; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$number"
  trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
}
