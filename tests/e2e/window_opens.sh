#!/usr/bin/env bash
# The real window opens on the folder given on the command line, at 1280 × 800, and shows
# something (not a blank frame).
source "$(dirname "$0")/lib.sh"
program="$1"
e2e_setup

folder="$E2E_DIR/Holiday plans"
mkdir -p "$folder"
e2e_start "$program" "$folder"

geometry=$(xdotool getwindowgeometry "$E2E_WINDOW")
echo "$geometry"
grep -q "Geometry: 1280x800" <<<"$geometry" || { echo "window is not 1280x800" >&2; exit 1; }
name=$(xdotool getwindowname "$E2E_WINDOW")
[ "$name" = "Files" ] || { echo "unexpected window title: $name" >&2; exit 1; }

sleep 0.5  # let the first frame reach the server
e2e_screenshot "$E2E_DIR/window.png"
colours=$(e2e_colour_count "$E2E_DIR/window.png")
echo "colours on screen: $colours"
[ "$colours" -gt 4 ] || { echo "the window looks blank" >&2; exit 1; }
if [ -n "${E2E_KEEP:-}" ]; then cp "$E2E_DIR/window.png" "$E2E_KEEP"; fi
echo "e2e: window opened and drew its content"
