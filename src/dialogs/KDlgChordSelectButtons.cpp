// The chord selection dialog's buttons: New (the chord designer), View (the
// variations picker), Remove (a user chord out of the dictionary) and OK.

#include <algorithm>
#include <cstdlib>

#include "chords/ChordCatalogue.h"
#include "chords/ChordDictionary.h"
#include "chords/ChordDictionaryWrite.h"
#include "chords/ChordLibrary.h"
#include "chords/ChordNames.h"
#include "chords/ChordRecordKeys.h"
#include "chords/ChordRecordTuningInfo.h"
#include "chords/ChordSettings.h"
#include "common/ErrorReporter.h"
#include "common/Globals.h"
#include "common/HelpTopics.h"
#include "common/RecentChords.h"
#include "common/TuningCodec.h"
#include "dialogs/KDlg8StringChordDes.h"
#include "dialogs/KDlgChordSelect.h"
#include "dialogs/KDlgChordVars.h"
#include "platform/UiPort.h"

namespace {
constexpr UINT kMsgRemoveFailed = 7013;
constexpr UINT kMsgTooManyVariations = 7107;
}  // namespace

bool KDlgChordSelect::OnOK() {
  isUserChord = variation > libVarCount ? 1 : 0;
  return KModalDialog::OnOK();
}

void KDlgChordSelect::OnHelp() { ShowHelpTopic(HelpTopic::kChordSelect); }

void KDlgChordSelect::OnNew() {
  KDlg8StringChordDes designer;
  designer.keySignature = keySignature;
  designer.shape = shape;
  designer.key = key;
  CString type = typeName;
  type.TrimRight();
  designer.chordType = type;
  if (userVarCount >= 0 && variation > libVarCount && m_userInfo != nullptr) {
    CString description =
        m_userInfo->GetChordField(key, typeName, variation - libVarCount, kChordFieldDescription);
    description.TrimRight();
    designer.details = description;
  }
  designer.tuning = tuning;
  g_ChordRootErrorShown = false;
  const int result = designer.DoModal();
  // A chord that was not stored is not offered as if it were.
  if (result != IDOK || !designer.stored) return;

  const bool tuningChanged = designer.tuning != tuning;
  const int oldStrings = m_stringCount;
  if (tuningChanged) {
    tuning = designer.tuning;
    SplitTuning();
    Controls().SetTitle(std::string(Caption(" (Frets: ").View()));
  }
  if (m_userInfo == nullptr || tuningChanged) {
    m_userInfo = LookupInfo(m_tuningKey);
    if (m_userInfo == nullptr) {
      m_userInfo = new KTuningInfo(m_tuningKey, ChordRecordPitchText(designer.record));
      g_ChordDictionary.SetAt(m_tuningKey, m_userInfo);
    }
  }
  const CString root = designer.key;
  if (m_userInfo->IsKeyLoaded(root) == 0) {
    m_userInfo->LoadChords(m_tuningKey, root);  // the new record with the others
  } else {
    m_userInfo->AddChord(designer.record);
  }
  m_userInfo->AddKey(root);
  m_userRootPresent = 1;
  if (root != key || tuningChanged) {
    m_keyTyped = 1;
    Select(kIdRoot, ChordRootIndex(root));
    OnKeySelected();
  }
  (void)oldStrings;
  if (!FillTypeList(key)) return;
  const int row = std::max(FindTypeIndex(designer.chordType), 0);
  Select(kIdType, row);
  OnTypeSelected();
  variation = VariationCount();
  Select(kIdVariation, variation - 1);
  OnVariationSelected();
  GotoDlgCtrl(IDOK);
}

void KDlgChordSelect::OnView() {
  KDlgChordVars picker;
  variation = 1;
  Select(kIdVariation, 0);
  OnVariationSelected();
  CString root = key;
  root.TrimRight();
  picker.chordName = root + typeName;
  picker.tuning = tuning;
  if (m_libraryAvailable != 0 && typeStringId >= 0) {
    for (int n = 1; n <= libVarCount; ++n) picker.shapes.push_back(LibraryShape(n));
  }
  const int libraryShown = static_cast<int>(picker.shapes.size());
  if (userVarCount >= 0) {
    for (int n = 1; n <= userVarCount && m_userInfo != nullptr; ++n)
      picker.shapes.push_back(m_userInfo->GetChordField(key, typeName, n, kChordFieldShape));
  } else {
    picker.shapes.push_back("0000000");
  }
  if (static_cast<int>(picker.shapes.size()) > KDlgChordVars::kMaxShapes) {
    CString message;
    AfxFormatString1(message, kMsgTooManyVariations, "160");
    AfxMessageBox(message);
    picker.shapes.resize(KDlgChordVars::kMaxShapes);
  }
  picker.libraryCount = libraryShown;
  picker.variation = 1;
  if (picker.DoModal() != IDOK) return;
  if (lineFlag != 0 && g_chordSettings.frameChoice != pictureFrame &&
      (g_chordSettings.frameChoice == 0 || g_chordSettings.frameChoice == 2) &&
      (pictureFrame == 0 || pictureFrame == 2))
    pictureFrame = g_chordSettings.frameChoice;
  variation = std::clamp(picker.variation, 1, VariationCount());
  Select(kIdVariation, variation - 1);
  OnVariationSelected();
}

