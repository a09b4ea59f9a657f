#!/usr/bin/env bash
# Runs a fuzzing campaign on one reader of outside data (or on every one in
# turn): scripts/fuzz.sh [target] [seconds]
#   target   score_file, midi_file, abc, text_tab, chord_file, settings_file,
#            or "all" (the default)
#   seconds  how long each target runs (default 600)
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build/fuzz (installing clang through apt-get
# when it is missing). The corpus grows in build/fuzz/corpus/<target>, seeded
# from fuzz/<target>/seeds; an input that crashes, leaks or times out is
# written to fuzz/<target>/repro/, where the normal test build replays it.
# Environment: FUZZ_JOBS (parallel fuzzing processes per target, default 1),
# FUZZ_MAX_LEN (largest input, default 65536).
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(score_file midi_file abc text_tab chord_file settings_file)
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
for t in "${run[@]}"; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus" "fuzz/$t/repro"
  echo "== $t: ${seconds}s"
  "$build/fuzz/fuzz_$t" "$corpus" "fuzz/$t/seeds" \
    -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="fuzz/$t/repro/" -jobs="$jobs" -workers="$jobs" -print_final_stats=1
done
