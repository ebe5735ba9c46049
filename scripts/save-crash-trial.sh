#!/usr/bin/env bash
# Crash-safe save trial: kills `lindar-cli resave BOOK BOOK` (the book saved over itself)
# at random moments, RUNS times (odd rounds SIGKILL, a crash; even rounds SIGTERM, a stop),
# and after every round checks that the book still opens whole (`lindar-cli info` accepts
# it, `unzip -t` finds every member sound). At the end one save runs to completion; after
# it no temporary archive (.lindar-saving-*) and no work folder may be left.
#   scripts/save-crash-trial.sh [RUNS] [BOOK]   (default 100, the corpus's gutenberg-alice-underground)
# LINDAR_CLI points at another build. Exit status 0 when every check held.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
runs="${1:-100}"
book="${2:-${KVX_CORPUS_DIR:-$here/../../shared/corpus/epub2}/gutenberg-alice-underground.epub}"
[ -f "$book" ] || book="$here/../../../shared/corpus/epub2/gutenberg-alice-underground.epub"
cli="${LINDAR_CLI:-$here/../build/bin/lindar-cli}"
scratch="$(mktemp -d "${TMPDIR:-/tmp}/save-trial-XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
export XDG_DATA_HOME="$scratch/data"
target="$scratch/book.epub"
cp "$book" "$target"

opens_whole() {
  "$cli" info "$target" >"$scratch/info.json" 2>/dev/null && grep -q '"accepted":true' "$scratch/info.json" \
    && unzip -tq "$target" >/dev/null 2>&1
}
leftovers() { find "$scratch" -maxdepth 1 -name '.lindar-saving-*' | wc -l; }

opens_whole || { echo "the book does not open before the trial: $book" >&2; exit 2; }
start=$(date +%s%N)
"$cli" resave "$target" "$target"
save_ms=$(( ($(date +%s%N) - start) / 1000000 ))
echo "book: $(basename "$book"), one save takes ${save_ms} ms; killing at 0..$((save_ms * 6 / 5)) ms"

intact=0; broken=0; killed=0; finished=0; max_left=0
for round in $(seq "$runs"); do
  signal=KILL; [ $((round % 2)) -eq 0 ] && signal=TERM
  "$cli" resave "$target" "$target" >/dev/null 2>&1 &
  pid=$!
  sleep "$(awk -v ms="$save_ms" -v r="$RANDOM" 'BEGIN { printf "%.3f", ms * 1.2 * r / 32767 / 1000 }')"
  if kill -s "$signal" "$pid" 2>/dev/null; then killed=$((killed + 1)); fi
  wait "$pid" 2>/dev/null && finished=$((finished + 1)) || true
  if opens_whole; then intact=$((intact + 1)); else broken=$((broken + 1)); echo "round $round ($signal): the book is broken" >&2; fi
  left=$(leftovers); [ "$left" -gt "$max_left" ] && max_left=$left
done
"$cli" resave "$target" "$target"
final_left=$(leftovers)
work_left=$(find "$XDG_DATA_HOME/ePubModule" -mindepth 1 -maxdepth 1 2>/dev/null | wc -l)
echo "rounds: $runs (signal sent while saving: $killed, save had already finished: $finished)"
echo "book opened whole afterwards: $intact, broken: $broken"
echo "temporary archives left between rounds: at most $max_left; after the next complete save: $final_left"
echo "work folders or locks left after the next complete save: $work_left"
[ "$broken" -eq 0 ] && [ "$final_left" -eq 0 ] && [ "$work_left" -eq 0 ]
