#!/usr/bin/env bash
# Builds the book fuzz target with clang in build-fuzz/ and runs it, seeded from the shared
# corpus of real books (each book as it is, and its package files as a member list) and
# from a new book made by the skeleton. Runs at the lowest priority: the machine is shared.
# One job that keeps going after a finding; each finding is kept as build-fuzz/book-*.
#   cli/fuzz/run.sh [SECONDS] [CORPUS-FOLDER]   (default 1800, ../shared/corpus/epub2)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
seconds="${1:-1800}"
books="${2:-${KVX_CORPUS_DIR:-$root/../../shared/corpus/epub2}}"
[ -d "$books" ] || books="$root/../shared/corpus/epub2"
"$root/scripts/fuzz-build.sh" book_fuzz
seeds="$root/build-fuzz/book-seeds"
corpus="$root/build-fuzz/book-corpus"
mkdir -p "$seeds" "$corpus"
if [ -x "$root/build/bin/lindar-cli" ]; then
  XDG_DATA_HOME="$(mktemp -d)" "$root/build/bin/lindar-cli" new "$seeds/new-book.epub" >/dev/null 2>&1 || true
fi
for book in "$books"/*.epub "$seeds"/new-book.epub; do
  [ -f "$book" ] || continue
  name="$(basename "$book")"
  [ "$book" -ef "$seeds/$name" ] || cp "$book" "$seeds/$name"
  # The member-list form: the package files only, so that mutations reach the XML readers.
  list="$seeds/$name.members"
  : >"$list"
  while IFS= read -r member; do
    case "$member" in
      mimetype|*/) ;;
      *.xml|*.opf|*.ncx) printf '=== %s\n' "$member" >>"$list"; unzip -p "$book" "$member" >>"$list" 2>/dev/null || true
                        printf '\n' >>"$list" ;;
    esac
  done < <(unzip -Z1 "$book" 2>/dev/null || true)
  [ -s "$list" ] || rm -f "$list"
done
ASAN_OPTIONS=detect_leaks=0 nice -n 19 "$root/build-fuzz/bin/book_fuzz" -max_total_time="$seconds" \
  -rss_limit_mb=2048 -timeout=20 -max_len=262144 -print_final_stats=1 \
  -fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 \
  -artifact_prefix="$root/build-fuzz/book-" "$corpus" "$seeds"
