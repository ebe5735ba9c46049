#!/usr/bin/env bash
# Times `lindar-cli resave` on a generated large book (by default 2,000 chapters and 300
# incompressible pictures, about 50 MB) against `unzip -q` plus `zip -qr` of the same content.
# Usage: bench/resave/run.sh [path/to/lindar-cli] [runs] [chapters] [pictures]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cli="${1:-$here/../../build/bin/lindar-cli}"
runs="${2:-3}"
chapters="${3:-2000}"
pictures="${4:-300}"
scratch="$(mktemp -d "${TMPDIR:-/tmp}/bench-resave-XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
# Work folders of this run stay inside the scratch folder.
export XDG_DATA_HOME="$scratch/data"

python3 "$here/make_book.py" "$scratch/src" "$chapters" "$pictures"
(cd "$scratch/src" && zip -qX0 "$scratch/large.epub" mimetype && zip -qrX "$scratch/large.epub" . -x mimetype)
echo "book: $(du -m "$scratch/large.epub" | cut -f1) MB packed, $(du -sm "$scratch/src" | cut -f1) MB unpacked," \
     "$(unzip -Z1 "$scratch/large.epub" | wc -l) members"

seconds() { local start end; start=$(date +%s.%N); "$@"; end=$(date +%s.%N); echo "$end - $start" | bc; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

ours=(); theirs=()
for _ in $(seq "$runs"); do
  rm -f "$scratch/out.epub"
  ours+=("$(seconds "$cli" resave "$scratch/large.epub" "$scratch/out.epub")")
  rm -rf "$scratch/plain" "$scratch/plain.epub"
  theirs+=("$(seconds bash -c "unzip -q '$scratch/large.epub' -d '$scratch/plain' && cd '$scratch/plain' \
      && zip -qX0 '$scratch/plain.epub' mimetype && zip -qrX '$scratch/plain.epub' . -x mimetype")")
done
unzip -tq "$scratch/out.epub" >/dev/null
ours_median=$(printf '%s\n' "${ours[@]}" | median)
theirs_median=$(printf '%s\n' "${theirs[@]}" | median)
echo "lindar-cli resave:   ${ours[*]} s (median $ours_median s), output $(du -m "$scratch/out.epub" | cut -f1) MB"
echo "unzip -q + zip -qr:  ${theirs[*]} s (median $theirs_median s), output $(du -m "$scratch/plain.epub" | cut -f1) MB"
echo "ratio (lindar-cli / unzip+zip): $(echo "scale=2; $ours_median / $theirs_median" | bc)"
if command -v /usr/bin/time >/dev/null; then
  rm -f "$scratch/out.epub"
  /usr/bin/time -f "lindar-cli resave peak memory: %M KB" "$cli" resave "$scratch/large.epub" "$scratch/out.epub"
fi
