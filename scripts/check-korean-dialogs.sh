#!/usr/bin/env bash
# Under Xvfb with LANG=ko_KR.UTF-8: starts the editor on a book, then opens the open-file
# dialog and the Yes/No/Cancel question, and takes a screenshot of each (and of the book's
# style question), so one can see that Qt's stock buttons and labels are Korean.
#   scripts/check-korean-dialogs.sh [BIN_FOLDER [OUT_FOLDER]]   default: build/bin, /tmp/lindar-korean
# Needs the Debian packages xvfb, openbox, xdotool and imagemagick.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bin="$(cd "${1:-$here/../build/bin}" && pwd)"
out="${2:-/tmp/lindar-korean}"
mkdir -p "$out"
for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null || { echo "missing $tool (apt-get install xvfb openbox xdotool imagemagick)" >&2; exit 2; }
done

scratch="$(mktemp -d "${TMPDIR:-/tmp}/lindar-korean-XXXXXX")"
pids=()
# The editor first, then the window manager, then the display.
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; wait "${pids[i]}" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT
export XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" TMPDIR="$scratch/tmp"
export KVX_PLATFORM_ROOT="$scratch/platform" LINDAR_STARTUP_WAIT_PERCENT=0
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$TMPDIR"

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp & pids+=($!)
export DISPLAY="$display"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
openbox & pids+=($!)

# The name of the active window, empty while there is none.
active_name() { xdotool getactivewindow getwindowname 2>/dev/null || true; }
# Polls until the active window's name satisfies the test "$@" on $name; gives up after 20 s.
wait_for_active() {
  for _ in $(seq 200); do
    name="$(active_name)"
    if [ -n "$name" ] && "$@"; then return 0; fi
    sleep 0.1
  done
  echo "timed out waiting for a window (active: '$(active_name)')" >&2; return 1
}
is_book_window() { [[ "$name" == *.epub* ]]; }
is_not_book_window() { [[ "$name" != *.epub* ]]; }
is_question() { [ "$name" = "Tolvo maker 편집툴" ]; } # the editor's message boxes carry this caption

"$bin/lindar-cli" new "$scratch/book.epub" >/dev/null
"$bin/lindar" --register-component
LANG=ko_KR.UTF-8 LC_ALL= LANGUAGE= QT_QPA_PLATFORM=xcb "$bin/lindar" "$scratch/book.epub" &
pids+=($!)

# Opening the book asks the style question (Yes/No): a Korean one, answered "No".
wait_for_active is_question
echo "style question: $(active_name)"
import -window root "$out/style-question.png"
xdotool key alt+n
wait_for_active is_book_window
echo "main window: $name"

xdotool key alt+o
wait_for_active is_not_book_window
echo "open dialog: $(active_name)"
import -window root "$out/open-dialog.png"
xdotool key Escape
wait_for_active is_book_window

# A new book while one is open: "epub 파일을 저장하시겠습니까?" with Yes, No and Cancel.
xdotool key alt+n
wait_for_active is_question
echo "save question: $(active_name)"
import -window root "$out/save-question.png"
xdotool key Escape

echo "screenshots: $out/style-question.png $out/open-dialog.png $out/save-question.png"
