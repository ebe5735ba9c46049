#!/usr/bin/env bash
# On a real X display (Xvfb + openbox), as a user would: open a book through the open
# dialog, select a chapter's content item in the table of contents, right-click it and
# choose "소스보기", and check that the source window comes up with coloured source (tag
# blue and value red pixels in its text). Screenshots go to the output folder.
#
#   scripts/x-check-source-viewer.sh [BOOK.epub] [OUTPUT-FOLDER]
#
# Default book: the shared corpus's gutenberg-alice-underground.epub.
# Exit status: 0 the source showed coloured, 1 it did not, 77 a tool or the book is missing (skip).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bin="${LINDAR_BIN_DIR:-$here/../build/bin}"
book="${1:-${KVX_CORPUS_DIR:-$here/../../shared/corpus/epub2}/gutenberg-alice-underground.epub}"
out="${2:-$(mktemp -d /tmp/lindar-x-source-XXXXXX)}"

# shellcheck source=x-session.sh
source "$here/x-session.sh" convert
xdotool windowmove --sync "$main" 0 0 windowsize --sync "$main" 1280 880
tabs_y=$((880 - 36))
sleep 1

# The table of contents: its tab, then down to the first entry's content item.
xdotool mousemove --window "$main" 30 "$tabs_y" click 1
xdotool mousemove --window "$main" 110 700 click 1
xdotool key Home Right Down Right Down
sleep 1
read -r row height <<<"$(highlight_row 150)"
[ -n "${row:-}" ] || { echo "FAIL: no selected row in the table of contents" >&2; exit 1; }
shot 1-content-selected
# Right-click the selected row; "소스보기" is the menu's first entry.
xdotool mousemove --window "$main" 120 "$row" click 3
sleep 0.5
shot 2-menu
xdotool key Down Return
viewer="$(wait_window '^소스보기$')"
[ -n "$viewer" ] || { echo "FAIL: no source window" >&2; exit 1; }
# The file comes on the first tick and the visible lines are coloured with it.
sleep 1.5
import -window "$viewer" "$out/3-source-viewer.png"
echo "screenshot: $out/3-source-viewer.png"
shot 4-screen
count() { convert "$out/3-source-viewer.png" -fuzz 20% -fill black +opaque "$1" -fill white -opaque "$1" -format '%[fx:mean*w*h]' info:; }
blue="$(count 'rgb(10,10,255)')"
red="$(count 'rgb(255,10,10)')"
echo "tag-blue pixels: $blue, value-red pixels: $red"
xdotool windowactivate --sync "$viewer" key Escape
sleep 0.3
[ -n "$(xdotool search --onlyvisible --name '^소스보기$' 2>/dev/null | head -1 || true)" ] \
  && echo "Escape stays with the source text: the window is still open"
if [ "${blue%.*}" -gt 50 ] && [ "${red%.*}" -gt 50 ]; then
  echo "source viewer shows coloured source"
else
  echo "FAIL: the source is not coloured" >&2
  exit 1
fi
