#!/usr/bin/env bash
# README command 1: install what is missing, build, and start the editor.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/install-deps.sh"
"$here/build.sh"
bin="$here/../build/bin"
if [ -x "$bin/lindar" ]; then
  # The word-processor component's install step: the editor refuses to start without it.
  "$bin/lindar" --register-component
  exec "$bin/lindar" "$@"
fi
exec "$bin/lindar-cli" --help
