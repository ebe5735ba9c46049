#!/usr/bin/env bash
# Under Xvfb with LANG=ko_KR.UTF-8: starts the editor on a book, opens the open-file dialog
# and then the Yes/No/Cancel question, and takes a screenshot of each, so one can see
# that Qt's stock buttons and labels are Korean.
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
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$scratch"; }
trap cleanup EXIT
export XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" TMPDIR="$scratch/tmp"
export KVX_PLATFORM_ROOT="$scratch/platform" LINDAR_STARTUP_WAIT_PERCENT=0
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$TMPDIR"

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp & pids+=($!)
export DISPLAY="$display"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
openbox & pids+=($!)

# Polls until the active window's name is not $1 (a dialog came up); gives up after 20 s.
wait_for_other_window() {
  for _ in $(seq 200); do
    name="$(xdotool getactivewindow getwindowname 2>/dev/null || true)"
    [ -n "$name" ] && [ "$name" != "$1" ] && return 0
    sleep 0.1
  done
  echo "no dialog came up" >&2; return 1
}

"$bin/lindar-cli" new "$scratch/book.epub" >/dev/null
"$bin/lindar" --register-component
LANG=ko_KR.UTF-8 LC_ALL= LANGUAGE= QT_QPA_PLATFORM=xcb "$bin/lindar" "$scratch/book.epub" & pids+=($!)
main="$(xdotool search --sync --onlyvisible --name 'Tolvo maker' | head -n 1)"
# The book opens after start-up: its title shows in the caption.
for _ in $(seq 200); do xdotool getwindowname "$main" | grep -q book && break; sleep 0.1; done
main_name="$(xdotool getwindowname "$main")"
echo "main window: $main_name"

xdotool windowactivate --sync "$main" key alt+o
wait_for_other_window "$main_name"
echo "open dialog: $(xdotool getactivewindow getwindowname)"
import -window root "$out/open-dialog.png"
xdotool key Escape

xdotool windowactivate --sync "$main" key alt+n
wait_for_other_window "$main_name"
echo "question: $(xdotool getactivewindow getwindowname)"
import -window root "$out/question.png"
xdotool key Escape

echo "screenshots: $out/open-dialog.png $out/question.png"
