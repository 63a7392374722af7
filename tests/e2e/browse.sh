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
e2e_connect "$ctl" "$socket"

e2e_expect "the folder is listed" '.entry_count' 3
e2e_expect "the window is ready" '.ready' true

read -r x y < <(e2e_centre "notes.md" list_item)
xdotool mousemove --window "$E2E_WINDOW" "$x" "$y" click 1
e2e_expect "a click selects one item" '.selected_names | join(",")' "notes.md"

read -r x y < <(e2e_centre "Drafts" list_item)
xdotool mousemove --window "$E2E_WINDOW" "$x" "$y" click --repeat 2 --delay 80 1
e2e_expect "a double-click opens the folder" '.directory' "$folder/Drafts"

xdotool key --window "$E2E_WINDOW" BackSpace
e2e_expect "Backspace goes up" '.directory' "$folder"

xdotool key --window "$E2E_WINDOW" ctrl+a
e2e_expect "Primary+A selects everything" '.selected_indices | length' 3

e2e_screenshot "$E2E_DIR/browse.png"
colours=$(e2e_colour_count "$E2E_DIR/browse.png")
[ "$colours" -gt 8 ] || { echo "the window looks blank" >&2; exit 1; }
if [ -n "${E2E_KEEP:-}" ]; then cp "$E2E_DIR/browse.png" "$E2E_KEEP"; fi
echo "e2e: browsing works"
