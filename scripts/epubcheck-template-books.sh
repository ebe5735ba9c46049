#!/usr/bin/env bash
# Makes a new book from each delivered template (the editor tests NewFileCommand and
# StartupChooserTemplate, on the offscreen platform), saves each with a title and an author,
# and runs epubcheck on every book. Slow (epubcheck takes 10-30 s a book): not part of the
# tests.
#
#   scripts/epubcheck-template-books.sh
#
# LINDAR_BIN_DIR names another build's bin folder (default: build/bin of this checkout),
# EPUBCHECK_JAR another epubcheck jar (default: /usr/bin/epubcheck).
# Exit status: 0 no book has an error, 1 some book has, 2 usage or tool failure.
set -uo pipefail
export LC_ALL=C.UTF-8

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=epubcheck-functions.sh
source "$here/epubcheck-functions.sh"
keep_editor_test_books epubcheck-template-books KVX_TEMPLATE_BOOKS_OUT 'NewFileCommand.*:StartupChooserTemplate.*'

failed=0
shopt -s nullglob
books=("$work/books"/*.epub)
[[ ${#books[@]} -gt 0 ]] || { echo "epubcheck-template-books: the test kept no book" >&2; exit 2; }
for book in "${books[@]}"; do
    name="$(basename "$book")"
    epubcheck "$book" "$work/$name.summary" || exit 2
    if grep -qE '^(FATAL|ERROR) ' "$work/$name.summary"; then
        marker='!!'
        failed=1
    else
        marker='  '
    fi
    printf '%s %-34s %s\n' "$marker" "$name" "$(describe "$work/$name.summary")"
done
exit "$failed"
