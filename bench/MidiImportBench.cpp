// Importing a one-track Standard MIDI File of 20,000 and of 40,000 notes
// (sixteenth notes of a melody that rises and falls, with a rest now and
// then, at 480 ticks to the quarter) into a new score, the settings dialog
// answered with OK: reading, pairing, quantising, columns, staff lines,
// groups and the clean-up of ties. Twice the notes should take about twice
// the time.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "dialogs/KDlgMidiImpSettings.h"
#include "doc/DocLineHooks.h"
#include "model/KListLine.h"
#include "model/ModelClasses.h"
#include "platform/FakeUiPort.h"
#include "platform/UiPort.h"
#include "view/commands/MidiFileImport.h"

namespace {

constexpr int kDivision = 480;
constexpr std::uint32_t kSixteenth = 120;

void PutVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t buffer[5];
  int n = 0;
  buffer[n++] = static_cast<std::uint8_t>(value & 0x7F);
  while ((value >>= 7) != 0) buffer[n++] = static_cast<std::uint8_t>(0x80 | (value & 0x7F));
  while (n > 0) out.push_back(buffer[--n]);
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::vector<std::uint8_t> OneTrackFile(int notes) {
  std::vector<std::uint8_t> body = {0x00, 0xFF, 0x03, 0x05, 'T', 'u', 'n', 'e', 's'};
  std::uint32_t wait = 0;
  for (int i = 0; i < notes; ++i) {
    // Every 32nd step is a sixteenth rest before the note.
    if (i % 32 == 31) wait += kSixteenth;
    const int key = 60 + (i % 24 < 12 ? i % 12 : 12 - i % 12);
    PutVarLen(body, wait);
    body.insert(body.end(), {0x90, static_cast<std::uint8_t>(key), 90});
    PutVarLen(body, kSixteenth);
    body.insert(body.end(), {0x80, static_cast<std::uint8_t>(key), 64});
    wait = 0;
  }
  body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
  std::vector<std::uint8_t> file = {
      'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, kDivision >> 8, kDivision & 0xFF};
  file.insert(file.end(), {'M', 'T', 'r', 'k'});
  Put32(file, static_cast<std::uint32_t>(body.size()));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

void BM_ImportOneTrack(benchmark::State& state) {
  static const bool prepared = [] {
    RegisterModelClasses();
    SetDocLineHooks(StavlinLineHooks());
    return true;
  }();
  (void)prepared;
  const int notes = static_cast<int>(state.range(0));
  const std::vector<std::uint8_t> file = OneTrackFile(notes);
  FakeUiPort ui;
  ui.AnswerDialog(KDlgMidiImpSettings::kTemplateId, [](KModalDialog&) { return IDOK; });
  ScopedUiPort scoped(ui);
  int columns = 0;
  for (auto _ : state) {
    MidiFileImportResult result = ImportMidiBytes(CString("/music/tunes.mid"), file);
    if (result.document == nullptr) {
      state.SkipWithError("the import made no score");
      return;
    }
    state.PauseTiming();
    columns = 0;
    for (POSITION pos = result.document->GetFirstLinePosition(); pos != nullptr;) {
      KLineObj* line = result.document->GetNextLine(pos);
      if (KListLine* list = line->AsListLine(); list != nullptr && KLineObj::IsNoteFamily(line->GetFamily()))
        columns += list->GetObjList()->GetCount();
    }
    result.document.reset();
    state.ResumeTiming();
  }
  state.counters["columns"] = columns;
  state.counters["notes_per_s"] =
      benchmark::Counter(static_cast<double>(notes) * state.iterations(), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_ImportOneTrack)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
