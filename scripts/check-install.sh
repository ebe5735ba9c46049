#!/usr/bin/env bash
# From a clean checkout: builds what is installed, installs it into a temporary prefix,
# deletes the build folder and runs the programs from the installed copy
# (scripts/check-installed-copy.sh).
#   scripts/check-install.sh [BUILD_FOLDER]   default: build-install/ in the checkout
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$here/.."
build="${1:-build-install}"
"$here/install-deps.sh"
prefix="$(mktemp -d "${TMPDIR:-/tmp}/lindar-prefix-XXXXXX")"
trap 'rm -rf "$prefix"' EXIT

echo "== build $build and install into $prefix"
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target kvx_installed
cmake --install "$build" --prefix "$prefix" >/dev/null
echo "== delete $build"
rm -rf "$build"
"$here/check-installed-copy.sh" "$prefix"
