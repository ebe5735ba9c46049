#!/usr/bin/env bash
# Builds the source viewer's line-scanner fuzz target with clang in build-fuzz/ and runs it,
# seeded from the markup inside the shared corpus of real books (XHTML, OPF, NCX, CSS, SVG)
# and the kit's own fixtures and chapter templates. Runs at the lowest priority: the machine
# is shared. One job that keeps going after a finding; each finding is kept as
# build-fuzz/line-scanner-*.
#   panes/fuzz/run.sh [SECONDS] [CORPUS-FOLDER]   (default 1800, ../shared/corpus/epub2)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
seconds="${1:-1800}"
books="${2:-${KVX_CORPUS_DIR:-$root/../../shared/corpus/epub2}}"
[ -d "$books" ] || books="$root/../shared/corpus/epub2"
"$root/scripts/fuzz-build.sh" line_scanner_fuzz
seeds="$root/build-fuzz/line-scanner-seeds"
corpus="$root/build-fuzz/line-scanner-corpus"
mkdir -p "$seeds" "$corpus"
markup='\.(xhtml|html|htm|xml|opf|ncx|css|svg)$'
for book in "$books"/*.epub; do
  [ -f "$book" ] || continue
  name="$(basename "$book" .epub)"
  while IFS= read -r member; do
    unzip -p "$book" "$member" >"$seeds/$name--${member//\//_}" 2>/dev/null || true
  done < <(unzip -Z1 "$book" 2>/dev/null | grep -iE "$markup" || true)
done
find "$root/template" "$root/package/tests/data" -type f | grep -iE "$markup" | while IFS= read -r fixture; do
  cp "$fixture" "$seeds/fixture--$(basename "$fixture")"
done
ASAN_OPTIONS=detect_leaks=0 nice -n 19 "$root/build-fuzz/bin/line_scanner_fuzz" -max_total_time="$seconds" \
  -max_len=65536 -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
  -fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 \
  -artifact_prefix="$root/build-fuzz/line-scanner-" "$corpus" "$seeds"
