// MIDI file import: any bytes, given as a ".mid" file, either become a whole
// new score or are refused with a message; the settings dialog is answered
// with OK as it opens. A score made holds at least one note line.

#include <span>

#include "FuzzEnvironment.h"
#include "dialogs/KDlgMidiImpSettings.h"
#include "model/KLineObj.h"
#include "platform/FakeUiPort.h"
#include "view/commands/MidiFileImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FakeUiPort& ui = StavlinFuzzStart();
  ui.AnswerDialog(KDlgMidiImpSettings::kTemplateId, IDOK);
  const MidiFileImportResult result =
      ImportMidiBytes(CString("/fuzz/input.mid"), std::span<const std::uint8_t>(data, size));
  if (result.document == nullptr) {
    if (ui.Messages().empty()) StavlinFuzzFail("an import that made nothing said nothing");
    return 0;
  }
  bool noteLine = false;
  for (POSITION pos = result.document->GetFirstLinePosition(); pos != nullptr;) {
    const KLineObj* line = result.document->GetNextLine(pos);
    if (line == nullptr) StavlinFuzzFail("the score holds an empty line slot");
    noteLine = noteLine || KLineObj::IsNoteFamily(line->GetFamily());
  }
  if (!noteLine) StavlinFuzzFail("a score was made without a note line");
  return 0;
}
