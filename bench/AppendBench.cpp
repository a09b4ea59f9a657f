// Building a line column by column, as every importer does: appending 20,000
// note columns to a staff line, and reading one ABC music line of 20,000
// notes. Appending must cost the same whatever the line's length, so both
// stay far below a tenth of a second in a Release build.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "platform/FakeUiPort.h"
#include "translate/AbcReader.h"
#include "translate/AbcReaderState.h"

namespace {

constexpr int kColumns = 20000;
constexpr int kQuarterTicks = 480;
constexpr int kEighthTicks = 240;
constexpr int kMiddleRow = 18;

FakeUiPort& Ui() {
  static FakeUiPort ui;
  static ScopedUiPort scope(ui);
  return ui;
}

// Quarter notes without a bar: no column has flags, so nothing ends the
// search for a beam group before the line's start.
void BM_AppendQuarterNotes(benchmark::State& state) {
  Ui();
  const int code = AbcNoteCodeForLength(kQuarterTicks).code;
  for (auto _ : state) {
    KStaffLine line(0, 0, 0);
    for (int i = 0; i < kColumns; ++i) {
      line.InsertObjAt(new KChord(i, kMiddleRow + i % 7, code, 0), 0, i, nullptr, 0);
    }
    state.counters["columns"] = line.GetObjList()->GetCount();
  }
}
BENCHMARK(BM_AppendQuarterNotes)->Unit(benchmark::kMillisecond);

// Eighth notes beamed in fours, a bar after every eight.
void BM_AppendBeamedEighths(benchmark::State& state) {
  Ui();
  const int code = AbcNoteCodeForLength(kEighthTicks).code;
  const int joined[2] = {1, 0};
  for (auto _ : state) {
    KStaffLine line(0, 0, 0);
    for (int i = 0; i < kColumns; ++i) {
      const bool bar = i % 9 == 8;
      auto* column = bar ? new KChord(i, 0, 0, 0) : new KChord(i, kMiddleRow + i % 5, code, 0);
      if (bar) column->SetVoiceStem(0, KChord::kStemBar);
      line.InsertObjAt(column, 0, i, i % 9 % 4 != 0 && !bar ? joined : nullptr, 0);
    }
    benchmark::DoNotOptimize(line.GetObjList()->GetCount());
  }
}
BENCHMARK(BM_AppendBeamedEighths)->Unit(benchmark::kMillisecond);

// One ABC music line of 20,000 eighth notes in beamed groups of four, with a
// bar after every eight.
void BM_ReadLongAbcLine(benchmark::State& state) {
  Ui();
  std::string text;
  const char* const groups[] = {"CDEF ", "GABc |"};
  for (int i = 0; i < kColumns / 4; ++i) text += groups[i % 2];
  for (auto _ : state) {
    ResetAbcReaderState();
    AbcReaderState& s = GetAbcReaderState();
    s.titlePending = s.meterPending = s.tempoPending = false;
    std::unique_ptr<KLineObj> line = ReadAbcLine(CString(text.c_str()), 0);
    auto* staff = dynamic_cast<KListLine*>(line.get());
    state.counters["columns"] = staff != nullptr ? staff->GetObjList()->GetCount() : 0;
  }
}
BENCHMARK(BM_ReadLongAbcLine)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