void KDlgChordSelect::OnRemove() {
  if (userVarCount <= 0 || variation <= libVarCount || m_userInfo == nullptr) return;
  const CString removedShape = shape;
  const CString label = ChordVariationLabel(variation);
  int listEmpty = 0;
  int nameRemains = 1;
  switch (RemoveUserChord(*m_userInfo, key, typeName, removedShape, listEmpty, nameRemains)) {
    case ChordRemoval::kRemoved:
      break;
    case ChordRemoval::kWriteFailed:
      MessageBeep(MB_ICONEXCLAMATION);
      return;
    case ChordRemoval::kNotFound:
      ReportInternalError(kMsgRemoveFailed, "DC-1");
      return;
  }

  // The chord leaves the recent chords ...
  for (int i = 0; i < g_RecentChordCount; ++i) {
    const ChordRecord& entry = g_RecentChords[i];
    if (entry.text1 == key && entry.text2 == typeName && ChordVariationLabel(entry.value3) == label &&
        entry.text0 == tuning) {
      std::move(g_RecentChords + i + 1, g_RecentChords + g_RecentChordCount, g_RecentChords + i);
      --g_RecentChordCount;
      g_RecentChords[g_RecentChordCount] = ChordRecord{};
      break;
    }
  }
  // ... and Insert/Chord learns that it is gone.
  CString name = key.GetAt(1) == ' ' ? key.Left(1) : key;
  const int major = typeName.Find("(major)");
  name += major >= 0 ? typeName.Left(major) : typeName;
  g_pendingChordKeys += name + label + g_CurrentTuning + "*";

  if (nameRemains != 0) {
    ChordTypeEntry& entry =
        m_types[static_cast<std::size_t>(std::clamp(m_typeIndex, 0, static_cast<int>(m_types.size()) - 1))];
    entry.userCount = std::max(0, entry.userCount - 1);
    --userVarCount;
    variation = 1;
    FillVariationList();
    Select(kIdVariation, 0);
    OnVariationSelected();
    return;
  }
  if (listEmpty != 0) {
    g_ChordDictionary.RemoveKey(m_tuningKey);
    delete m_userInfo;
    m_userInfo = nullptr;
  }
  // The type is gone from the user's chords: back to the major chord.
  if (m_libraryAvailable != 0) {
    typeName = "(major)";
    if (LoadChordDllString(kChordMajorSpellingId, spelling) <= 0) {
      MessageBeep(MB_ICONEXCLAMATION);
      ReportInternalError(kMsgRemoveFailed, "DC-2");
      return;
    }
    typeStringId = LibraryBlockId(m_keyIndex);
    if (LoadChordDllString(typeStringId, m_typeString) <= 0) {
      MessageBeep(MB_ICONEXCLAMATION);
      ReportInternalError(kMsgRemoveFailed, "DC-3");
      return;
    }
    libVarCount = LibraryVariationCount(m_typeString);
  } else {
    typeName = "Blank";
    spelling.Empty();
    typeStringId = -2;
    libVarCount = 0;
    m_typeString = "   Blank            0000000";
  }
  variation = 1;
  EnsureRootLoaded();
  userVarCount =
      m_userRootPresent != 0 ? m_userInfo->CountVariations(key, typeName) : (m_libraryAvailable ? 0 : -1);
  if (!FillTypeList(key)) return;
  m_typeIndex = std::max(FindTypeIndex(typeName), 0);
  if (m_libraryAvailable == 0) {
    const ChordTypeEntry& entry = m_types[static_cast<std::size_t>(m_typeIndex)];
    typeName = entry.name.Right(1) == "*" ? entry.name.Left(entry.name.GetLength() - 1) : entry.name;
    spelling = entry.spelling;
    typeStringId = entry.stringId;
    userVarCount = entry.userCount;
  }
  Select(kIdType, m_typeIndex);
  FillVariationList();
  shape = CurrentShape();
  ShowCurrent();
}
