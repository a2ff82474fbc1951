#!/usr/bin/env bash
# Walks the file commands as a new user would, on a virtual screen with empty home and XDG
# folders: only the menu bar's letters (Alt+F, then the item's letter), the keyboard's Tab and
# Ctrl+Tab to reach the fields, and typing. It types a title and words with clues, makes the
# puzzle, then Save As a.trv, an edit (Make Every Puzzle Different), Save, Close, reopen from recent
# file 1 and Save As b.trv; the two files must be equal. A screenshot of each step is kept in the
# output folder.
#   scripts/filecommands_walk.sh [program] [output folder]
set -euo pipefail
program=$(realpath "${1:-build/bin/trv_800}")
out=$(realpath -m "${2:-filecommands_walk}")

if [ -z "${WALK_ON_VIRTUAL_SCREEN:-}" ]; then
  mkdir -p "$out"
  exec env WALK_ON_VIRTUAL_SCREEN=1 xvfb-run -a -s "-screen 0 1280x900x24" "$0" "$program" "$out"
fi

home=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
export XDG_CACHE_HOME="$home/.cache" XDG_DOCUMENTS_DIR="$home/Documents"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_DOCUMENTS_DIR"
docs="$home/Documents"

step=0
shot() {
  step=$((step + 1))
  import -window root "$out/$(printf '%02d' "$step")-$1.png"
}
keys() {
  xdotool key --clearmodifiers "$@"
  sleep 1
}
typed() {
  xdotool type --delay 40 "$1"
  sleep 0.5
}
focus() { # window name; there is no window manager to give the focus
  local win
  win=$(xdotool search --sync --onlyvisible --name "$1" | tail -1)
  xdotool windowfocus --sync "$win"
  sleep 0.5
}
menu() { # menu letter, item letter
  focus "^Tarvel  -"
  keys "alt+$1"
  keys "$2"
}
answer_save_dialog() { # file name
  focus "^Save As$"
  keys ctrl+a
  typed "$1"
  keys Return
}

"$program" &
pid=$!
xdotool search --sync --name "Tarvel" >/dev/null
sleep 4
focus "^Tarvel  -"
sleep 2
shot start
# The first run's quick tour: leave it at once.
focus "^Tarvel[^ ]"
keys Escape
focus "^Tarvel  -"
shot ready

keys Tab Tab                        # the title field
typed "Fruit Salad"
keys ctrl+Tab                       # the words page; its word list takes the typing
for entry in "APPLE:A red or green fruit" "BANANA:A long yellow fruit" "CHERRY:A small red fruit" \
             "ORANGE:A round citrus fruit" "LEMON:A sour citrus fruit" "GRAPE:A fruit in a bunch"; do
  typed "${entry%%:*}"
  keys Tab
  typed "${entry#*:}"
  keys Return
done
shot typed

menu m m                            # Make Puzzle Now
sleep 3
shot made

menu f a                            # Save As ...
answer_save_dialog "$docs/a.trv"
shot saved-a

menu m d                            # an edit: Make Every Puzzle Different
menu f s                            # Save
shot saved-again

menu f c                            # Close
shot closed

menu f 1                            # recent file 1
shot reopened

menu f a
answer_save_dialog "$docs/b.trv"
shot saved-b

cp "$docs/a.trv" "$docs/b.trv" "$out/"
if cmp "$docs/a.trv" "$docs/b.trv"; then
  echo "a.trv and b.trv are equal; screenshots in $out"
else
  echo "a.trv and b.trv differ" >&2
  exit 1
fi
