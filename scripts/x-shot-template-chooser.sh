#!/usr/bin/env bash
# On a real X display (Xvfb + openbox): starts the editor and takes a picture of the
# template chooser its start-up shows, once all five thumbnails are in (four come at once,
# the fifth on the next 100 ms tick).
#
#   scripts/x-shot-template-chooser.sh [OUTPUT-FOLDER]
#
# Programs from LINDAR_BIN_DIR, else build/bin. Writes template-chooser.png (the dialog) and
# template-chooser-screen.png (the whole screen). Exit status: 0 pictures taken, 1 no
# chooser came up, 77 a tool is missing (skip).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bin="${LINDAR_BIN_DIR:-$here/../build/bin}"
out="${1:-$(mktemp -d /tmp/lindar-x-chooser-XXXXXX)}"

# shellcheck source=x-display.sh
source "$here/x-display.sh" import # (naming a tool keeps our own arguments out of its list)
start_editor
[ -n "$chooser" ] || { echo "FAIL: no template chooser at start-up" >&2; exit 1; }
xdotool windowactivate --sync "$chooser"
sleep 1 # a few ticks of the thumbnail timer
import -window "$chooser" "$out/template-chooser.png"
echo "screenshot: $out/template-chooser.png"
shot template-chooser-screen
