#!/usr/bin/env bash
# On a real X display (Xvfb + openbox): pictures of the ribbon's "홈" tab, its key tips, the
# "서식" tab, a tool tip, and of the chapter after Ctrl+B on a word chosen by double-click.
#
#   scripts/x-shots-ribbon.sh [BOOK.epub] [OUTPUT-FOLDER] [WORD-X WORD-Y]
#
# Default book: the shared corpus's calibre-quickstart-eng.epub, whose title page shows the
# plain word "Licensed" at (280, 477) of the window. Exit status: 0 the pictures were
# taken, 77 a tool or the book is missing (skip).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bin="${LINDAR_BIN_DIR:-$here/../build/bin}"
book="${1:-${KVX_CORPUS_DIR:-$here/../../shared/corpus/epub2}/calibre-quickstart-eng.epub}"
out="${2:-$(mktemp -d /tmp/lindar-x-ribbon-XXXXXX)}"
word_x="${3:-280}" word_y="${4:-477}"

# shellcheck source=x-session.sh
set --  # the session takes its own arguments as tools to check
source "$here/x-session.sh"
xdotool windowmove --sync "$main" 0 0 windowsize --sync "$main" 1280 880
sleep 1
shot ribbon-home
# The save button's tool tip names its keys.
xdotool mousemove --window "$main" 205 60
sleep 2
shot ribbon-tooltip
xdotool mousemove --window "$main" 640 600

# Alt alone shows the key tips; "6" opens the sixth tab, "서식", and Esc puts the tips away.
xdotool key alt
sleep 0.5
shot ribbon-key-tips
xdotool key 6
sleep 0.5
xdotool key Escape Escape
sleep 0.5
shot ribbon-format

# The chapter: a word selected by double-click, then Ctrl+B.
xdotool mousemove --window "$main" "$word_x" "$word_y" click --repeat 2 --delay 80 1
sleep 0.3
xdotool key ctrl+b
sleep 0.5
shot chapter-bold-selected
xdotool key Right
sleep 0.5
shot chapter-bold

# The look choice through its key tip: the seventh look, 216, draws the window dark.
xdotool key alt
sleep 0.3
xdotool key l
sleep 0.5
xdotool key Down Down Down Down Down Down Down Return
sleep 0.5
shot look-216
