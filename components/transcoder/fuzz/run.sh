#!/usr/bin/env bash
# Builds the EMF fuzz target with clang in build-fuzz/ and runs it from the fixture corpus.
# Leak detection is off: fontconfig keeps its caches for the life of the process.
#   components/transcoder/fuzz/run.sh [SECONDS]     (default 600)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
seconds="${1:-600}"
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DKVX_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build-fuzz" --target emf_fuzz emf_corpus
corpus="$root/build-fuzz/emf-corpus"
"$root/build-fuzz/bin/emf_corpus" "$corpus"
ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen "$root/build-fuzz/bin/emf_fuzz" -max_total_time="$seconds" -rss_limit_mb=2048 \
  -timeout=10 -detect_leaks=0 -print_final_stats=1 "$corpus"
