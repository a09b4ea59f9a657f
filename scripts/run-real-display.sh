#!/usr/bin/env bash
# Runs the tests that drive the real main window once more on a real X display
# with a window manager (Xvfb and openbox), as a user's desktop runs them: the
# window manager places, activates and focuses windows, shortcuts and the
# pointer go through the X server, and nothing is handed over in one step as
# Qt's offscreen platform does.
#
#   scripts/run-real-display.sh [build folder]
#
# The display is a private one (Xvfb picks a free number); the log is kept in
# <build>/real-display.log.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/test}
program="$build/tests/test_app"
log=${STAVLIN_REAL_DISPLAY_LOG:-$build/real-display.log}
if [ ! -x "$program" ]; then
  echo "run-real-display: $program is missing; build $build first" >&2
  exit 2
fi
if ! command -v Xvfb >/dev/null || ! command -v openbox >/dev/null; then
  echo "run-real-display: Xvfb or openbox is missing (scripts/install-deps.sh installs them)" >&2
  exit 2
fi

xvfb_pid=""
wm_pid=""
stop_display() {
  if [ -n "$wm_pid" ]; then kill "$wm_pid" 2>/dev/null || true; wait "$wm_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -f "${fifo:-}"
}
trap stop_display EXIT

# Xvfb writes the number of the display it took to the descriptor it is given.
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 20 number <"$fifo" || { echo "run-real-display: Xvfb did not start" >&2; exit 2; }
export DISPLAY=":$number"
openbox >/dev/null 2>&1 &
wm_pid=$!
# The window manager is ready once it has claimed the screen.
for _ in $(seq 1 100); do
  if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then break; fi
  sleep 0.1
done

export QT_QPA_PLATFORM=xcb
export LSAN_OPTIONS="suppressions=$PWD/tests/real-display.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
# The real JACK ports are tested on their own by ./test.sh.
echo "Running $program on display $DISPLAY with openbox"
if timeout 900 "$program" --gtest_filter='-JackPorts.*' >"$log" 2>&1; then
  grep -E '^\[  PASSED  \]' "$log"
else
  grep -E '^\[  (FAILED|PASSED)  \]|Failure|LeakSanitizer' "$log" | head -60
  # What the program printed last (an abort's reason, a failure's values).
  echo "run-real-display: the end of the log:" >&2
  tail -n 30 "$log" >&2
  echo "run-real-display: failures on the real display; the whole log is $log" >&2
  exit 1
fi
