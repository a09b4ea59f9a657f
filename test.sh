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

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 300

./scripts/run-shuffled.sh "$build" "${STAVLIN_SHUFFLE_SEED:-}"
