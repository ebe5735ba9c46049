#!/usr/bin/env bash
# Adds a chapter, inserts a bookmark and deletes a chapter in a few books (the editor test
# StructureEdits, on the offscreen platform), saves them, and runs epubcheck on each book
# before and after. A code found only after the edits, or more often, is marked `!!`.
# Slow (epubcheck takes 10-30 s a book): not part of the tests.
#
#   scripts/epubcheck-structure-edits.sh
#
# LINDAR_BIN_DIR names another build's bin folder (default: build/bin of this checkout),
# EPUBCHECK_JAR another epubcheck jar (default: /usr/bin/epubcheck).
# Exit status: 0 no book gained a code, 1 some book did, 2 usage or tool failure.
set -uo pipefail
export LC_ALL=C.UTF-8

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=epubcheck-functions.sh
source "$here/epubcheck-functions.sh"
keep_editor_test_books epubcheck-structure-edits KVX_STRUCTURE_EDITS_OUT 'StructureEdits.*'

flagged=0
shopt -s nullglob
for before in "$work/books"/*.before.epub; do
    name="$(basename "$before" .before.epub)"
    after="$work/books/$name.after.epub"
    epubcheck "$before" "$work/$name.before" || exit 2
    epubcheck "$after" "$work/$name.after" || exit 2
    echo "$name"
    echo "  before: $(describe "$work/$name.before")"
    echo "  after:  $(describe "$work/$name.after")"
    # Codes the edited book has more often than the original.
    gained="$(join -a1 -e0 -o '1.1,1.2,1.3,2.2' <(awk '{print $1"/"$2, $1, $3}' "$work/$name.after" | sort) \
        <(awk '{print $1"/"$2, $3}' "$work/$name.before" | sort) 2>/dev/null |
        awk '$3 > $4 && $2 != "WARNING" { print "!! " $1 " ×" $3 " (was " $4 ")" }')"
    if [[ -n $gained ]]; then
        echo "$gained" | sed 's/^/  /'
        flagged=$((flagged + 1))
    fi
done
echo "books: $(ls "$work/books"/*.before.epub | wc -l), with a new error: $flagged"
[[ $flagged -eq 0 ]]
