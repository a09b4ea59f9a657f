#!/usr/bin/env bash
# Runs every test program of a build whole, its tests in a shuffled order,
# several programs at a time. A test that passes alone but fails here depends on
# what an earlier test left behind (program-wide values, preferences, the
# settings store, a port left installed).
#
#   scripts/run-shuffled.sh [build folder] [seed]
#
# The programs are the ones the build lists in TestPrograms.txt (every tests/
# folder makes one). Without a seed a random one is taken; it is printed, and
# giving it again replays the same orders. A program's output is kept in
# <build>/shuffled/<program>.log.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/test}
seed=${2:-}
[ -n "$seed" ] || seed=$((RANDOM % 99999 + 1))
jobs=${STAVLIN_SHUFFLE_JOBS:-$(nproc)}
list="$build/TestPrograms.txt"
if [ ! -f "$list" ]; then
  echo "run-shuffled: $list is missing; configure and build $build first" >&2
  exit 2
fi

logs="$build/shuffled"
rm -rf "$logs"
mkdir -p "$logs"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

echo "Running every test program whole, shuffled with seed $seed ($jobs at a time)"
start=$(date +%s)

# One program: its whole run, its time, and PASS or FAIL in <name>.status.
# The tests of real JACK ports measure real time: ./test.sh runs them one at a
# time on their own, not here beside seven other programs.
run_one() {
  local program=$1 seed=$2 logs=$3
  local name
  name=$(basename "$program")
  local began=$SECONDS
  local status=PASS
  # The tests' working folder is ctest's (the build's tests/ folder).
  if ! (cd "$(dirname "$program")" &&
    timeout 1200 "$program" --gtest_shuffle --gtest_random_seed="$seed" --gtest_brief=1 \
      --gtest_filter="-JackPorts.*") \
    >"$logs/$name.log" 2>&1; then
    status=FAIL
  fi
  echo "$status $((SECONDS - began))" >"$logs/$name.status"
  printf '  %-32s %s in %ss\n' "$name" "$status" "$((SECONDS - began))"
}
export -f run_one

grep -v '^$' "$list" | xargs -P "$jobs" -I{} bash -c 'run_one "$@"' _ {} "$seed" "$logs"

failed=0
for status in "$logs"/*.status; do
  name=$(basename "$status" .status)
  if [ "$(cut -d' ' -f1 "$status")" != PASS ]; then
    failed=1
    program=$(grep "/$name\$" "$list")
    echo
    echo "==== $name failed run whole with --gtest_shuffle --gtest_random_seed=$seed"
    # The failures gtest reports, then the end of the output (a crash or a
    # sanitizer's report has no gtest summary).
    grep -E '^\[  FAILED  \]|Failure$|ERROR: (Address|Undefined)Sanitizer' "$logs/$name.log" | head -40 || true
    tail -n 30 "$logs/$name.log"
    echo "Replay: (cd $(dirname "$program") && $program --gtest_shuffle --gtest_random_seed=$seed)"
  fi
done
programs=$(grep -vc '^$' "$list")
ran=$(find "$logs" -name '*.status' | wc -l)
if [ "$ran" -ne "$programs" ]; then
  echo "run-shuffled: only $ran of $programs programs reported" >&2
  failed=1
fi
echo "Shuffled runs of $programs programs took $(($(date +%s) - start))s (seed $seed)"
exit $failed
