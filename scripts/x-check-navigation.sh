#!/usr/bin/env bash
# On a real X display (Xvfb + openbox), as a user would: open a book through the open
# dialog, click an entry of the table of contents and an item of the reading order, and
# check that each opens its chapter (the window title names the chapter file). Screenshots
# go to the output folder.
#
#   scripts/x-check-navigation.sh [BOOK.epub] [OUTPUT-FOLDER]
#
# Default book: the shared corpus's gutenberg-alice-underground.epub (KVX_CORPUS_DIR, else the
# corpus beside the checkout), whose "Chapter III" lies in its second chapter file.
# Exit status: 0 both chapters opened, 1 one did not, 77 a tool or the book is missing (skip).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bin="${LINDAR_BIN_DIR:-$here/../build/bin}"
book="${1:-${KVX_CORPUS_DIR:-$here/../../shared/corpus/epub2}/gutenberg-alice-underground.epub}"
out="${2:-$(mktemp -d /tmp/lindar-x-navigation-XXXXXX)}"
entry="Chapter III"
entry_file="19002-h-1.htm.html"
spine_file="19002-h-2.htm.html"

# shellcheck source=x-session.sh
source "$here/x-session.sh" convert
# A fixed window, so that the pane tabs sit where this walk clicks.
xdotool windowmove --sync "$main" 0 0 windowsize --sync "$main" 1280 880
# The pane tabs sit in a row at the bottom of the left dock, above the status bar.
tabs_y=$((880 - 36))

# Waits until the main window's title names $1 (the unsaved mark may follow); prints the title.
wait_title() {
  local title
  for _ in $(seq 100); do
    title="$(xdotool getwindowname "$main")"
    case "$title" in *"$1"*) break ;; esac
    sleep 0.1
  done
  echo "$title"
}
echo "title after open: $(wait_title .html)"
shot 1-opened

# The table of contents: its tab, then the keyboard down to "Chapter II" (Home, expand the
# title, find "Chapter I", expand it, go down past its content item). "Chapter III" is the
# row right below; click it.
xdotool mousemove --window "$main" 30 "$tabs_y" click 1
xdotool mousemove --window "$main" 110 700 click 1
xdotool key Home Right
xdotool type --delay 20 "Chapter I"
sleep 1
xdotool key Right Down Down
echo "title on Chapter II: $(wait_title 19002-h-0.htm.html)"
shot 2-chapter-two
read -r row height <<<"$(highlight_row 150)"
[ -n "${row:-}" ] || { echo "FAIL: no selected row in the table of contents" >&2; exit 1; }
echo "selected row at y=$row, rows $height pixels high; clicking \"$entry\" at y=$((row + height))"
xdotool mousemove --window "$main" 120 $((row + height)) click 1
title="$(wait_title "$entry_file")"
echo "title after clicking \"$entry\": $title"
shot 3-chapter-three
case "$title" in *"$entry_file"*) ;; *) echo "FAIL: \"$entry\" did not open $entry_file" >&2; exit 1 ;; esac
# Double-click and Enter on the entry shown already open nothing new and keep it.
xdotool mousemove --window "$main" 120 $((row + height)) click --repeat 2 1
xdotool key Return
sleep 0.5
echo "title after double-click and Enter: $(xdotool getwindowname "$main")"

# The reading order: its tab, expand the fourth entry (Home, Down three times, Right), then its
# file row is two rows below: the media type comes first.
xdotool mousemove --window "$main" 105 "$tabs_y" click 1
xdotool mousemove --window "$main" 110 700 click 1
xdotool key Home Down Down Down Right
sleep 0.5
shot 4-spine
read -r row height <<<"$(highlight_row 150)"
[ -n "${row:-}" ] || { echo "FAIL: no selected row in the reading order" >&2; exit 1; }
xdotool mousemove --window "$main" 120 $((row + 2 * height)) click 1
title="$(wait_title "$spine_file")"
echo "title after clicking the fourth reading-order file: $title"
shot 5-spine-chapter
case "$title" in *"$spine_file"*) ;; *) echo "FAIL: the reading order did not open $spine_file" >&2; exit 1 ;; esac
echo "PASS: \"$entry\" and the reading order open their chapters"
