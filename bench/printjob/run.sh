#!/usr/bin/env bash
# Times `kvx-printjob --text` (text laid out on A4 pages, spooled, converted to PDF) on
# generated texts and prints pages per second and peak resident memory. The printer is
# installed into a scratch platform root from the build's programs, so nothing of the
# machine's own printer is used or changed.
# Usage: bench/printjob/run.sh [build/bin] [runs] [pages...]
#   default: 3 runs of 1000 pages, and one run each of 1 and 5000 pages for memory.
#   BENCH_LARGE_MB=100 also prints a text of that many megabytes once (bounded memory).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bin="$(cd "${1:-$here/../../build/bin}" && pwd)"
runs="${2:-3}"
shift $(( $# > 2 ? 2 : $# ))
scratch="$(mktemp -d "${TMPDIR:-/tmp}/bench-printjob-XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=offscreen KVX_PLATFORM_ROOT="$scratch/root" TMPDIR="$scratch/tmp" \
       XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/run" \
       KVX_OBJECT_NAMESPACE="bench-printjob-$$-"
mkdir -p "$TMPDIR" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
(cd "$bin" && ./pdfsetup /i) || true # pdfsetup always ends with 1; the run below tells
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# One run: "<wall s> <cpu s> <peak KB> <pages>" of printing $1.
print_text() {
  rm -f "$scratch/out.pdf"
  /usr/bin/time -o "$scratch/time" -f "%e %U %S %M" \
    "$bin/kvx-printjob" --text "$1" --output "$scratch/out.pdf" >/dev/null 2>"$scratch/stderr" \
    || { cat "$scratch/stderr" >&2; echo "kvx-printjob failed on $1" >&2; exit 1; }
  local pages
  pages=$(pdfinfo "$scratch/out.pdf" | awk '/^Pages:/ {print $2}')
  read -r wall user sys peak <"$scratch/time"
  echo "$wall $(echo "$user + $sys" | bc) $peak $pages"
}

report() { # label wall cpu peak pages
  awk -v l="$1" -v w="$2" -v c="$3" -v m="$4" -v p="$5" 'BEGIN {
    printf "%-22s %6d pages  wall %7.2f s %7.1f pages/s  CPU %7.2f s %7.1f pages/s  peak %6.1f MB\n",
           l, p, w, p / w, c, p / c, m / 1024 }'
}

echo "machine: $(nproc) cores, load $(uptime | sed 's/.*load average: //')"
python3 "$here/make_text.py" "$scratch/t1000.txt" 1000
walls=(); cpus=(); peaks=()
for _ in $(seq "$runs"); do
  read -r wall cpu peak pages < <(print_text "$scratch/t1000.txt")
  report "1000 pages, one run" "$wall" "$cpu" "$peak" "$pages"
  walls+=("$wall"); cpus+=("$cpu"); peaks+=("$peak")
done
report "1000 pages, median" "$(printf '%s\n' "${walls[@]}" | median)" "$(printf '%s\n' "${cpus[@]}" | median)" \
  "$(printf '%s\n' "${peaks[@]}" | median)" "$pages"

sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1 5000)
for size in "${sizes[@]}"; do
  python3 "$here/make_text.py" "$scratch/t.txt" "$size"
  read -r wall cpu peak pages < <(print_text "$scratch/t.txt")
  report "$size pages" "$wall" "$cpu" "$peak" "$pages"
done

if [ -n "${BENCH_LARGE_MB:-}" ]; then
  python3 "$here/make_text.py" "$scratch/large.txt" $(( BENCH_LARGE_MB * 1000000 / 3530 ))
  read -r wall cpu peak pages < <(print_text "$scratch/large.txt")
  report "$(du -m "$scratch/large.txt" | cut -f1) MB text" "$wall" "$cpu" "$peak" "$pages"
fi
echo "load after: $(uptime | sed 's/.*load average: //')"
