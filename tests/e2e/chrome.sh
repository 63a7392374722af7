#!/usr/bin/env bash
# The window's chrome as a person uses it: a breadcrumb click, a typed location with completion,
# a folder dropped on the places sidebar becomes a favourite, favourites reordered by dragging,
# and the favourites still there after a restart.
source "$(dirname "$0")/lib.sh"
program="$1"
ctl="$2"
e2e_setup

mkdir -p "$HOME/Projects/Drafts" "$HOME/Music" "$HOME/Photos"
echo "outline" >"$HOME/Projects/Drafts/outline.md"
favourites_file="$XDG_CONFIG_HOME/vask-files/favorites"
socket="$E2E_DIR/automation.sock"
e2e_start "$program" --automation-socket "$socket" "$HOME/Projects/Drafts"
e2e_connect "$ctl" "$socket"
e2e_expect "the window is ready" '.ready' true

e2e_click "Projects"
e2e_expect "a crumb click opens that folder" '.directory' "$HOME/Projects"

# Primary+L turns the path bar into a field showing "~/Projects"; Tab completes the only match.
xdotool key --window "$E2E_WINDOW" ctrl+l ctrl+a
xdotool type --window "$E2E_WINDOW" --delay 30 "~/Mu"
sleep 0.3
xdotool key --window "$E2E_WINDOW" Tab Return
e2e_expect "a typed location with completion opens" '.directory' "$HOME/Music"

e2e_click "Home" link
e2e_expect "the home crumb opens home" '.directory' "$HOME"

# The places list: "x y" of a favourite's row, and the favourites' names in order.
sidebar_names() {
  e2e_ctl accessibility | jq -r '[.. | objects | select(.role? == "navigation" and .name? == "Places")]
    [0] | [.. | objects | select(.role? == "list_item") | .name] | join(",")'
}
drop_on_sidebar() {
  local x y
  read -r x y < <(e2e_centre "$1" list_item)
  e2e_drag "$x" "$y" 116 700
}
drop_on_sidebar Photos
e2e_expect_true "a folder dropped on the sidebar becomes a favourite" \
  grep -qx "$HOME/Photos" "$favourites_file"
drop_on_sidebar Projects
e2e_expect_true "a second favourite follows the first" \
  test "$(sidebar_names)" = "Home,Photos,Projects,Root,Trash"

# Carry "Projects" (third) above "Home" (first).
read -r px py < <(e2e_ctl accessibility | jq -r '[.. | objects | select(.role? == "list_item"
  and .name? == "Projects" and .bounds[0] < 232)][0].bounds | "\((.[0] + .[2]) / 2 | floor) \((.[1] + .[3]) / 2 | floor)"')
read -r hx hy < <(e2e_centre "Home" list_item)
e2e_drag "$px" "$py" "$px" $((hy - 10))
e2e_expect_true "dragging a favourite reorders the places" \
  test "$(sidebar_names)" = "Projects,Home,Photos,Root,Trash"
test "$(paste -sd, "$favourites_file")" = "$HOME/Projects,$HOME,$HOME/Photos" ||
  { echo "FAIL: the favourites file holds: $(cat "$favourites_file")" >&2; exit 1; }
echo "ok: the favourites file keeps the order"

# A restart reads the favourites back in their order.
kill "$E2E_APP"
wait "$E2E_APP" 2>/dev/null || true
rm -f "$socket"
e2e_start "$program" --automation-socket "$socket" "$HOME"
e2e_connect "$ctl" "$socket"
e2e_expect "the window is ready again" '.ready' true
e2e_expect_true "favourites are kept across a restart" \
  test "$(sidebar_names)" = "Projects,Home,Photos,Root,Trash"
echo "e2e: the chrome works"
