#!/usr/bin/env bash
# Times the editor's open of a generated large book (2,000 chapters and 300 pictures by
# default) up to the first chapter shown, against a plain `unzip -q` of the same book.
# Usage: bench/open/run.sh [build/bin] [runs] [chapters] [pictures]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bin="${1:-$here/../../build/bin}"
runs="${2:-3}"
scratch="$(mktemp -d "${TMPDIR:-/tmp}/bench-open-XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
export XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" KVX_PLATFORM_ROOT="$scratch/platform"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

python3 "$here/../resave/make_book.py" "$scratch/src" "${3:-2000}" "${4:-300}"
(cd "$scratch/src" && zip -qX0 "$scratch/large.epub" mimetype && zip -qrX "$scratch/large.epub" . -x mimetype)
echo "book: $(du -m "$scratch/large.epub" | cut -f1) MB packed, $(unzip -Z1 "$scratch/large.epub" | wc -l) members"

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
ours=(); stalls=(); theirs=()
for _ in $(seq "$runs"); do
  report="$("$bin/bench_open" "$scratch/large.epub")"
  ours+=("$(sed -n 's/^open to first chapter: \([0-9]*\) ms$/\1/p' <<<"$report")")
  stalls+=("$(sed -n 's/^longest stall of the window: \([0-9]*\) ms$/\1/p' <<<"$report")")
  rm -rf "$scratch/plain"
  start=$(date +%s%N); unzip -q "$scratch/large.epub" -d "$scratch/plain"; end=$(date +%s%N)
  theirs+=("$(( (end - start) / 1000000 ))")
done
ours_median=$(printf '%s\n' "${ours[@]}" | median)
theirs_median=$(printf '%s\n' "${theirs[@]}" | median)
echo "editor open to first chapter: ${ours[*]} ms (median $ours_median ms)"
echo "longest stall of the window:  ${stalls[*]} ms"
echo "unzip -q:                     ${theirs[*]} ms (median $theirs_median ms)"
echo "ratio (editor open / unzip): $(echo "scale=2; $ours_median / $theirs_median" | bc)"
