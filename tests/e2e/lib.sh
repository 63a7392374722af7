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
  # X servers on the machine.
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$E2E_DIR/display" >"$E2E_DIR/xvfb.log" 2>&1 &
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
