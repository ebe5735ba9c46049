#!/usr/bin/env bash
# On a real X display (Xvfb + openbox), as a user would: start the editor, open a book through
# the open dialog, check that its first chapter shows text, type a word, save, and check the
# saved book with lindar-cli and unzip. Screenshots go to the output folder.
#
#   scripts/x-check-open-type-save.sh [BOOK.epub] [CHAPTER-MEMBER] [OUTPUT-FOLDER]
#
# Defaults: the shared corpus's calibre-quickstart-fra.epub (KVX_CORPUS_DIR, else the corpus
# beside the checkout), whose first chapter text/internal_titlepage.xhtml lies in another
# folder than its package document and NCX; programs from LINDAR_BIN_DIR, else build/bin.
# Exit status: 0 the word was saved, 1 it was not, 77 a tool or the book is missing (skip).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bin="${LINDAR_BIN_DIR:-$here/../build/bin}"
book="${1:-${KVX_CORPUS_DIR:-$here/../../shared/corpus/epub2}/calibre-quickstart-fra.epub}"
member="${2:-text/internal_titlepage.xhtml}"
out="${3:-$(mktemp -d /tmp/lindar-x-check-XXXXXX)}"
word="Lindarmot$$"

for tool in Xvfb openbox xdotool import unzip python3; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (scripts/packages.txt)" >&2; exit 77; }
done
[ -f "$book" ] || { echo "no book at $book" >&2; exit 77; }
[ -x "$bin/lindar" ] || { echo "build the editor first (scripts/build.sh)" >&2; exit 77; }

# A scratch user: profile, work folders and platform state of this run only.
scratch="$(mktemp -d /tmp/lindar-x-user-XXXXXX)"
export XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache"
export KVX_PLATFORM_ROOT="$scratch/platform" TMPDIR="$scratch/tmp" LINDAR_STARTUP_WAIT_PERCENT=0
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$TMPDIR" "$out"
target="$out/$(basename "$book")"
cp "$book" "$target"

# Xvfb picks a free display and names it on descriptor 3.
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$scratch/display" >"$out/xvfb.log" 2>&1 &
pids=("$!")
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$scratch"; }
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$scratch/display")" QT_QPA_PLATFORM=xcb
for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
openbox >"$out/openbox.log" 2>&1 &
pids+=("$!")

# Waits until a window whose name matches $1 shows; prints its id.
wait_window() {
  local found=""
  for _ in $(seq 300); do
    found="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)"
    [ -n "$found" ] && break
    sleep 0.1
  done
  echo "$found"
}
# Waits until the main window's title shows the chapter, with no unsaved mark
# ("book.epub - chapter.xhtml").
wait_book_title() {
  local title
  for _ in $(seq 100); do
    title="$(xdotool getwindowname "$main")"
    case "$title" in *" - ${member##*/}") break ;; esac
    sleep 0.1
  done
  echo "$title"
}
shot() { import -window root "$out/$1.png"; echo "screenshot: $out/$1.png"; }

"$bin/lindar" --register-component
"$bin/lindar" >"$out/lindar.log" 2>&1 &
lindar=$!
pids+=("$lindar")
main="$(wait_window 'Tolvo maker')"
xdotool windowactivate --sync "$main"
echo "editor window: $main"

# The open command (Alt+O), then the open dialog: type the book's path and press Enter.
xdotool key alt+o
for _ in $(seq 100); do
  dialog="$(xdotool getactivewindow)"
  [ "$dialog" != "$main" ] && break
  sleep 0.1
done
xdotool type --delay 5 "$target"
xdotool key Return

# The style question comes with the first chapter; Enter takes its default answer.
for _ in $(seq 100); do
  question="$(xdotool search --onlyvisible --name 'Tolvo maker 편집툴$' 2>/dev/null | grep -v "^$main$" | head -1 || true)"
  [ -n "$question" ] && break
  sleep 0.1
done
[ -n "$question" ] && xdotool windowactivate --sync "$question" key Return
echo "title after open: $(wait_book_title)"
shot 1-opened

# Type a word at the start of the chapter and save with Alt+S.
geometry="$(xdotool getwindowgeometry --shell "$main")"
eval "$geometry"
xdotool windowactivate --sync "$main"
xdotool mousemove --window "$main" $((WIDTH / 2)) $((HEIGHT / 2)) click 1
xdotool key ctrl+Home
xdotool type --delay 20 "$word "
shot 2-typed
echo "title after typing: $(xdotool getwindowname "$main")"
before="$(stat -c %Y.%s "$target")"
xdotool key alt+s
for _ in $(seq 200); do
  [ "$(stat -c %Y.%s "$target")" != "$before" ] && break
  sleep 0.1
done
echo "title after save: $(wait_book_title)"
shot 3-saved

# End the editor through its window; nothing is unsaved, so nothing is asked.
xdotool windowactivate --sync "$main" key alt+x
for _ in $(seq 100); do kill -0 "$lindar" 2>/dev/null || break; sleep 0.1; done
kill -0 "$lindar" 2>/dev/null && { echo "the editor did not end" >&2; kill "$lindar"; }
echo "work area after the editor ended: $(ls -A "$XDG_DATA_HOME/ePubModule" | wc -l) entries"

echo "--- lindar-cli info"
"$bin/lindar-cli" info "$target" | python3 -c 'import json,sys; d=json.load(sys.stdin); print("accepted:", d.get("accepted"), "firstDocument:", d.get("firstDocument"))'
echo "--- unzip -p $member | grep $word"
if unzip -p "$target" "$member" | grep -o "[^>]*$word[^<]*"; then
  echo "PASS: the typed word is in $member"
else
  echo "FAIL: the typed word is not in $member" >&2
  exit 1
fi
