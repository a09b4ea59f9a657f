// The scan of an opened score for chord diagrams that the user chord
// dictionary does not hold (nor the chord catalogue, in its tuning): they are
// offered, 36 at a time, in the scanned chords dialog, and the ticked ones are
// appended to the dictionary file.
// Each tuning of the score's chord lines is scanned in a pass of its own.

#include <algorithm>
#include <vector>

#include "chords/ChordCatalogue.h"
#include "chords/ChordNames.h"
#include "chords/ChordRecordKeys.h"
#include "chords/ChordScan.h"
#include "dialogs/KDlgScannedChords.h"
#include "doc/CStavlinDoc.h"
#include "lines/KChordPicLine.h"
#include "lines/KTabLine.h"
#include "model/KChordPic.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"

namespace {

constexpr const char* kStandardTuning = "E A D G B E  323742475156";
constexpr int kOfferedAtOnce = 36;
constexpr int kMostPasses = 10;
constexpr int kMostOtherTunings = 10;
constexpr int kTunedChordLinesVersion = 3510;
constexpr DWORD kBassTab = 32;
constexpr UINT kMsgSeveralTabTunings = 7072;

// A diagram the scan leaves alone: a catalogue shape (shorter than 20
// characters) or one marked as not to be collected.
bool Skipped(const CString& shape) {
  return shape.GetLength() < 20 || shape[15] == '1' || static_cast<unsigned char>(shape[15]) >= 'N';
}

// The same frets (a barre's mark on a string aside) in the first seven characters.
bool SameFrets(const CString& a, const CString& b) {
  if (a.GetLength() < 7 || b.GetLength() < 7) return false;
  for (int i = 0; i < 7; ++i) {
    const int x = static_cast<unsigned char>(a[i]) - '0';
    const int y = static_cast<unsigned char>(b[i]) - '0';
    if (i == 0 ? x != y : x % 10 != y % 10) return false;
  }
  return true;
}

// A chord the catalogue offers already (in the catalogue's tuning): not new.
bool InCatalogue(const ScannedChord& chord, const CString& scanKey) {
  if (scanKey != kStandardTuning) return false;
  const int root = ChordRootIndex(chord.identity.Left(2));
  LibraryType type;
  if (root < 0 ||
      FindLibraryType(GetChordNameSources(), root, chord.identity.Mid(22), type) != LibraryLookup::kFound)
    return false;
  const CString frets = chord.identity.Mid(2, 7);
  for (const CString& shape : LibraryVariations(type.text))
    if (SameFrets(shape, frets)) return true;
  return false;
}

}  // namespace

int CStavlinView::ScanScoreChords() {
  if (m_document == nullptr) return 0;
  CString viewTuning = m_options.tabTuning;
  if (viewTuning.GetLength() <= 1) viewTuning = kStandardTuning;
  CString scanKey = MakeTuningKey(viewTuning);
  CString firstKey = scanKey;
  std::vector<CString> otherKeys;
  const bool oldScore = m_fileVersion > 0 && m_fileVersion < kTunedChordLinesVersion;
  int written = 0;
  int tabTuningChanges = 0;
  bool warned = false;

  for (int pass = 0; pass < kMostPasses; ++pass) {
    const std::vector<ScannedChord> known = DictionaryChordsOfTuning(scanKey);
    std::vector<ScannedChord> candidates;
    CString tabTuning = scanKey;
    auto offer = [&]() {
      const int result = AppendScannedChords(scanKey, candidates);
      candidates.clear();
      if (result > 0) written = 1;
      return result >= 0;
    };
    for (POSITION pos = m_document->GetFirstLinePosition(); pos != nullptr;) {
      KLineObj* line = m_document->GetNextLine(pos);
      if (line == nullptr) continue;
      if (oldScore) {
        if (auto* tab = dynamic_cast<KTabLine*>(line);
            tab != nullptr && line->TestFlags(kBassTab) == 0 && tab->GetTuning() != tabTuning) {
          tabTuning = tab->GetTuning();
          if (pass == 0) ++tabTuningChanges;
        }
      }
      auto* chords = dynamic_cast<KChordPicLine*>(line);
      if (chords == nullptr) continue;
      CString key = MakeTuningKey(chords->GetTuning());
      if (oldScore && pass == 0) {
        chords->SetTuning(tabTuning, 0);
        key = MakeTuningKey(tabTuning);
      }
      if (pass == 0 && key != firstKey && static_cast<int>(otherKeys.size()) < kMostOtherTunings &&
          std::find(otherKeys.begin(), otherKeys.end(), key) == otherKeys.end())
        otherKeys.push_back(key);
      if (key != scanKey) continue;
      CObList& objects = *chords->GetObjList();
      for (POSITION at = objects.GetHeadPosition(); at != nullptr;) {
        const KChordPic* diagram = AsChordPic(objects.GetNext(at));
        if (diagram == nullptr || Skipped(diagram->GetShape())) continue;
        ScannedChord chord;
        if (!ScannedChordOfDiagram(diagram->GetName(), diagram->GetShape(), chord)) continue;
        auto same = [&](const ScannedChord& other) { return SameScannedChord(chord, other); };
        if (std::any_of(candidates.begin(), candidates.end(), same) ||
            std::any_of(known.begin(), known.end(), same) || InCatalogue(chord, scanKey))
          continue;
        candidates.push_back(chord);
        if (static_cast<int>(candidates.size()) == kOfferedAtOnce && !offer()) return written;
      }
    }
    if (tabTuningChanges > 0 && !candidates.empty() && !warned) {
      warned = true;
      AfxMessageBox(kMsgSeveralTabTunings);
    }
    if (!candidates.empty() && !offer()) return written;
    firstKey.Empty();
    if (otherKeys.empty()) break;
    scanKey = otherKeys.back();
    otherKeys.pop_back();
  }
  return written;
}
