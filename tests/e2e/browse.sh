#!/usr/bin/env bash
# Browsing like a person: click an item, double-click a folder, go back up with Backspace and
# select everything with Primary+A, in the real window under Xvfb. What the window shows is read
# back through its automation snapshot and a screenshot.
source "$(dirname "$0")/lib.sh"
program="$1"
ctl="$2"
e2e_setup

folder="$E2E_DIR/Projects"
mkdir -p "$folder/Drafts"
echo "plan" >"$folder/plan.txt"
echo "notes" >"$folder/notes.md"
socket="$E2E_DIR/automation.sock"
e2e_start "$program" --automation-socket "$socket" "$folder"
"$ctl" --socket "$socket" --wait 10 ping >/dev/null

snapshot() { "$ctl" --socket "$socket" snapshot | jq -c '.snapshot // .'; }
# The centre of an item, from the accessibility tree's bounds.
centre_of() {
  "$ctl" --socket "$socket" accessibility |
    jq -r --arg n "$1" '[.. | objects | select(.name? == $n and .role? == "list_item")][0].bounds
      | "\((.[0] + .[2]) / 2 | floor) \((.[1] + .[3]) / 2 | floor)"'
}
expect() {
  local what="$1" filter="$2" want="$3" got
  for _ in $(seq 1 50); do
    got=$(snapshot | jq -r "$filter")
    [ "$got" = "$want" ] && { echo "ok: $what"; return 0; }
    sleep 0.1
  done
  echo "FAIL: $what: expected '$want', got '$got'" >&2
  snapshot >&2
  exit 1
}

expect "the folder is listed" '.entry_count' 3
expect "folders come first" '.ready' true

read -r x y < <(centre_of "notes.md")
xdotool mousemove --window "$E2E_WINDOW" "$x" "$y" click 1
expect "a click selects one item" '.selected_names | join(",")' "notes.md"

read -r x y < <(centre_of "Drafts")
xdotool mousemove --window "$E2E_WINDOW" "$x" "$y" click --repeat 2 --delay 80 1
expect "a double-click opens the folder" '.directory' "$folder/Drafts"

xdotool key --window "$E2E_WINDOW" BackSpace
expect "Backspace goes up" '.directory' "$folder"

xdotool key --window "$E2E_WINDOW" ctrl+a
expect "Primary+A selects everything" '.selected_indices | length' 3

e2e_screenshot "$E2E_DIR/browse.png"
colours=$(e2e_colour_count "$E2E_DIR/browse.png")
[ "$colours" -gt 8 ] || { echo "the window looks blank" >&2; exit 1; }
if [ -n "${E2E_KEEP:-}" ]; then cp "$E2E_DIR/browse.png" "$E2E_KEEP"; fi
echo "e2e: browsing works"
