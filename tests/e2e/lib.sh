# Shared helpers for the end-to-end scripts: a private Xvfb display and a scratch folder that
# are torn down however the test ends.
set -euo pipefail

e2e_setup() {
  E2E_DIR="$(mktemp -d /tmp/files-e2e.XXXXXX)"
  export HOME="$E2E_DIR/home"
  export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
  export XDG_STATE_HOME="$HOME/.local/state" XDG_CACHE_HOME="$HOME/.cache"
  export XDG_RUNTIME_DIR="$E2E_DIR/runtime"
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  unset QT_QPA_PLATFORM WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
  E2E_PIDS=()
  trap e2e_teardown EXIT

  # Xvfb picks a free display itself and writes its number to the file: no race with other
  # X servers on the machine. Without -noreset the server starts over whenever its last client
  # leaves (the readiness probe below is one), and a program connecting in that moment fails.
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$E2E_DIR/display" >"$E2E_DIR/xvfb.log" 2>&1 &
  E2E_PIDS+=($!)
  for _ in $(seq 1 100); do
    [ -s "$E2E_DIR/display" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(tr -d '[:space:]' <"$E2E_DIR/display")"
  for _ in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  cat "$E2E_DIR/xvfb.log" >&2
  return 1
}

e2e_teardown() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$E2E_DIR"
}

# Starts the program in the background and waits until its window is mapped.
e2e_start() {
  "$@" >"$E2E_DIR/app.log" 2>&1 &
  E2E_APP=$!
  E2E_PIDS+=("$E2E_APP")
  E2E_WINDOW=""
  for _ in $(seq 1 150); do
    E2E_WINDOW=$(xdotool search --onlyvisible --pid "$E2E_APP" 2>/dev/null | head -n 1 || true)
    [ -n "$E2E_WINDOW" ] && return 0
    if ! kill -0 "$E2E_APP" 2>/dev/null; then
      echo "the program exited before its window appeared:" >&2
      cat "$E2E_DIR/app.log" >&2
      return 1
    fi
    sleep 0.1
  done
  echo "no window appeared" >&2
  cat "$E2E_DIR/app.log" >&2
  return 1
}

# Captures the whole display into a PNG.
e2e_screenshot() {
  import -window root "$1"
}

# Number of distinct colours in an image: a blank frame has one.
e2e_colour_count() {
  convert "$1" -format '%k' info:
}

# The automation client bound to the program's socket: e2e_connect CTL SOCKET, then e2e_ctl ARGS.
e2e_connect() {
  E2E_CTL="$1"
  E2E_SOCKET="$2"
  "$E2E_CTL" --socket "$E2E_SOCKET" --wait 10 ping >/dev/null
}
e2e_ctl() { "$E2E_CTL" --socket "$E2E_SOCKET" "$@"; }
e2e_snapshot() { e2e_ctl snapshot | jq -c '.snapshot // .'; }

# The centre of the first accessibility node with this name (and role, when given), in window
# units: "x y". Waits up to five seconds for the node (the program handles input on its own time),
# then fails.
e2e_centre() {
  local name="$1" role="${2:-}" point=""
  for _ in $(seq 1 50); do
    point=$(e2e_ctl accessibility | jq -r --arg n "$name" --arg r "$role" '
      [.. | objects | select(.name? == $n and .bounds? != null and ($r == "" or .role? == $r))][0]
      | if . == null then "" else .bounds | "\((.[0] + .[2]) / 2 | floor) \((.[1] + .[3]) / 2 | floor)" end')
    [ -n "$point" ] && { echo "$point"; return 0; }
    sleep 0.1
  done
  echo "no accessible node named '$name' ${role:+($role)}; the tree has:" >&2
  e2e_ctl accessibility | jq -c '.. | objects | select(.name? // "" | length > 0) | [.role, .name]' >&2
  return 1
}

# Waits up to five seconds for a snapshot field (a jq filter) to read as expected.
e2e_expect() {
  local what="$1" filter="$2" want="$3" got=""
  for _ in $(seq 1 50); do
    got=$(e2e_snapshot | jq -r "$filter")
    [ "$got" = "$want" ] && { echo "ok: $what"; return 0; }
    sleep 0.1
  done
  echo "FAIL: $what: expected '$want', got '$got'" >&2
  e2e_snapshot >&2
  exit 1
}

# Waits up to five seconds for a shell condition to hold.
e2e_expect_true() {
  local what="$1"
  shift
  for _ in $(seq 1 50); do
    if "$@"; then echo "ok: $what"; return 0; fi
    sleep 0.1
  done
  echo "FAIL: $what" >&2
  exit 1
}

# Presses the primary button at one point and releases it at another, moving in steps the way a
# hand would, so the program sees a drag.
e2e_drag() {
  local x0="$1" y0="$2" x1="$3" y1="$4" i
  xdotool mousemove --window "$E2E_WINDOW" "$x0" "$y0" mousedown 1
  for i in 1 2 3 4 5 6 7 8; do
    xdotool mousemove --window "$E2E_WINDOW" $((x0 + (x1 - x0) * i / 8)) $((y0 + (y1 - y0) * i / 8))
    sleep 0.05
  done
  xdotool mouseup 1
}

# Clicks the centre of the accessible node with this name (and role).
e2e_click() {
  local x y
  read -r x y < <(e2e_centre "$@")
  xdotool mousemove --window "$E2E_WINDOW" "$x" "$y" click 1
}
