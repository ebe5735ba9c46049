#!/usr/bin/env bash
# README command 2: install what is missing, build, and run every test.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/install-deps.sh"
"$here/build.sh"
cd "$here/../build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "$@"
