// The chord selection dialog: start-up, the type list of a root and the
// handlers of the four lists. Spelling and pictures are in
// KDlgChordSelectShow.cpp, the buttons in KDlgChordSelectButtons.cpp.

#include "dialogs/KDlgChordSelect.h"

#include <algorithm>
#include <cstdlib>

#include "chords/ChordAudition.h"
#include "chords/ChordCatalogue.h"
#include "chords/ChordDictionary.h"
#include "chords/ChordLibrary.h"
#include "chords/ChordNames.h"
#include "chords/ChordRecordKeys.h"
#include "chords/ChordRecordTuningInfo.h"
#include "chords/ChordSettings.h"
#include "common/ErrorReporter.h"
#include "common/Globals.h"
#include "common/RecentChords.h"
#include "common/TuningCodec.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"

namespace {

constexpr const char* kStandardTuning = "E A D G B E  323742475156";
constexpr UINT kMsgLookupFailed = 7011;
constexpr UINT kMsgValidPitches = 7021;
constexpr UINT kMsgTooManyTypes = 7027;
constexpr UINT kMsgNoTypeStarting = 7063;
constexpr UINT kMsgOnlyOneVariation = 7064;
constexpr UINT kMsgVariationRange = 7065;
constexpr UINT kMsgValidNoteTypes = 7016;
constexpr UINT kCaptionText = 8052;
constexpr UINT kStandardText = 8149;
constexpr UINT kEmptyGridText = 8135;
constexpr UINT kOrText = 8150;
constexpr int kMaxTypeRows = 500;
constexpr const char* kBlankTypeString = "   Blank            0000000";
// The note-type list: row i is the letter i of this text; the program's
// duration code is that letter's place in the duration letters.
constexpr const char* kNoteTypeLetters = "whHqQtTsSyYxX";
constexpr const char* kDurationLetters = "tTsSyYxXqQhHw$";
const std::vector<std::string> kNoteTypeRows = {"w  Whole",  "h   H Up",  "H  H Dn",  "q   Q Up", "Q  Q Dn",
                                                "t    8 Up", "T   8 Dn",  "s  16 Up", "S  16 Dn", "y   32 Up",
                                                "Y  32 Dn",  "x   64 Up", "X  64 Dn"};

std::vector<std::string> RootRows() {
  std::vector<std::string> rows;
  for (int i = 0; i < kChordRootCount; ++i) rows.push_back(std::string(ChordRootCode(i).View()));
  return rows;
}

CString WithoutStar(const CString& name) {
  return !name.IsEmpty() && name[name.GetLength() - 1] == '*' ? name.Left(name.GetLength() - 1) : name;
}

int NoteTypeRowOfDuration(int duration) {
  const CString letters(kDurationLetters);
  if (duration < 0 || duration >= letters.GetLength()) return 3;
  const int row = CString(kNoteTypeLetters).Find(letters[duration]);
  return row < 0 ? 3 : row;
}

}  // namespace

CString ChordVariationLabel(int n) {
  if (n >= 100 && n <= 199) return "1" + g_TwoDigitZero.Mid(2 * (n - 100), 2);
  if (n >= 0 && n < 100) return g_TwoDigitBlank.Mid(2 * n, 2);
  return "  ";
}

KDlgChordSelect::KDlgChordSelect()
    : KModalDialog(kTemplateId),
      m_tabChord(std::make_unique<KChord>(0, 0)),
      m_staffChord(std::make_unique<KChord>(0, 0)) {}

KDlgChordSelect::~KDlgChordSelect() = default;

