// The chord chooser of Insert/Chord and the names the chosen chord takes.

#include "dialogs/ChordSelect.h"

#include "chords/ChordDictionary.h"
#include "chords/ChordNames.h"
#include "chords/ChordRecord.h"
#include "chords/ChordRecordTuningInfo.h"

// Dictionary keys of chords picked but not yet placed (shared with the
// chord selection dialog).
CString g_pendingChordKeys;

namespace {

KChordSelectFn& Chooser() {
  static KChordSelectFn chooser;
  return chooser;
}

KTuningInfo* FindTuning(const CString& tuning) {
  for (POSITION pos = g_ChordDictionary.GetStartPosition(); pos != nullptr;) {
    CString key;
    CObject* value = nullptr;
    g_ChordDictionary.GetNextAssoc(pos, key, value);
    auto* info = dynamic_cast<KTuningInfo*>(value);
    if (info != nullptr && key.Left(tuning.GetLength()) == tuning) return info;
  }
  return nullptr;
}

// The first chord of the dictionary for the tuning, of the requested root
// when one is given.
std::optional<KChordChoice> FirstDictionaryChord(const KChordSelectRequest& request) {
  KTuningInfo* info = FindTuning(request.tuning);
  if (info == nullptr) return std::nullopt;
  const int wanted = request.initialKey.IsEmpty() ? -1 : ChordRootIndex(request.initialKey);
  for (int root = 0; root < kChordRootCount; ++root) {
    if (wanted >= 0 && root != wanted) continue;
    const CString code = ChordRootCode(root);
    if (info->HasKey(code) == 0) continue;
    if (info->IsKeyLoaded(code) == 0) info->LoadChords(info->GetTuningKey(), code);
    const CObList& chords = info->GetChordList();
    for (POSITION pos = chords.GetHeadPosition(); pos != nullptr;) {
      const auto* chord = dynamic_cast<const KUserChordData*>(chords.GetNext(pos));
      if (chord == nullptr || chord->GetKeyIndex() != root) continue;
      KChordChoice choice;
      choice.keyName = code;
      choice.typeName = chord->GetName();
      choice.shape = chord->GetShape();
      choice.displayMode = request.displayMode;
      return choice;
    }
  }
  return std::nullopt;
}

}  // namespace

void SetChordSelectSeam(KChordSelectFn chooser) { Chooser() = std::move(chooser); }

std::optional<KChordChoice> RunChordSelect(const KChordSelectRequest& request) {
  if (Chooser()) return Chooser()(request);
  return FirstDictionaryChord(request);
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
