#!/usr/bin/env bash
# Builds Stavlin with warnings as errors and the address and undefined-behaviour
# sanitizers, then runs every test. Exits non-zero on any failure.
#
# Tests run twice: ctest runs each test in a process of its own, then every
# test program runs whole, its tests in a shuffled order, as a user's session
# runs one command after another in one process. The shuffle's seed is printed;
# STAVLIN_SHUFFLE_SEED=<seed> ./test.sh replays that order.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

build=build/test
jobs=$(nproc)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DSTAVLIN_WERROR=ON -DSTAVLIN_SANITIZE=ON -DSTAVLIN_BENCH=ON >/dev/null
cmake --build "$build" -j "$jobs"

# A JACK server of the tests' own, on the dummy driver (no sound card), under
# a private name so that no other server on the machine is touched; the tests
# that drive real MIDI ports use it and skip, saying why, when it would not
# start. A short period keeps the ports' timing fine (1.3 ms).
export STAVLIN_TEST_JACK_SERVER="stavlin-test-$$"
jack_pid=""
stop_jack() { if [ -n "$jack_pid" ]; then kill "$jack_pid" 2>/dev/null || true; wait "$jack_pid" 2>/dev/null || true; fi; }
trap stop_jack EXIT
if command -v jackd >/dev/null; then
  jackd --realtime --silent -n "$STAVLIN_TEST_JACK_SERVER" -d dummy -r 48000 -p 64 >"$build/jackd.log" 2>&1 &
  jack_pid=$!
  timeout 10 jack_wait -w -s "$STAVLIN_TEST_JACK_SERVER" >/dev/null 2>&1 || echo "The JACK server did not start (see $build/jackd.log): the real-port tests skip."
fi

export QT_QPA_PLATFORM=offscreen
# intercept_tls_get_addr=0: the leak checker of this compiler's sanitizer
# runtime follows the dynamic TLS of libraries that the system loads and
# unloads behind the program (print and MIDI back ends) and crashes at exit
# on a stale block ("Tracer caught signal 11"), failing a test that passed.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:intercept_tls_get_addr=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The tests that drive real JACK ports share one server and see each other's
# ports: they run one at a time, after the others. They measure real time
# against a server that shares the machine with the build, so a test that
# misses its time is run again, up to three times in all.
ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 300 -E '^JackPorts[.]'
ctest --test-dir "$build" --output-on-failure -j 1 --timeout 300 -R '^JackPorts[.]' --repeat until-pass:3

./scripts/run-shuffled.sh "$build" "${STAVLIN_SHUFFLE_SEED:-}"

# The window tests once more on a real X display with a window manager.
./scripts/run-real-display.sh "$build"