void KDlgChordSelect::DeclareControls(DialogControls& c) {
  c.SetTitle(std::string(LoadString(kCaptionText).View()));
  c.Static(kIdRootLabel, "&Key:");
  // Each list takes typed characters: a root and its accidental, the start
  // of a type's name, a variation's number, a note type's letter.
  DialogControl& root = c.Combo(kIdRoot, m_rootRow, RootRows()).WhenChanged([this] { OnKeySelected(); });
  root.onType = [this](int ch) { return Typed(ch, [this](const CString& t) { MatchTypedText(t, 1); }); };
  root.onFocus = [this] { m_typedText.Empty(); };
  c.Static(kIdTypeLabel, "&Type:");
  DialogControl& type = c.Combo(kIdType, m_typeRow, {}).WhenChanged([this] { OnTypeSelected(); });
  type.onType = [this](int ch) { return Typed(ch, [this](const CString& t) { MatchTypedText(t, 2); }); };
  type.onFocus = [this] { m_keyTyped = 0; };
  c.Static(kIdVariationLabel, "&Variation:");
  DialogControl& variations =
      c.Combo(kIdVariation, m_variationRow, {}).WhenChanged([this] { OnVariationSelected(); });
  variations.onType = [this](int ch) {
    return Typed(ch, [this](const CString& t) { MatchTypedVariation(t); });
  };
  variations.onFocus = [this] { m_typedVariation.Empty(); };
  c.Static(kIdNoteTypeLabel, "&Note Type:");
  c.Combo(kIdNoteType, m_noteTypeRow, kNoteTypeRows).WhenChanged([this] { OnNoteTypeSelected(); }).onType =
      [this](int ch) { return Typed(ch, [this](const CString& t) { MatchTypedNoteType(t); }); };
  c.Static(kIdChordName, "");
  c.Group(kIdSpellingFrame, std::string(LoadString(8007).View()));
  for (UINT i = 0; i < 7; ++i) c.Static(kIdFirstInterval + i, "");
  for (UINT i = 0; i < 7; ++i) c.Static(kIdFirstNote + i, "");
  c.Static(kIdDetails, "");
  auto play = [this](UINT id, int delay) {
    return [this, id, delay](const DialogMouse& mouse) {
      if (mouse.button == 1) {
        // On a chord line a left click chooses diagrams or keyboards as the
        // pictures the line shows: the frame moves to the picture clicked.
        if (id == kIdDiagramPicture) ChooseFrame(0);
        if (id == kIdKeyboardPicture) ChooseFrame(2);
        return;
      }
      if (mouse.button != 2) return;
      // A right click sounds the chord: the delay by the picture clicked.
      if (delay >= 0) g_chordSettings.strumDelay = delay;
      const int program = (mouse.flags & kDialogMouseControl) != 0 ? g_chordSettings.chordInstrument : 0;
      PlayChordShape(shape, tuning, g_chordSettings.strumDelay, program);
      (void)id;
    };
  };
  c.Picture(kIdDiagramPicture, m_diagramPicture, 54, 56).onMouse = play(kIdDiagramPicture, 25);
  c.Picture(kIdTabPicture, m_tabPicture, 50, 103).onMouse = play(kIdTabPicture, 25);
  c.Picture(kIdStaffPicture, m_staffPicture, 95, 151).onMouse = play(kIdStaffPicture, -1);
  c.Picture(kIdKeyboardPicture, m_keyboardPicture, 91, 36).onMouse = play(kIdKeyboardPicture, 0);
  // A right click anywhere else in the window plays the chord as well, with
  // the strum delay of the last picture clicked.
  c.onWindowMouse = play(0, -1);
  c.Button(kIdNew, "&New...", DialogButtonRole::kAction, [this] { OnNew(); });
  c.Button(kIdView, "&View", DialogButtonRole::kAction, [this] { OnView(); });
  c.Button(kIdRemove, "&Remove", DialogButtonRole::kAction, [this] { OnRemove(); });
  c.Button(IDOK, "OK", DialogButtonRole::kOk);
  c.Button(IDCANCEL, "Cancel", DialogButtonRole::kCancel);
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
}

