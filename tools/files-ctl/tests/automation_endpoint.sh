#!/usr/bin/env bash
# The real program serves its automation socket: files-ctl reads the snapshot and the
# accessibility tree, sends input through the window's own event path, and requests the
# window refuses leave it serving. Offscreen, so no X server is needed.
set -euo pipefail
program="$1"
ctl="$2"

work="$(mktemp -d /tmp/files-automation.XXXXXX)"
app_pid=""
cleanup() {
  if [ -n "$app_pid" ]; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
export XDG_STATE_HOME="$HOME/.local/state" XDG_CACHE_HOME="$HOME/.cache"
export XDG_RUNTIME_DIR="$work/runtime"
export QT_QPA_PLATFORM=offscreen
unset DISPLAY WAYLAND_DISPLAY VASK_AUTOMATION_SOCKET
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
folder="$work/Holiday plans"
mkdir -p "$folder"
touch "$folder/itinerary.txt"
socket="$work/files.sock"

fail() {
  echo "FAIL: $*" >&2
  if [ -f "$work/app.log" ]; then
    echo "--- program output" >&2
    cat "$work/app.log" >&2
  fi
  exit 1
}

ctl() { "$ctl" --socket "$socket" --timeout 20 "$@"; }

# A path that holds anything but a stale socket is refused, and what is there stays.
echo keep >"$work/not-a-socket"
if "$program" --automation-socket "$work/not-a-socket" "$folder" >"$work/refused.log" 2>&1; then
  fail "the program started on a path that holds a file"
fi
grep -q "not a socket" "$work/refused.log" || fail "unexpected refusal: $(cat "$work/refused.log")"
[ "$(cat "$work/not-a-socket")" = keep ] || fail "the refused path was changed"

# Started through the environment variable this time; --automation-socket is tested below.
VASK_AUTOMATION_SOCKET="$socket" "$program" "$folder" >"$work/app.log" 2>&1 &
app_pid=$!
"$ctl" --socket "$socket" --wait 30 --timeout 20 ping >/dev/null || fail "the endpoint never answered"
[ -S "$socket" ] || fail "no socket at $socket"
[ "$(stat -c %a "$socket")" = 600 ] || fail "socket mode is $(stat -c %a "$socket"), not 600"

snapshot=$(ctl snapshot) || fail "snapshot failed"
jq -e '.ok == true and (.snapshot | type == "object")' <<<"$snapshot" >/dev/null ||
  fail "snapshot reply: $snapshot"

tree=$(ctl accessibility) || fail "accessibility failed"
jq -e '.ok == true and .tree.role == "window" and (.tree.bounds | length == 4)' <<<"$tree" \
  >/dev/null || fail "accessibility reply: $tree"
# The window laid itself out at its default size, and the tree says so.
jq -e '.tree.bounds[2] > 0 and .tree.bounds[3] > 0' <<<"$tree" >/dev/null ||
  fail "the tree has no size: $tree"

resources=$(ctl resources) || fail "resources failed"
jq -e '.ok == true and (.controls | type == "array")' <<<"$resources" >/dev/null ||
  fail "resources reply: $resources"

# Input in window units, through the same path as real input.
input=$(ctl input '{"type":"pointer_move","x":40,"y":40}' \
  '{"type":"click","x":200,"y":300}' '{"type":"key","key":"down"}' \
  '{"type":"wheel","x":200,"y":300,"dy":-3}' '{"type":"pointer_leave"}') || fail "input failed"
jq -e '.ok == true and (.handled | length == 5)' <<<"$input" >/dev/null || fail "input reply: $input"
ctl key escape >/dev/null || fail "key failed"

# A click in the middle of an item's accessible bounds selects it, as a real click would.
item_query='[.. | objects | select(.role? == "list_item" and .name == "itinerary.txt")] | first'
bounds=$(ctl accessibility | jq -c "$item_query | .bounds") || fail "accessibility failed"
[ "$bounds" != null ] || fail "the item is not in the accessibility tree"
read -r x y < <(jq -r '"\((.[0] + .[2]) / 2) \((.[1] + .[3]) / 2)"' <<<"$bounds")
ctl click "$x" "$y" >/dev/null || fail "click failed"
ctl accessibility | jq -e "$item_query | .states | index(\"selected\")" >/dev/null ||
  fail "clicking at $x,$y did not select the item"

# An action the window does not know is not handled: exit status 3, and the reply says so.
set +e
unknown=$(ctl action files.no-such-action effect)
status=$?
set -e
[ "$status" = 3 ] || fail "unknown action gave exit status $status: $unknown"
jq -e '.ok == true and .outcome == "not_handled" and .handle > 0' <<<"$unknown" >/dev/null ||
  fail "unknown action reply: $unknown"

# Refused requests: an error reply (exit status 1), and the window keeps serving.
expect_error() {
  local code="$1"
  shift
  set +e
  local reply
  reply=$("$@")
  local status=$?
  set -e
  [ "$status" = 1 ] || fail "expected exit status 1 for $code, got $status: $reply"
  jq -e --arg code "$code" '.ok == false and .error.code == $code' <<<"$reply" >/dev/null ||
    fail "expected error $code: $reply"
}
expect_error unknown_request ctl raw '{"request":"dance"}'
expect_error invalid_argument ctl raw '{"request":"input","events":[{"type":"teleport"}]}'
expect_error invalid_request ctl raw '"just a string"'
expect_error malformed_json ctl raw '{"request": '
# More than 1 MiB on one line, fed through standard input (an argument could not hold it).
head -c $((1024 * 1024 + 1)) /dev/zero | tr '\0' x >"$work/huge"
expect_error request_too_large ctl raw - <"$work/huge"

# Two clients in turn, and the window is still alive and answering.
ctl ping >/dev/null || fail "first client after the bad requests"
ctl snapshot >/dev/null || fail "second client after the bad requests"
kill -0 "$app_pid" 2>/dev/null || fail "the program died"

# Killed, the program leaves its socket behind; the next run (given --automation-socket this
# time) replaces that stale socket, and a third program is refused the live one.
kill -TERM "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
"$program" --automation-socket "$socket" "$folder" >"$work/app.log" 2>&1 &
app_pid=$!
"$ctl" --socket "$socket" --wait 30 ping >/dev/null || fail "the second run did not serve"
if "$program" --automation-socket "$socket" "$folder" >"$work/third.log" 2>&1; then
  fail "a third program took over a live socket"
fi
grep -q "served by a running program" "$work/third.log" ||
  fail "unexpected refusal: $(cat "$work/third.log")"
ctl ping >/dev/null || fail "the live program lost its socket to the refused one"
echo "automation endpoint: all checks passed"
