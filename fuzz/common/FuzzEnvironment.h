#pragma once
// The program's start-up state for the fuzz targets: a recording UI port (so
// that messages are answered with their default button and never shown), the
// preferences at their start values (an in-memory store behind them), the
// score classes registered and the line services installed as the shell
// installs them.
//
// Fuzz targets call StavlinFuzzStart() at the top of every input: the first
// call sets everything up, every call puts the program-wide values back to
// their start values and forgets the recorded messages.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

class FakeUiPort;

FakeUiPort& StavlinFuzzStart();

// A property the target checks failed: say what and stop, so the fuzzer keeps
// the input as a crash.
[[noreturn]] inline void StavlinFuzzFail(const char* what) {
  std::fprintf(stderr, "fuzz property failed: %s\n", what);
  std::abort();
}

// Every target defines this (libFuzzer's entry point).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
