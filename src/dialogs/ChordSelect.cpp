// The chord chooser of Insert/Chord and the names the chosen chord takes.

#include "dialogs/ChordSelect.h"

#include "chords/ChordDictionary.h"
#include "chords/ChordNames.h"
#include "chords/ChordRecord.h"
#include "chords/ChordRecordTuningInfo.h"
#include "dialogs/KDlgChordSelect.h"
#include "platform/UiPort.h"

namespace {

KChordSelectFn& Chooser() {
  static KChordSelectFn chooser;
  return chooser;
}

// The chord selection dialog, opened for the request.
std::optional<KChordChoice> RunChordDialog(const KChordSelectRequest& request) {
  KDlgChordSelect dialog;
  dialog.tuning = request.tuning;
  dialog.keySignature = request.key;
  dialog.pictureFrame = request.displayMode == 2 ? 2 : 0;
  dialog.lineFlag = request.displayMode == 0 || request.displayMode == 2 ? 1 : 0;
  dialog.key = request.initialKey;
  if (dialog.DoModal() != IDOK) return std::nullopt;
  KChordChoice choice;
  choice.keyName = dialog.key;
  choice.typeName = dialog.typeName;
  choice.variation = dialog.variation;
  choice.shape = dialog.shape;
  if (dialog.tuning != request.tuning) choice.tuning = dialog.tuning;
  choice.displayMode =
      request.displayMode == 0 || request.displayMode == 2 ? dialog.pictureFrame : request.displayMode;
  choice.spelling = dialog.spelling;
  choice.typeStringId = dialog.typeStringId;
  choice.libraryCount = dialog.libVarCount;
  choice.userCount = dialog.userVarCount;
  // The chord as notes for a staff or a tablature line.
  const KChord& notes = request.displayMode == 1 ? dialog.StaffChord() : dialog.TabChord();
  if (notes.GetNoteCount() > 0) choice.column = std::make_shared<KChord>(notes, notes.GetPos(), true);
  const KChord& other = request.displayMode == 1 ? dialog.TabChord() : dialog.StaffChord();
  if (other.GetNoteCount() > 0) choice.partner = std::make_shared<KChord>(other, other.GetPos(), true);
  return choice;
}

}  // namespace

void SetChordSelectSeam(KChordSelectFn chooser) { Chooser() = std::move(chooser); }

std::optional<KChordChoice> RunChordSelect(const KChordSelectRequest& request) {
  if (Chooser()) return Chooser()(request);
  return RunChordDialog(request);
}

CString DisplayedChordName(const KChordChoice& choice) {
  const bool natural = choice.keyName.GetLength() >= 2 && choice.keyName[1] == ' ';
  CString name = natural ? choice.keyName.Left(1) : choice.keyName;
  const int major = choice.typeName.Find(kMajorQuality);
  name += major >= 0 ? choice.typeName.Left(major) : choice.typeName;
  return name;
}

CString ChordDictionaryKey(const KChordChoice& choice, const CString& tuning) {
  CString variation;
  const int n = choice.variation;
  if (n >= 100 && n <= 199) {
    variation.Format("1%02d", n - 100);
  } else {
    variation.Format("%2d", n < 0 ? 0 : n % 100);
  }
  CString key = DisplayedChordName(choice) + variation + tuning;
  if (choice.tuningFlag != 0) key += "*";
  return key;
}

void RemovePendingChordKey(CString& pending, const CString& key) {
  if (key.IsEmpty()) return;
  pending.Replace(static_cast<LPCTSTR>(key), "");
}
