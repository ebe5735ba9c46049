#!/bin/sh
# What an edit keeps, over every XHTML chapter of the accepted corpus books.
#   bench/tdx/corpus.sh [--epubcheck]
# With --epubcheck each edited book is packed again and checked by epubcheck beside the
# original; the error counts of both are printed.
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
corpus=${KVX_CORPUS:-/work/shared/corpus/epub2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/build/bin/bench_tdx_corpus" "$corpus" "$work"
[ "$1" = "--epubcheck" ] || exit 0
errors() { java -jar /usr/bin/epubcheck "$1" 2>&1 | grep -c '^ERROR' || true; }
for folder in "$work"/*/; do
    name=$(basename "$folder")
    edited="$work/$name.epub"
    (cd "$folder" && zip -qX0 "$edited" mimetype && zip -qXr9D "$edited" . -x mimetype)
    echo "$name: epubcheck errors $(errors "$corpus/$name.epub") before, $(errors "$edited") after"
done
