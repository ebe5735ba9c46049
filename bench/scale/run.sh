#!/usr/bin/env bash
# Scale of `lindar-cli info` and `resave` on crafted books: a table of contents nested
# 20,000 deep, a one-line package of 700,000 manifest items (about 50 MB) and an archive of
# 100,000 members, each also at half its size to show that the cost grows linearly. Prints
# seconds and peak memory per run, and seconds per 100,000 elements at full size.
# Usage: bench/scale/run.sh [path/to/lindar-cli]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cli="${1:-$here/../../build/bin/lindar-cli}"
scratch="$(mktemp -d "${TMPDIR:-/tmp}/bench-scale-XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
export XDG_DATA_HOME="$scratch/data"

measure() { # kind size command...
  local kind=$1 size=$2; shift 2
  /usr/bin/time -f "%e %M" -o "$scratch/time" "$@" >/dev/null 2>"$scratch/err" || { cat "$scratch/err" >&2; return 1; }
  read -r seconds kilobytes <"$scratch/time"
  printf '%-9s %-7s %8d elements  %7.2f s  %6d MB  %5.2f s per 100,000\n' "$kind" "$2" "$size" "$seconds" \
    $((kilobytes / 1024)) "$(echo "$seconds * 100000 / $size" | bc -l)"
}

for shape in "deep-ncx 20000" "wide-opf 700000" "members 100000"; do
  read -r kind full <<<"$shape"
  for size in $((full / 2)) "$full"; do
    book="$(python3 "$here/make_books.py" "$scratch" "$kind" "$size")"
    measure "$kind" "$size" "$cli" info "$book"
    measure "$kind" "$size" "$cli" resave "$book" "$scratch/out.epub"
    rm -f "$book" "$scratch/out.epub"
  done
done
