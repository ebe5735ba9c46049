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

# shellcheck source=x-session.sh
source "$here/x-session.sh" unzip python3
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
