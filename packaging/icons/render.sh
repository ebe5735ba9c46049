#!/usr/bin/env bash
# Renders the PNG sizes of the icon from its SVG (needs rsvg-convert, Debian librsvg2-bin).
# The PNGs are kept in the repository, so a build does not need the tool.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}"
  rsvg-convert -w "$size" -h "$size" org.lindar.Lindar.svg -o "${size}x${size}/org.lindar.Lindar.png"
done