void KDlgChordSelect::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout = Column({
      Row({
          Column({Form({Field(kIdRootLabel, kIdRoot), Field(kIdTypeLabel, kIdType),
                        Field(kIdVariationLabel, kIdVariation), Field(kIdNoteTypeLabel, kIdNoteType)}),
                  Ctl(kIdChordName), Stretch()}),
          Column({Ctl(kIdDiagramPicture), Ctl(kIdKeyboardPicture), Stretch()}),
          Ctl(kIdTabPicture),
          Ctl(kIdStaffPicture),
          Column({Ctl(kIdNew), Ctl(kIdView), Ctl(kIdRemove), Stretch()}),
      }),
      // A user chord's details stand where the intervals would: at the top.
      Box(kIdSpellingFrame,
          {Ctl(kIdDetails),
           Row({Ctl(kIdFirstInterval), Ctl(kIdFirstInterval + 1), Ctl(kIdFirstInterval + 2),
                Ctl(kIdFirstInterval + 3), Ctl(kIdFirstInterval + 4), Ctl(kIdFirstInterval + 5),
                Ctl(kIdFirstInterval + 6), Stretch()}),
           Row({Ctl(kIdFirstNote), Ctl(kIdFirstNote + 1), Ctl(kIdFirstNote + 2), Ctl(kIdFirstNote + 3),
                Ctl(kIdFirstNote + 4), Ctl(kIdFirstNote + 5), Ctl(kIdFirstNote + 6), Stretch()})}),
  });
}

int KDlgChordSelect::VariationCount() const { return std::abs(userVarCount) + libVarCount; }

void KDlgChordSelect::Select(UINT id, int index) {
  if (DialogControl* control = Controls().Find(id)) control->value = index;
}

void KDlgChordSelect::Fail(UINT message, const char* code) {
  if (m_failed) return;
  m_failed = true;
  ReportInternalError(message, code);
  EndDialog(2);
}

KTuningInfo* KDlgChordSelect::LookupInfo(const CString& tuningKey) const {
  CObject* found = nullptr;
  return g_ChordDictionary.Lookup(tuningKey, found) ? static_cast<KTuningInfo*>(found) : nullptr;
}

void KDlgChordSelect::SplitTuning() {
  const int marker = tuning.Find(g_FretListMarker);
  if (marker > 0) {
    m_tuningPart = tuning.Left(marker);
    const CString rest = tuning.Mid(marker + g_FretListMarker.GetLength());
    const int end = rest.Find(",12");
    m_fretList = end > 0 ? rest.Left(end + 3) : CString();
  } else {
    m_tuningPart = tuning;
    m_fretList.Empty();
  }
  // The key the dictionary file's records of this tuning are kept under.
  m_tuningKey = MakeTuningKey(tuning);
  m_stringCount = GetTuningStringCount(tuning);
}

CString KDlgChordSelect::Caption(const CString& fretListPrefix) const {
  const CString title = LoadString(kCaptionText);
  CString text = title + ": ";
  if (tuning == kStandardTuning) {
    text += LoadString(kStandardText);
  } else if (m_tuningPart.GetLength() > 25 && m_tuningPart[25] != ' ') {
    CString names;
    GetTuningNoteNames(tuning, names);
    text += m_tuningPart.Left(13);
    text.TrimRight();
    text += " + " + names.Left(names.GetLength() - 12);
  } else if (tuning.GetLength() > 14 && tuning[12] != '*' && tuning[12] != ' ') {
    text += NormalizeTuningName(tuning).Left(12);
  } else {
    CString names = m_tuningPart.Left(13);
    names.TrimLeft();
    names.TrimRight();
    text += names;
  }
  if (!m_fretList.IsEmpty()) text += fretListPrefix + m_fretList + "...)";
  return text;
}

void KDlgChordSelect::EnsureRootLoaded() {
  m_userRootPresent = 0;
  if (m_userInfo != nullptr && m_userInfo->HasKey(key) != 0) {
    m_userRootPresent = 1;
    if (m_userInfo->IsKeyLoaded(key) == 0) m_userInfo->LoadChords(m_tuningKey, key);
  }
}

