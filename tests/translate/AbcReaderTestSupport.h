#pragma once
// Shared pieces of the ABC reader tests: a fixture that starts every test from
// the reader's start state, and readable dumps of what a line came out as.

#include <memory>
#include <string>

#include "../model/ModelTestSupport.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "translate/AbcReader.h"
#include "translate/AbcReaderState.h"

class AbcReaderTest : public ModelTest {
 protected:
  AbcReaderTest() { ResetAbcReaderState(); }
  ~AbcReaderTest() override { ResetAbcReaderState(); }

  // The meter column and tempo mark are already written: lines read after this
  // hold only their own notes.
  static void ClearPending() {
    AbcReaderState& s = GetAbcReaderState();
    s.titlePending = s.meterPending = s.tempoPending = false;
  }
};

// "pos:row/code,row/code" per column, separated by blanks; a bar column as
// "pos:|code", a meter column as "pos:meter/numerator/denominator" (codes).
inline std::string DumpColumns(KListLine& line) {
  std::string out;
  for (POSITION node = line.GetObjList()->GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(line.GetObjList()->GetNext(node));
    if (column == nullptr) continue;
    if (!out.empty()) out += ' ';
    out += std::to_string(column->GetPos()) + ':';
    if (column->IsBarColumn()) {
      out += '|' + std::to_string(column->GetNote(0).code);
      continue;
    }
    if (column->GetNoteCount() == 3 && column->GetNote(0).code == KChord::kTimeSignature) {
      out +=
          "meter/" + std::to_string(column->GetNote(1).code) + '/' + std::to_string(column->GetNote(2).code);
      continue;
    }
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const NotePair note = column->GetNote(i);
      if (i > 0) out += ',';
      out += std::to_string(note.position) + '/' + std::to_string(note.code);
    }
  }
  return out;
}

// "pos:text" of every attachment, separated by "|".
inline std::string DumpAttachmentTexts(KLineObj& line) {
  std::string out;
  CObList* list = line.GetAttachments();
  for (POSITION node = list->GetHeadPosition(); node != nullptr;) {
    const auto* attachment = static_cast<const KExtendedObj*>(list->GetNext(node));
    if (!out.empty()) out += '|';
    out += std::to_string(attachment->GetPos()) + ':' + std::string(attachment->GetText().View());
  }
  return out;
}

inline std::unique_ptr<KLineObj> Read(const char* text, int continuation = 0) {
  return ReadAbcLine(CString(text), continuation);
}
