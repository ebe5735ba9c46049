#!/usr/bin/env bash
# Configures (once) and builds everything into build/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja
cmake --build build