BOOL KDlgChordSelect::OnInitDialog() {
  KModalDialog::OnInitDialog();
  m_failed = false;
  Controls().Show(kIdRemove, false);
  SplitTuning();

  m_tabChord = std::make_unique<KChord>(0, (g_CurrentNoteCode * 5 + 35) * 2);
  m_staffChord = std::make_unique<KChord>(0, 0);
  m_topUserTypes = 0;
  m_standardTuning = tuning == kStandardTuning ? 1 : 0;
  m_libraryAvailable = g_chordSettings.libraryOff == 0 && (tuning == g_chordSettings.libraryTuning ||
                                                           g_chordSettings.libraryEveryTuning != 0)
                           ? 1
                           : 0;
  Controls().SetTitle(std::string(Caption(" (").View()));

  m_userInfo = LookupInfo(m_tuningKey);
  m_defaultInfo = LookupInfo(MakeTuningKey(g_chordSettings.libraryTuning));
  m_typedText.Empty();
  m_typeTyped = 0;

  // The root, and a remembered chord of the recent chords.
  const ChordRecord* remembered = nullptr;
  m_keyTyped = key.IsEmpty() ? 0 : 1;
  if (!key.IsEmpty()) {
    for (int i = 0; i < g_RecentChordCount; ++i) {
      const ChordRecord& entry = g_RecentChords[i];
      if (entry.text1 == key && entry.text2 == "(major)" && entry.text0 == tuning) {
        remembered = &entry;
        break;
      }
    }
  } else if (g_RecentChordCount == 0) {
    key = "A ";
  } else {
    key = g_RecentChords[0].text1;
    remembered = &g_RecentChords[0];
  }
  if (ChordRootIndex(key) < 0) {
    key = "A ";
    remembered = nullptr;
  }
  m_keyIndex = ChordRootIndex(key);

  EnsureRootLoaded();
  m_defaultRootPresent = 0;
  if (m_defaultInfo != nullptr && m_defaultInfo->HasKey(key) != 0) {
    m_defaultRootPresent = 1;
    if (m_defaultInfo->IsKeyLoaded(key) == 0) m_defaultInfo->LoadChords(m_defaultInfo->GetTuningKey(), key);
  }
  Select(kIdRoot, m_keyIndex);
  Select(kIdNoteType, NoteTypeRowOfDuration(g_CurrentNoteCode));

  if (!FillTypeList(key)) return TRUE;

  if (remembered == nullptr) {
    if (m_libraryAvailable != 0) {
      typeName = "(major)";
      if (LoadChordDllString(kChordMajorSpellingId, spelling) <= 0) {
        Fail(kMsgLookupFailed, "DC-1");
        return TRUE;
      }
      typeStringId = LibraryBlockId(m_keyIndex);
      if (!LoadTypeString("DC-2")) return TRUE;
      libVarCount = LibraryVariationCount(m_typeString);
    } else {
      const int row = std::max(FindTypeIndex("(major)"), 0);
      const ChordTypeEntry& entry = m_types[static_cast<std::size_t>(row)];
      typeName = WithoutStar(entry.name);
      spelling = entry.spelling;
      typeStringId = entry.stringId;
      libVarCount = entry.libCount;
      m_typeString = kBlankTypeString;
    }
    variation = 1;
  } else {
    typeName = WithoutStar(remembered->text2);
    spelling = remembered->text3;
    typeStringId = remembered->value0;
    libVarCount = remembered->value1;
    variation = std::max(1, remembered->value3);
  }

  if (m_userRootPresent != 0) {
    userVarCount = m_userInfo->CountVariations(key, typeName);
  } else {
    userVarCount = m_libraryAvailable == 0 ? -1 : 0;
  }
  m_defaultUserVarCount = m_defaultRootPresent != 0 ? m_defaultInfo->CountVariations(key, typeName) : 0;

  m_typeIndex = std::max(FindTypeIndex(typeName), 0);
  Select(kIdType, m_typeIndex);
  if (variation > VariationCount()) variation = 1;
  FillVariationList();
  shape = CurrentShape();
  if (m_failed) return TRUE;
  ShowCurrent();
  return TRUE;
}

bool KDlgChordSelect::LoadTypeString(const char* code) {
  if (typeStringId < 0) return true;
  if (LoadChordDllString(typeStringId, m_typeString) <= 0) {
    Fail(kMsgLookupFailed, code);
    return false;
  }
  return true;
}

CString KDlgChordSelect::FittedShape(const CString& chordShape) const {
  if (tuning == g_chordSettings.libraryTuning || g_chordSettings.libraryEveryTuning == 0 ||
      chordShape.GetLength() != 7)
    return chordShape;
  CString fitted;
  AdaptChordShape(g_chordSettings.libraryTuning, chordShape, tuning, &fitted);
  return fitted;
}

CString KDlgChordSelect::LibraryShape(int n) const { return FittedShape(LibraryVariation(m_typeString, n)); }

