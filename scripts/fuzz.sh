#!/usr/bin/env bash
# Runs a fuzzing campaign on one reader of outside data (or on every one in
# turn): scripts/fuzz.sh [target] [seconds]
#   target   one of the targets listed below, or "all" (the default)
#   seconds  how long each target runs (default 600)
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build/fuzz (installing clang through apt-get
# when it is missing). The corpus grows in build/fuzz/corpus/<target>, seeded
# from fuzz/<target>/seeds; an input that crashes, leaks or times out is
# written to fuzz/<target>/repro/, where the normal test build replays it.
# libFuzzer's progress shows as the campaign runs; with several jobs each
# job's log is written to build/fuzz/logs/<target>/ and followed on screen.
# Environment: FUZZ_JOBS (parallel fuzzing processes per target, default 1),
# FUZZ_MAX_LEN (largest input, default 65536; a few targets have their own,
# below).
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(score_file midi_file midi_import abc abc_write text_tab chord_file settings_file clipstream
         compound_file score_settings text_handover text_decode chord_scan preferences tunings_store
         paste_text midi_input)
target=${1:-all}
seconds=${2:-600}
jobs=${FUZZ_JOBS:-1}
max_len=${FUZZ_MAX_LEN:-65536}

if [ "$target" != all ] && [[ ! " ${targets[*]} " =~ " ${target} " ]]; then
  echo "unknown target '$target'; one of: ${targets[*]} all" >&2
  exit 2
fi

# clang with libFuzzer (Debian's clang package carries it).
if ! command -v clang++ >/dev/null || ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, long) { return 0; }' |
    clang++ -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null; then
  echo "Installing clang (with libFuzzer)"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq clang
fi
./scripts/install-deps.sh

build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DSTAVLIN_FUZZ=ON -DSTAVLIN_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

if [ "$target" = all ]; then run=("${targets[@]}"); else run=("$target"); fi
for t in "${run[@]}"; do
  cmake --build "$build" --target "fuzz_$t" -j "$(nproc)"
done

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
root=$(pwd)
# The user tunings store checks adding and removing each entry, which reads
# the whole value again each time: the checks grow with the square of the
# value's length. 1 KiB holds some 40 tunings, more than a user keeps.
target_max_len() {
  case "$1" in
    tunings_store) echo "${FUZZ_MAX_LEN:-1024}" ;;
    *) echo "$max_len" ;;
  esac
}

for t in "${run[@]}"; do
  corpus="$root/$build/corpus/$t"
  logs="$root/$build/logs/$t"
  mkdir -p "$corpus" "fuzz/$t/repro" "$logs"
  echo "== $t: ${seconds}s"
  args=("$corpus" "$root/fuzz/$t/seeds" -max_total_time="$seconds" -max_len="$(target_max_len "$t")" -timeout=10
        -rss_limit_mb=2048 -artifact_prefix="$root/fuzz/$t/repro/" -print_final_stats=1)
  if [ "$jobs" -le 1 ]; then
    # One process: libFuzzer reports on the terminal as it goes.
    (cd "$logs" && "$root/$build/fuzz/fuzz_$t" "${args[@]}")
  else
    # libFuzzer writes one fuzz-<n>.log per job into the folder it runs in:
    # that is the logs folder, and the logs are followed on screen.
    rm -f "$logs"/fuzz-*.log
    (cd "$logs" && "$root/$build/fuzz/fuzz_$t" "${args[@]}" -jobs="$jobs" -workers="$jobs") &
    campaign=$!
    sleep 1
    tail -n +1 -F "$logs"/fuzz-*.log 2>/dev/null &
    follower=$!
    status=0
    wait "$campaign" || status=$?
    kill "$follower" 2>/dev/null || true
    [ "$status" -eq 0 ] || exit "$status"
  fi
done
