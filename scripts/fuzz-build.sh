#!/usr/bin/env bash
# Configures build-fuzz/ with clang and -DKVX_FUZZ=ON and builds the named fuzz targets in
# it at the lowest priority (the machine is shared). Used by the */fuzz/run.sh scripts.
#   scripts/fuzz-build.sh TARGET...
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DKVX_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
nice -n 19 cmake --build "$root/build-fuzz" --target "$@"