// The shape of the current variation: the catalogue's, then the user's.
CString KDlgChordSelect::CurrentShape() {
  if (userVarCount < 0) return "0000000";
  if (variation > libVarCount) {
    if (userVarCount < 1 || m_userInfo == nullptr) return "0000000";
    return m_userInfo->GetChordField(key, typeName, variation - libVarCount, kChordFieldShape);
  }
  if (!LoadTypeString("DC-3")) return shape;
  return LibraryShape(variation);
}

void KDlgChordSelect::FillVariationList() {
  DialogControl* list = Controls().Find(kIdVariation);
  list->items.clear();
  for (int n = 1; n <= VariationCount(); ++n)
    list->items.push_back(std::string(ChordVariationLabel(n).View()));
  if (list->items.empty()) list->items.push_back(std::string(ChordVariationLabel(1).View()));
  list->value = std::clamp(variation - 1, 0, static_cast<int>(list->items.size()) - 1);
}

bool KDlgChordSelect::FillTypeList(const CString& root) {
  m_types.clear();
  m_libTypeCount = 0;
  m_topUserTypes = 0;
  EnsureRootLoaded();
  const int rootIndex = ChordRootIndex(root);

  if (m_libraryAvailable != 0) {
    int id = LibraryBlockId(rootIndex);
    for (int row = 0; row < kMaxTypeRows; ++row) {
      CString text;
      if (LoadChordDllString(id, text) <= 0) {
        MessageBeep(MB_ICONEXCLAMATION);
        Fail(kMsgLookupFailed, "DC-12");
        return false;
      }
      ChordTypeEntry entry;
      entry.stringId = id;
      entry.name = LibraryTypeName(text);
      if (text.GetLength() < 2 ||
          LoadChordDllString(kChordSpellingBase + static_cast<unsigned char>(text[1]), entry.spelling) <= 0) {
        MessageBeep(MB_ICONEXCLAMATION);
        Fail(kMsgLookupFailed, "DC-13");
        return false;
      }
      entry.libCount = LibraryVariationCount(text);
      entry.userCount = m_userRootPresent != 0 ? m_userInfo->CountVariations(root, entry.name) : 0;
      if (entry.userCount > 0) entry.name += "*";
      m_types.push_back(entry);
      const int step = 10 * (text.GetAt(0) - '0');
      if (step <= 0 || step > 90) break;
      id += step;
    }
    m_libTypeCount = static_cast<int>(m_types.size());
  }

  if (m_userRootPresent != 0) {
    for (CString name = m_userInfo->GetNextChordName(root, CString()); !name.IsEmpty();
         name = m_userInfo->GetNextChordName(root, name)) {
      const bool listed = std::any_of(m_types.begin(), m_types.end(), [&](const ChordTypeEntry& entry) {
        return WithoutStar(entry.name) == name;
      });
      if (listed) continue;
      if (static_cast<int>(m_types.size()) >= kMaxTypeRows) {
        AfxMessageBox(kMsgTooManyTypes);
        break;
      }
      ChordTypeEntry entry;
      entry.name = name + "*";
      entry.spelling = m_userInfo->GetChordField(root, name, 1, kChordFieldDescription);
      entry.stringId = -1;
      entry.userCount = m_userInfo->CountVariations(root, name);
      // With the user-types-first setting the user's own types stand on top.
      const auto at = g_chordSettings.userTypesFirst != 0 ? m_types.begin() + m_topUserTypes : m_types.end();
      m_types.insert(at, entry);
      if (g_chordSettings.userTypesFirst != 0) ++m_topUserTypes;
    }
  }

  if (m_libTypeCount == 0) {
    // No catalogue type: the empty grid heads the list. The rows of the list
    // and the entries are one and the same, so they cannot fall out of step.
    ChordTypeEntry blank;
    blank.name = "Blank";
    blank.spelling = LoadString(kEmptyGridText);
    blank.stringId = -2;
    blank.userCount = -1;
    m_types.insert(m_types.begin(), blank);
    m_topUserTypes = 0;
  }

  DialogControl* list = Controls().Find(kIdType);
  list->items.clear();
  for (const ChordTypeEntry& entry : m_types) list->items.push_back(std::string(entry.name.View()));
  return true;
}

