#!/usr/bin/env bash
# Menus and names as a person uses them: a right click on a file, Rename, a new name typed into
# the field and Enter; a new folder named as it is created; the view menu showing hidden files.
source "$(dirname "$0")/lib.sh"
program="$1"
ctl="$2"
e2e_setup

folder="$E2E_DIR/Work"
mkdir -p "$folder/Notes"
echo "draft" >"$folder/draft.txt"
echo "secret" >"$folder/.hidden"
socket="$E2E_DIR/automation.sock"
e2e_start "$program" --automation-socket "$socket" "$folder"
e2e_connect "$ctl" "$socket"
e2e_expect "the folder is listed without its hidden file" '.entry_count' 2

read -r x y < <(e2e_centre "draft.txt" list_item)
xdotool mousemove --window "$E2E_WINDOW" "$x" "$y" click 3
e2e_expect "a right click selects the file" '.selected_names | join(",")' "draft.txt"
e2e_click "Rename" menu_item
xdotool key --window "$E2E_WINDOW" ctrl+a
xdotool type --window "$E2E_WINDOW" --delay 30 "final.txt"
xdotool key --window "$E2E_WINDOW" Return
e2e_expect_true "Rename, a typed name and Enter rename the file on disk" \
  test -f "$folder/final.txt" -a ! -e "$folder/draft.txt"
e2e_expect "the renamed file stays selected" '.selected_names | join(",")' "final.txt"

# A new folder opens its name field straight away; what is typed replaces the default name.
xdotool key --window "$E2E_WINDOW" ctrl+shift+n
e2e_expect_true "Primary+Shift+N creates a folder" test -d "$folder/New Folder"
xdotool type --window "$E2E_WINDOW" --delay 30 "Receipts"
xdotool key --window "$E2E_WINDOW" Return
e2e_expect_true "the new folder takes the typed name" \
  test -d "$folder/Receipts" -a ! -e "$folder/New Folder"

e2e_click "View options" button
e2e_click "Show Hidden Files"
e2e_expect "the view menu shows hidden files" '.entry_count' 4
echo "e2e: menus and rename work"
