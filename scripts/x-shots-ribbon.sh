#!/usr/bin/env bash
# On a real X display (Xvfb + openbox): pictures of the ribbon's "홈" tab, its key tips, the
# "서식" tab, and of the chapter after Ctrl+B on its first word.
#
#   scripts/x-shots-ribbon.sh [BOOK.epub] [OUTPUT-FOLDER]
#
# Default book: the shared corpus's gutenberg-alice-underground.epub. Exit status: 0 the
# pictures were taken, 77 a tool or the book is missing (skip).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bin="${LINDAR_BIN_DIR:-$here/../build/bin}"
book="${1:-${KVX_CORPUS_DIR:-$here/../../shared/corpus/epub2}/gutenberg-alice-underground.epub}"
out="${2:-$(mktemp -d /tmp/lindar-x-ribbon-XXXXXX)}"

# shellcheck source=x-session.sh
source "$here/x-session.sh"
xdotool windowmove --sync "$main" 0 0 windowsize --sync "$main" 1280 880
sleep 1
shot ribbon-home

# Alt alone shows the key tips; "6" opens the sixth tab, "서식", and Esc puts the tips away.
xdotool key alt
sleep 0.5
shot ribbon-key-tips
xdotool key 6
sleep 0.5
xdotool key Escape Escape
sleep 0.5
shot ribbon-format

# The chapter: the first word selected with the keys, then Ctrl+B.
xdotool mousemove --window "$main" 640 520 click 1
xdotool key ctrl+Home ctrl+shift+Right
xdotool key ctrl+b
sleep 0.5
shot chapter-bold-selected
xdotool key Right
sleep 0.5
shot chapter-bold