int KDlgChordSelect::FindTypeIndex(const CString& name) const {
  int best = -1;
  for (int row = 0; row < static_cast<int>(m_types.size()); ++row) {
    const CString& text = m_types[static_cast<std::size_t>(row)].name;
    if (text == name) return row;
    if (!name.IsEmpty() && text.Left(name.GetLength()) == name &&
        (best < 0 || text.GetLength() < m_types[static_cast<std::size_t>(best)].name.GetLength()))
      best = row;
  }
  return best;
}

void KDlgChordSelect::OnKeySelected() {
  const int row = Controls().Find(kIdRoot)->value;
  if (row < 0 || row >= kChordRootCount) return;
  m_keyIndex = row;
  key = ChordRootCode(row);
  if (!FillTypeList(key)) return;
  variation = 1;
  m_typeIndex = 0;
  Select(kIdType, 0);
  const ChordTypeEntry& entry = m_types.front();
  typeName = WithoutStar(entry.name);
  spelling = entry.spelling;
  typeStringId = entry.stringId;
  libVarCount = entry.libCount;
  userVarCount = entry.userCount;
  m_typeString = typeStringId >= 0 ? CString() : CString(kBlankTypeString);
  if (typeStringId >= 0 && !LoadTypeString("DC-8")) return;
  FillVariationList();
  shape = CurrentShape();
  ShowCurrent();
}

void KDlgChordSelect::OnTypeSelected() {
  const int row = Controls().Find(kIdType)->value;
  if (row < 0 || row >= static_cast<int>(m_types.size())) return;
  if (m_typeTyped == 0) m_typedText.Empty();
  m_typeTyped = 0;
  variation = 1;
  m_typeIndex = row;
  const ChordTypeEntry& entry = m_types[static_cast<std::size_t>(row)];
  typeStringId = entry.stringId;
  typeName = WithoutStar(entry.name);
  spelling = entry.spelling;
  libVarCount = entry.libCount;
  userVarCount = entry.userCount;
  if (typeStringId >= 0) {
    if (!LoadTypeString("DC-9")) return;
  } else {
    m_typeString = kBlankTypeString;
    if (typeStringId == -1 && m_userInfo == nullptr) return;
  }
  FillVariationList();
  shape = CurrentShape();
  ShowCurrent();
}

void KDlgChordSelect::OnVariationSelected() {
  const int row = Controls().Find(kIdVariation)->value;
  if (row < 0 || row >= VariationCount()) return;
  variation = row + 1;
  if (userVarCount < 0) {
    shape = "0000000";
    spelling = LoadString(kEmptyGridText);
  } else if (variation > libVarCount) {
    if (m_userInfo == nullptr) return;
    shape = m_userInfo->GetChordField(key, typeName, variation - libVarCount, kChordFieldShape);
    spelling = m_userInfo->GetChordField(key, typeName, variation - libVarCount, kChordFieldDescription);
  } else {
    if (!LoadTypeString("DC-10")) return;
    if (m_typeString.GetLength() < 2 ||
        LoadChordDllString(kChordSpellingBase + static_cast<unsigned char>(m_typeString[1]), spelling) <= 0) {
      Fail(kMsgLookupFailed, "DC-11");
      return;
    }
    shape = LibraryShape(variation);
  }
  Select(kIdType, m_typeIndex);
  ShowCurrent();
}

void KDlgChordSelect::OnNoteTypeSelected() {
  const int row = Controls().Find(kIdNoteType)->value;
  if (row < 0 || row >= static_cast<int>(kNoteTypeRows.size())) return;
  const int duration = CString(kDurationLetters).Find(kNoteTypeLetters[row]);
  if (duration < 0 || duration == g_CurrentNoteCode) return;
  g_CurrentNoteCode = duration;
  m_tabChord->SetRhythmCode((duration * 5 + 35) * 2);
  UpdateWorkChords(shape);
  DrawChordPictures();
}

