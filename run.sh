#!/usr/bin/env bash
# Builds a release Stavlin and starts the editor. Arguments go to the editor.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

build=build/release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSTAVLIN_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target stavlin

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Stavlin needs a graphical display, and none is set (DISPLAY and WAYLAND_DISPLAY are empty)." >&2
  echo "Start it from a desktop session, or under a virtual display: xvfb-run ./run.sh" >&2
  exit 1
fi
exec "$build/stavlin" "$@"
