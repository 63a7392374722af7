#!/usr/bin/env bash
# File operations sent as semantic actions through files-ctl, the way an automation client
# works the real window under Xvfb: copy and paste, move to Trash and undo, rename, new folder,
# compress and extract. Every step is checked on the disk and in the window's snapshot.
source "$(dirname "$0")/lib.sh"
program="$1"
ctl="$2"
e2e_setup

folder="$E2E_DIR/Projects"
mkdir -p "$folder/src" "$folder/dest" "$folder/doc"
echo "alpha" >"$folder/src/a.txt"
echo "inside" >"$folder/doc/note.txt"
# A Trash that was used before: the first move into a Trash that does not exist yet leaves no
# undo record.
mkdir -p "$XDG_DATA_HOME/Trash/files"
socket="$E2E_DIR/automation.sock"
e2e_start "$program" --automation-socket "$socket" "$folder"
e2e_connect "$ctl" "$socket"

resources() { e2e_ctl resources; }
# The resource id of the listed entry with this name.
id_of() {
  resources | jq -r --arg n "$1" \
    '[.resource.children[] | select(.kind == "files.entry" and .label == $n)][0].id // empty'
}
# The address of a listed action: of an entry's action, or of the folder's with no name.
address_of() {
  if [ -n "${2:-}" ]; then
    resources | jq -r --arg n "$2" --arg a "$1" \
      '[.resource.children[] | select(.label == $n) | .actions[] | select(.name == $a)][0].address'
  else
    resources | jq -r --arg a "$1" '.resource.actions[] | select(.name == $a) | .address'
  fi
}
fail() {
  echo "FAIL: $*" >&2
  e2e_snapshot >&2 || true
  exit 1
}
# Runs an action that must complete.
act() {
  local reply
  reply=$(e2e_ctl "$@") || fail "$* answered: $reply"
  [ "$(jq -r '.outcome' <<<"$reply")" = "completed" ] || fail "$* answered: $reply"
}
on_disk() {
  local what="$1"
  shift
  "$@" || fail "$what"
  echo "ok: $what"
}

e2e_expect "the folder is listed" '.entry_count' 3

# Copy in one folder, paste in another.
act action files.open navigate "\"$(id_of src)\""
e2e_expect "open by action" '.directory' "$folder/src"
act action files.entry-command effect "[\"copy\",\"$(id_of a.txt)\"]"
e2e_expect "the copied entry is selected" '.selected_names | join(",")' "a.txt"
act action files.folder-command navigate '"up"'
act action files.open navigate "\"$(id_of dest)\""
act action files.paste effect
on_disk "paste copies the file" grep -qx alpha "$folder/dest/a.txt"
on_disk "the original stays" test -f "$folder/src/a.txt"
e2e_expect "the pasted file is listed" '.entry_count' 1

# Move to Trash and take it back.
act action files.entry-command effect "[\"trash\",\"$(id_of a.txt)\"]"
on_disk "trash removes the file" test ! -e "$folder/dest/a.txt"
on_disk "the Trash holds it" test -f "$XDG_DATA_HOME/Trash/files/a.txt"
e2e_expect "the trashed file is gone from the view" '.entry_count' 0
act invoke "$(address_of undo-trash)" effect
on_disk "undo puts it back" grep -qx alpha "$folder/dest/a.txt"
e2e_expect "the restored file is listed" '.entry_count' 1

# Rename through the action's text input.
act invoke "$(address_of rename a.txt)" effect --arg value=renamed.txt
on_disk "rename by action" grep -qx alpha "$folder/dest/renamed.txt"
e2e_expect "the view shows the new name" '[.entry_count, (.selected_names | join(","))] | join(" ")' \
  "1 renamed.txt"

# New folder through the folder's text input.
act invoke "$(address_of new-folder)" effect --arg value=Drafts
on_disk "new folder by action" test -d "$folder/dest/Drafts"
e2e_expect "the new folder is listed" '.entry_count' 2

# Compress a folder, then extract the archive after the folder is gone.
act action files.folder-command navigate '"up"'
act action files.entry-command effect "[\"compress\",\"$(id_of doc)\"]"
on_disk "compress by action" test -f "$folder/doc.zip"
e2e_expect "the archive is listed" '.entry_count' 4
[ -n "$(address_of extract doc.zip)" ] || fail "the archive offers no extract action"
rm -r "$folder/doc"
act action files.refresh effect
act action files.entry-command effect "[\"extract\",\"$(id_of doc.zip)\"]"
on_disk "extract by action" sh -c "find '$folder' -name note.txt -exec grep -qx inside {} \\; -print | grep -q ."
e2e_expect "the extracted folder is listed" '.entry_count' 4

# Refusals reach the client with their texts.
reply=$(e2e_ctl action files.folder-command effect '"up"') && fail "up as an effect ran"
[ "$(jq -r '.text' <<<"$reply")" = "file command has an invalid operation kind" ] ||
  fail "up as an effect answered: $reply"
reply=$(e2e_ctl action files.open effect "\"$(id_of doc.zip)\"") && fail "open as an effect ran"
[ "$(jq -r '.outcome' <<<"$reply")" = "not_handled" ] || fail "open as an effect answered: $reply"
e2e_expect "refusals change nothing" '.directory' "$folder"
echo "e2e: file operations by action work"