void KDlgChordSelect::MatchTypedText(const CString& text, int list) {
  if (text.IsEmpty()) {
    Select(kIdRoot, m_keyIndex);
    Select(kIdType, m_typeIndex);
    return;
  }
  const char c = text[0];
  // In the key list a note letter always names the root (the letter typed is
  // the root the musician wants, even with a root already chosen); a small b
  // or # is the accidental of the root shown, and any other character goes
  // on to the chord type.
  const bool rootLetter = (c >= 'A' && c <= 'G') || (c >= 'a' && c <= 'g' && c != 'b');
  if (list == 1 && (m_keyTyped == 0 || rootLetter || c == 'b' || c == '#')) {
    CString search;
    if (c == 'b' || c == '#') {
      search = key.Left(1) + CString(c);
    } else {
      const char upper = c >= 'a' && c <= 'g' ? static_cast<char>(c - 'a' + 'A') : c;
      search = CString(upper) + " ";
    }
    const int row = ChordRootIndex(search);
    if (row < 0) {
      Select(kIdRoot, m_keyIndex);
      AfxMessageBox(kMsgValidPitches);
      return;
    }
    m_keyTyped = 1;
    Select(kIdRoot, row);
    OnKeySelected();
    TakeRecentVariation();
    return;
  }
  // A letter after the root, or any text in the type list: the type's name.
  Select(kIdRoot, m_keyIndex);
  GotoDlgCtrl(kIdType);
  const CString first = m_typedText + CString(c);
  m_typedText = first;
  int row = FindTypeIndex(m_typedText);
  if (row < 0) {
    m_typedText = CString(c);
    row = FindTypeIndex(m_typedText);
  }
  if (row < 0) {
    Select(kIdType, m_typeIndex);
    CString searched = first == m_typedText ? first : first + LoadString(kOrText) + m_typedText;
    CString shownKey = key;
    shownKey.TrimRight();
    CString message;
    AfxFormatString2(message, kMsgNoTypeStarting, shownKey, searched);
    AfxMessageBox(message);
    return;
  }
  m_keyTyped = 1;
  m_typeTyped = 1;
  Select(kIdType, row);
  OnTypeSelected();
  TakeRecentVariation();
}

bool KDlgChordSelect::Typed(int character, const std::function<void(const CString&)>& match) {
  // A blank means nothing to any list: the list keeps it.
  if (character <= ' ' || character > '~') return false;
  match(CString(static_cast<char>(character)));
  return true;
}

void KDlgChordSelect::MatchTypedNoteType(const CString& text) {
  const int row = text.GetLength() == 1 ? CString(kNoteTypeLetters).Find(text[0]) : -1;
  if (row < 0) {
    AfxMessageBox(kMsgValidNoteTypes);
    Select(kIdNoteType, NoteTypeRowOfDuration(g_CurrentNoteCode));
    return;
  }
  Select(kIdNoteType, row);
  OnNoteTypeSelected();
}

void KDlgChordSelect::TakeRecentVariation() {
  // The variation last used of this chord comes back when its root or type is typed.
  for (int i = 0; i < g_RecentChordCount; ++i) {
    const ChordRecord& entry = g_RecentChords[i];
    if (entry.text1 != key || WithoutStar(entry.text2) != typeName || entry.text0 != tuning) continue;
    if (entry.value3 >= 1 && entry.value3 <= VariationCount() && entry.value3 != variation) {
      Select(kIdVariation, entry.value3 - 1);
      OnVariationSelected();
    }
    return;
  }
}

void KDlgChordSelect::MatchTypedVariation(const CString& text) {
  if (m_typedVariation.GetLength() >= 3) m_typedVariation.Empty();
  const int count = VariationCount();
  if (text.GetLength() == 1 && text[0] >= '0' && text[0] <= '9') {
    m_typedVariation += text;
    const int n = std::atoi(m_typedVariation.Str().c_str());
    if (n > 0 && n <= count) {
      Select(kIdVariation, n - 1);
      OnVariationSelected();
      return;
    }
  }
  m_typedVariation.Empty();
  Select(kIdVariation, variation - 1);
  if (count == 1) {
    AfxMessageBox(kMsgOnlyOneVariation);
  } else {
    CString message;
    AfxFormatString1(message, kMsgVariationRange, ChordVariationLabel(count).Str().c_str());
    AfxMessageBox(message);
  }
}
