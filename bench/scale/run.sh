#!/usr/bin/env bash
# Scale of `lindar-cli info` and `resave` on crafted books: a table of contents nested
# 20,000 deep, a one-line package of 700,000 manifest items (about 50 MB) and an archive of
# 100,000 members, each also at half its size to show that the cost grows linearly. Prints
# per run the wall seconds, the CPU seconds (user + system: the machine is shared, so wall
# time depends on what else runs), peak memory, wall seconds per 100,000 elements and the
# one-minute load average at the end of the run.
# Usage: bench/scale/run.sh [path/to/lindar-cli [KIND...]]   (KIND: deep-ncx, wide-opf, members)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cli="${1:-$here/../../build/bin/lindar-cli}"
shift || true
kinds=" ${*:-deep-ncx wide-opf members} "
scratch="$(mktemp -d "${TMPDIR:-/tmp}/bench-scale-XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
export XDG_DATA_HOME="$scratch/data"

measure() { # kind size command...
  local kind=$1 size=$2; shift 2
  /usr/bin/time -f "%e %M %U %S" -o "$scratch/time" "$@" >/dev/null 2>"$scratch/err" || { cat "$scratch/err" >&2; return 1; }
  read -r seconds kilobytes user system <"$scratch/time"
  read -r load _ </proc/loadavg
  printf '%-9s %-7s %8d elements  %7.2f s  (CPU %6.2f s)  %6d MB  %5.2f s per 100,000  load %s\n' "$kind" "$2" \
    "$size" "$seconds" "$(echo "$user + $system" | bc -l)" $((kilobytes / 1024)) \
    "$(echo "$seconds * 100000 / $size" | bc -l)" "$load"
}

for shape in "deep-ncx 20000" "wide-opf 700000" "members 100000"; do
  read -r kind full <<<"$shape"
  [[ "$kinds" == *" $kind "* ]] || continue
  for size in $((full / 2)) "$full"; do
    book="$(python3 "$here/make_books.py" "$scratch" "$kind" "$size")"
    measure "$kind" "$size" "$cli" info "$book"
    measure "$kind" "$size" "$cli" resave "$book" "$scratch/out.epub"
    rm -f "$book" "$scratch/out.epub"
  done
done
