#!/usr/bin/env bash
# Builds the server-text fuzz target with clang in build-fuzz/ and runs it from the answers
# in online/fuzz/corpus, at the lowest priority (the machine is shared).
#   online/fuzz/run.sh [SECONDS]     (default 1800)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
seconds="${1:-1800}"
"$root/scripts/fuzz-build.sh" server_text_fuzz
corpus="$root/build-fuzz/server-text-corpus"
mkdir -p "$corpus"
ASAN_OPTIONS=detect_leaks=0 nice -n 19 "$root/build-fuzz/bin/server_text_fuzz" -max_total_time="$seconds" \
  -max_len=2048 -timeout=10 -print_final_stats=1 -artifact_prefix="$root/build-fuzz/server-text-" \
  "$corpus" "$root/online/fuzz/corpus"
