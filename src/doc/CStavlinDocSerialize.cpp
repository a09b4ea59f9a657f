// The document part of a score file: a header with the format version, the
// settings record, a block of extension numbers and the text-line font table,
// then the line list, the line-group list and the section of embedded items.
//
// Format (little-endian; BYTE 8, WORD 16, DWORD 32 bits; STRING is the
// archive's string form):
//   BYTE version / 100, DWORD version (3940), DWORD 0, DWORD 0
//   9 WORD    windowX .. word9
//   12 BYTE   largeSymbols .. scrollSound
//   9 BYTE    showLineType[0..8]; element 7 holds the flags of types 9 to 16
//   12 BYTE   flags48 .. byte51
//   STRING    treble tuning (tabTuningFull when set, else tabTuning)
//   STRING    bassTabTuning, STRING pageNumberingText
//   WORD printScale, BYTE marginUnit, 4 WORD margins, 5 BYTE page numbering
//   7 WORD    word70 .. word75, midiTempo
//   4 BYTE    midiLevel, midiBetweenMarks, midiLoop, midiIgnoreRepeats
//   BYTE n, n STRING instrument table
//   BYTE showVariationNumbers, 2 WORD word83 word84, 2 BYTE tabSpacing byte86
//   2 BYTE keepGroupsTogether alertLargerThanPage, STRING text88
//   STRING chordAndRhythmFonts, STRING pageNumberFont, BYTE midiShowCaret
//   STRING textFont, STRING extTextAndTripletFonts, STRING tabFont
//   DWORD line-group count (readers skip it)
//   BYTE m, m STRING (extra strings, none written)
//   DWORD k, k DWORD extension numbers: staffValue8; staffValue9..12 packed
//         from the top byte down; midiEffects; dword105; dword106
//   BYTE font marker: 0, or 100 + number of fonts in use (older files: 1 to
//        100 fonts with the indexes 0, 1, 2 ...)
//   when fonts are in use: their indexes (BYTE each, ascending), their
//        LOGFONTs (5 DWORD, 8 BYTE, 32 bytes face name), 40 DWORD use counts
//   the line list and the line-group list (CObList form)
//   DWORD number of embedded items, then the items
//
// Files of older versions lack later fields or hold them in older forms;
// loading converts them. Loading treats the file as untrusted: a count that
// would overrun a table refuses the file rather than writing past it.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/AppServices.h"
#include "common/FontCodec.h"
#include "common/Globals.h"
#include "common/SettingCodec.h"
#include "doc/CStavlinDoc.h"
#include "doc/CStavlinDocGlobals.h"
#include "doc/DocLineHooks.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLineDefaults.h"
#include "lines/KChordPicLineServices.h"
#include "model/DocServices.h"
#include "model/KLineGroup.h"
#include "model/KLineObj.h"
#include "model/ModelGlobals.h"
#include "platform/CArchive.h"
#include "platform/StringTable.h"

namespace {

// ---- Versions -------------------------------------------------------------------

// Versions of the old numbering are a small number in the first byte; the
// DWORD after it holds the version from 3453 on and at most this before.
constexpr DWORD kOldNumberingLimit = 90;

// The versions at which the format grew or changed.
constexpr int kPageAndMidiFields = 21;
constexpr int kGroupAndChordFonts = 22;
constexpr int kInstrumentNames = 23;
constexpr int kPageNumberFont = 24;
constexpr int kMoreMidiMarks = 25;
constexpr int kShowCaretField = 26;
constexpr int kTextAndTabFonts = 28;
constexpr int kTabSpacingDefault = 29;
constexpr int kStaffValues = 34;
constexpr int kEffectsWords = 3453;
constexpr int kUndoCaretBit = 3500;
// The bit of the show-caret byte that the conversion of such a file sets.
constexpr BYTE kConvertedUndoBit = 0x40;
constexpr int kRelativeMidiLevel = 3702;

// Whether files of version 34 hold 20 use counts: the second number of the
// "StaffLines3" preference says so with this value.
constexpr int kShortCountsMark = 111;

// ---- Fixed texts ---------------------------------------------------------------------

constexpr const char* kStandardTuning = "E A D G B E  323742475156";
constexpr const char* kOldStandardTunings[] = {"S", "E A D G B E "};
constexpr const char* kStandardBassTuning = "  E A D G   *002025303500";
constexpr const char* kOldStandardBassTunings[] = {"S", "  E A D G   "};
// Tunings longer than this carry an extension.
constexpr int kPlainTuningLength = 27;
// An over-long bass tuning keeps this much.
constexpr int kBassTuningKept = 25;
// A joined pair of font texts splits only where its first text is this long.
constexpr int kShortestFontText = 30;
constexpr const char* kDefaultChordNameFont = "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
constexpr const char* kDefaultRhythmFont = "14,0,0,0,700,0,0,0,0,3,2,1,25,Courier New";
constexpr const char* kOldTabFont = "12,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
constexpr const char* kRemovedEntry = "Remove";

// Names under which older files kept the fixed instrument entries 0 to 6.
constexpr const char* const kFixedEntryNames[ScoreSettings::kFixedInstruments][5] = {
    {"Unlabeled Treble", "UL Treble", "UB Melodie", "Melodie unbeschriftet", nullptr},
    {"Unlabeled Bass", "UL Bass", "Bass unbeschriftet", nullptr, nullptr},
    {"Unlabeled Tab", "UL Tab", "Tab unbeschriftet", nullptr, nullptr},
    {"Unlabeled Percussion", "UL Percussion", "UB Perkus.", "Unlabeled Rhythm", "Rhythmus unbeschriftet"},
    {"Unlabeled Alto", "UL Alto", "UB Alt", "Alt unbeschriftet", nullptr},
    {"Unlabeled Tenor", "UL Tenor", "Tenor unbeschriftet", nullptr, nullptr},
    {"Unlabeled Bass Tab", "UL Bass Tab", "UB Bass-Tab", "Bass-Tab unbeschriftet", nullptr},
};
// An instrument text: 3 characters program, 3 characters volume, then the name.
constexpr int kInstrumentKeyLength = 6;

// ---- Numbers of the current format ------------------------------------------------

constexpr DWORD kStoredExtensionCount = 5;
constexpr BYTE kFontMarkerBase = 100;
constexpr int kOldFontCounts = 20;
constexpr int kDiagramPercent = 100;
constexpr int kSmallestDiagramPercent = 25;
constexpr int kLargestDiagramPercent = 1000;
constexpr int kOldTabSpacing = 8;

// showLineType elements packed into element 7, bit 7 first.
constexpr int kPackedTypes[8] = {9, 10, 11, 12, 13, 14, 16, 15};

BYTE Flag(BYTE value) { return value != 0 ? 1 : 0; }

bool IsOneOf(const CString& text, std::span<const char* const> candidates) {
  return std::any_of(candidates.begin(), candidates.end(), [&](const char* c) { return text == c; });
}

[[noreturn]] void Damaged() { AfxThrowArchiveException(CArchiveException::generic); }

// The version as messages show it: 3940 is "3.94.0", 250 "2.50", 33 "3.3".
CString VersionText(long long v) {
  CString text;
  if (v > 1000) {
    text.Format("%lld.%02lld.%lld", v % 10000 / 1000, v % 1000 / 10, v % 10);
  } else if (v > 100) {
    text.Format("%lld.%02lld", v / 100, v % 100);
  } else {
    text.Format("%lld.%lld", v / 10, v % 10);
  }
  return text;
}

// The part of a joined pair of texts before and after its separator, when the
// first part is long enough to be one.
bool SplitPair(const CString& joined, CString& first, CString& second) {
  const int p = joined.Find(g_LabelSeparator);
  if (p < kShortestFontText) return false;
  first = joined.Left(p);
  second = joined.Mid(p + g_LabelSeparator.GetLength());
  return true;
}

void ReadLogFont(CArchive& ar, LOGFONT& font) {
  int number = 0;
  ar >> number;
  font.lfHeight = number;
  ar >> number;
  font.lfWidth = number;
  ar >> number;
  font.lfEscapement = number;
  ar >> number;
  font.lfOrientation = number;
  ar >> number;
  font.lfWeight = number;
  ar >> font.lfItalic >> font.lfUnderline >> font.lfStrikeOut >> font.lfCharSet >> font.lfOutPrecision >>
      font.lfClipPrecision >> font.lfQuality >> font.lfPitchAndFamily;
  ar.Read(font.lfFaceName, LF_FACESIZE);
  // Nothing after the end of the name counts, and the name always ends.
  char* end = std::find(font.lfFaceName, font.lfFaceName + LF_FACESIZE, '\0');
  if (end == font.lfFaceName + LF_FACESIZE) --end;
  std::fill(end, font.lfFaceName + LF_FACESIZE, '\0');
}

void WriteLogFont(CArchive& ar, const LOGFONT& font) {
  ar << static_cast<int>(font.lfHeight) << static_cast<int>(font.lfWidth)
     << static_cast<int>(font.lfEscapement) << static_cast<int>(font.lfOrientation)
     << static_cast<int>(font.lfWeight);
  ar << font.lfItalic << font.lfUnderline << font.lfStrikeOut << font.lfCharSet << font.lfOutPrecision
     << font.lfClipPrecision << font.lfQuality << font.lfPitchAndFamily;
  ar.Write(font.lfFaceName, LF_FACESIZE);
}

// The instrument texts of a file, matched to the fixed entries and the user
// entries of the table (the fixed entries start as the settings hold them).
void ConvertInstrumentTable(ScoreSettings& s, std::vector<CString> texts) {
  constexpr int kFixed = ScoreSettings::kFixedInstruments;
  // Pass one: texts under a name of a fixed entry become that entry.
  for (CString& text : texts) {
    const CString name = text.Mid(kInstrumentKeyLength);
    for (int k = 0; k < kFixed; ++k) {
      const auto& names = kFixedEntryNames[k];
      const auto last = std::find(std::begin(names), std::end(names), nullptr);
      if (IsOneOf(name, std::span<const char* const>(std::begin(names), last))) {
        s.instrumentTable[k] = text.Left(kInstrumentKeyLength) + LoadString(kFirstUnlabelledLineNameId + k);
        text = kRemovedEntry;
        break;
      }
    }
  }
  // Pass two: the others become user entries, each name once, as many as the
  // table holds.
  int count = kFixed;
  for (const CString& text : texts) {
    if (text == kRemovedEntry) continue;
    if (count >= ScoreSettings::kInstrumentSlots) break;
    const CString name = text.Mid(kInstrumentKeyLength);
    bool known = false;
    for (int i = kFixed; i < count && !known; ++i)
      known = s.instrumentTable[i].Mid(kInstrumentKeyLength) == name;
    if (!known) s.instrumentTable[count++] = text;
  }
  for (int i = count; i < ScoreSettings::kInstrumentSlots; ++i) s.instrumentTable[i].Empty();
  s.instrumentCount = static_cast<BYTE>(count);
}

// Every object of a list read from a file must be one of the list's kind:
// the base class of the list and, when the hooks name one, that class.
void CheckListObjects(const CObList& list, const CRuntimeClass* base, const CRuntimeClass* kind) {
  POSITION pos = list.GetHeadPosition();
  while (pos != nullptr) {
    const CObject* object = list.GetNext(pos);
    if (object == nullptr) Damaged();
    if (!object->IsKindOf(base) || (kind != nullptr && !object->IsKindOf(kind)))
      AfxThrowArchiveException(CArchiveException::badClass);
  }
}

void DeleteObjects(CObList& list) {
  while (!list.IsEmpty()) delete list.RemoveHead();
}

// Program-wide values that a load sets while it reads (the objects read the
// version) and that a failed load puts back.
class KLoadGlobalsGuard {
 public:
  KLoadGlobalsGuard()
      : m_fileVersion(g_fileVersion),
        m_versionText(g_FileVersionText),
        m_coloredText(g_coloredText),
        m_lineGroupRepair(g_lineGroupRepair) {}
  KLoadGlobalsGuard(const KLoadGlobalsGuard&) = delete;
  KLoadGlobalsGuard& operator=(const KLoadGlobalsGuard&) = delete;
  ~KLoadGlobalsGuard() {
    if (m_kept) return;
    g_fileVersion = m_fileVersion;
    g_FileVersionText = m_versionText;
    g_coloredText = m_coloredText;
    g_lineGroupRepair = m_lineGroupRepair;
  }
  void Keep() { m_kept = true; }

 private:
  std::int32_t m_fileVersion;
  CString m_versionText;
  int m_coloredText;
  int m_lineGroupRepair;
  bool m_kept = false;
};

}  // namespace

// A score as read from a file, before it takes the document's place.
struct CStavlinDoc::LoadedScore {
  LoadedScore() = default;
  LoadedScore(const LoadedScore&) = delete;
  LoadedScore& operator=(const LoadedScore&) = delete;
  ~LoadedScore() {
    DeleteObjects(lines);
    DeleteObjects(lineGroups);
  }

  long long version = 0;
  CString versionText;
  ScoreSettings settings;
  LOGFONT textFonts[kFontCount];
  int fontUseCounts[kFontCount] = {};
  int fontsInUse = 0;
  int colourFlag = 0;
  int tabSpacing = 0;
  CObList lines{10};
  CObList lineGroups{10};
  bool hasEmbeddedItems = false;
};

void CStavlinDoc::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    StoreScore(ar);
    return;
  }
  LoadedScore loaded;
  std::copy(std::begin(textFonts), std::end(textFonts), std::begin(loaded.textFonts));
  KLoadGlobalsGuard guard;
  LoadScore(ar, loaded);
  guard.Keep();
  TakeLoadedScore(loaded);
}

// ---- Storing -------------------------------------------------------------------------

void CStavlinDoc::StoreScore(CArchive& ar) {
  ScoreSettings& s = settings;
  ar << static_cast<BYTE>(kCurrentFileVersion / 100) << static_cast<DWORD>(kCurrentFileVersion) << DWORD{0}
     << DWORD{0};
  ar << s.windowX << s.windowY << s.windowWidth << s.windowHeight << s.scrollDelay << s.fixedLineLength
     << s.firstPageNumber << s.diagramScale << s.word9;
  ar << s.largeSymbols << s.scrollLines << s.lineSpacing << s.autosaveAmount << s.autosaveKind << s.byte15
     << s.lineLabelMode << s.adTabMode << s.tabDigitPlacement << s.readOnly << s.repeatScrolling
     << s.scrollSound;

  // The flags of line types 9 to 16 travel packed in element 7.
  BYTE packed = 0;
  for (int bit = 0; bit < 8; ++bit) {
    if (s.showLineType[kPackedTypes[bit]] != 0) packed |= static_cast<BYTE>(0x80 >> bit);
  }
  s.showLineType[ScoreSettings::kPackedShowFlags] = packed;
  for (int i = 0; i <= ScoreSettings::kShowAll; ++i) ar << s.showLineType[i];

  ar << s.flags48 << s.arrowKeysWithinStaff << s.arrowCursor << s.keyChangesCursor << s.barFlags
     << s.makeBackups << s.editFlags << s.byte47 << s.byte48 << s.printOrientation << s.byte50 << s.byte51;
  ar << (s.tabTuningFull.IsEmpty() ? s.tabTuning : s.tabTuningFull) << s.bassTabTuning << s.pageNumberingText;
  ar << s.printScale << s.marginUnit << s.marginTop << s.marginBottom << s.marginLeft << s.marginRight;
  ar << s.showPageBreaks << s.pageXofY << s.pageNumberText << s.pageNumberVertical << s.pageNumberHorizontal;
  ar << s.word70 << s.word71 << s.word72 << s.word73 << s.word74 << s.word75 << s.midiTempo;
  ar << s.midiLevel << s.midiBetweenMarks << s.midiLoop << s.midiIgnoreRepeats;

  const int instruments = std::min<int>(s.instrumentCount, ScoreSettings::kInstrumentSlots);
  ar << static_cast<BYTE>(instruments);
  for (int i = 0; i < instruments; ++i) ar << s.instrumentTable[i];
  ar << s.showVariationNumbers << s.word83 << s.word84 << s.tabSpacing << s.byte86;
  ar << s.keepGroupsTogether << s.alertLargerThanPage << s.text88;
  s.chordAndRhythmFonts = s.chordNameFont + g_LabelSeparator + s.rhythmFont;
  ar << s.chordAndRhythmFonts << s.pageNumberFont << s.midiShowCaret;
  ar << s.textFont << s.extTextAndTripletFonts << s.tabFont;

  RecountFontUse();
  ar << static_cast<DWORD>(lineGroups.GetCount()) << BYTE{0} << kStoredExtensionCount;
  ar << static_cast<DWORD>(static_cast<WORD>(s.staffValue8));
  ar << static_cast<DWORD>(DWORD{s.staffValue9} << 24 | DWORD{s.staffValue10} << 16 |
                           DWORD{s.staffValue11} << 8 | DWORD{s.staffValue12});
  ar << s.midiEffects << s.dword105 << s.dword106;

  if (fontsInUse == 0) {
    ar << BYTE{0};
  } else {
    ar << static_cast<BYTE>(kFontMarkerBase + fontsInUse);
    for (int i = 0; i < kFontCount; ++i) {
      if (fontUseCounts[i] != 0) ar << static_cast<BYTE>(i);
    }
    for (int i = 0; i < kFontCount; ++i) {
      if (fontUseCounts[i] != 0) WriteLogFont(ar, textFonts[i]);
    }
    for (int count : fontUseCounts) ar << count;
  }

  g_coloredText = 0;
  lines.Serialize(ar);
  lineGroups.Serialize(ar);
  colourFlag |= g_coloredText;
  // Embedded items are not kept on this system: the section is always empty.
  ar << DWORD{0};

  writerVersion = g_ProgramVersionText;
  g_FileVersionText = g_ProgramVersionText;
}

// ---- Loading -------------------------------------------------------------------------

void CStavlinDoc::LoadScore(CArchive& ar, LoadedScore& loaded) {
  ScoreSettings& s = loaded.settings;

  // Version.
  BYTE major = 0;
  DWORD version = 0;
  DWORD reserved = 0;
  ar >> major >> version >> reserved >> reserved;
  const long long v = version > kOldNumberingLimit ? static_cast<long long>(version) : major;
  loaded.version = v;
  loaded.versionText = VersionText(v);
  g_fileVersion = static_cast<std::int32_t>(std::min<long long>(v, INT32_MAX));
  g_FileVersionText = loaded.versionText;

  // Words and bytes.
  ar >> s.windowX >> s.windowY >> s.windowWidth >> s.windowHeight >> s.scrollDelay >> s.fixedLineLength >>
      s.firstPageNumber >> s.diagramScale >> s.word9;
  if (s.diagramScale == 0) s.diagramScale = kDiagramPercent * 256 + kDiagramPercent;
  ar >> s.largeSymbols >> s.scrollLines >> s.lineSpacing >> s.autosaveAmount >> s.autosaveKind >> s.byte15 >>
      s.lineLabelMode >> s.adTabMode >> s.tabDigitPlacement >> s.readOnly >> s.repeatScrolling >>
      s.scrollSound;
  s.lineLabelMode = Flag(s.lineLabelMode);
  s.readOnly = Flag(s.readOnly);
  s.repeatScrolling = Flag(s.repeatScrolling);
  s.scrollSound = Flag(s.scrollSound);
  for (int i = 0; i <= ScoreSettings::kShowAll; ++i) ar >> s.showLineType[i];
  const BYTE packed = s.showLineType[ScoreSettings::kPackedShowFlags];
  for (int bit = 0; bit < 8; ++bit) s.showLineType[kPackedTypes[bit]] = packed & (0x80 >> bit);
  ar >> s.flags48 >> s.arrowKeysWithinStaff >> s.arrowCursor >> s.keyChangesCursor >> s.barFlags >>
      s.makeBackups >> s.editFlags >> s.byte47 >> s.byte48 >> s.printOrientation >> s.byte50 >> s.byte51;
  s.arrowKeysWithinStaff = Flag(s.arrowKeysWithinStaff);
  s.arrowCursor = Flag(s.arrowCursor);
  s.keyChangesCursor = Flag(s.keyChangesCursor);
  s.makeBackups = Flag(s.makeBackups);
  s.printOrientation = Flag(s.printOrientation);
  s.byte50 = 0;

  // Tunings and the page-numbering text.
  ar >> s.tabTuning;
  s.tabTuningFull.Empty();
  if (IsOneOf(s.tabTuning, kOldStandardTunings)) {
    s.tabTuning = kStandardTuning;
  } else if (s.tabTuning.GetLength() > kPlainTuningLength) {
    s.tabTuningFull = s.tabTuning;
    const int p = s.tabTuning.Find(g_LabelSeparator);
    if (p > 0) s.tabTuning = s.tabTuning.Left(p);
  }
  ar >> s.bassTabTuning;
  if (IsOneOf(s.bassTabTuning, kOldStandardBassTunings)) {
    s.bassTabTuning = kStandardBassTuning;
  } else if (s.bassTabTuning.GetLength() > kPlainTuningLength) {
    s.bassTabTuning = s.bassTabTuning.Left(kBassTuningKept);
  }
  ar >> s.pageNumberingText;

  if (v >= kPageAndMidiFields) {
    // Page layout and the MIDI marks.
    ar >> s.printScale >> s.marginUnit >> s.marginTop >> s.marginBottom >> s.marginLeft >> s.marginRight;
    ar >> s.showPageBreaks >> s.pageXofY >> s.pageNumberText >> s.pageNumberVertical >>
        s.pageNumberHorizontal;
    s.showPageBreaks = Flag(s.showPageBreaks);
    s.pageXofY = Flag(s.pageXofY);
    ar >> s.word70 >> s.word71 >> s.word72 >> s.word73;
    if (v >= kMoreMidiMarks) {
      ar >> s.word74 >> s.word75;
    } else {
      s.word74 = 0;
      s.word75 = 0;
    }

    // Playback and the instrument table.
    ar >> s.midiTempo >> s.midiLevel >> s.midiBetweenMarks >> s.midiLoop >> s.midiIgnoreRepeats;
    if (v < kRelativeMidiLevel) s.midiLevel = static_cast<BYTE>(std::min(s.midiLevel + 127, 255));
    s.midiBetweenMarks = Flag(s.midiBetweenMarks);
    s.midiLoop = Flag(s.midiLoop);
    s.midiIgnoreRepeats = Flag(s.midiIgnoreRepeats);
    BYTE count = 0;
    ar >> count;
    if (count > ScoreSettings::kInstrumentSlots) Damaged();
    std::vector<CString> texts(count);
    for (CString& text : texts) ar >> text;
    ConvertInstrumentTable(s, std::move(texts));
    ar >> s.showVariationNumbers >> s.word83 >> s.word84 >> s.tabSpacing >> s.byte86;
    s.showVariationNumbers = Flag(s.showVariationNumbers);
  } else {
    // Files before these fields take the defaults of a new score, which
    // the record already holds, and these.
    s.word74 = 0;
    s.word75 = 0;
    s.midiLevel = 127;
    s.midiBetweenMarks = 0;
    s.word83 = 0;
    s.word84 = 0;
    s.byte86 = 0;
    s.text88.Empty();
  }

  // Line-group options and the chord-name and rhythm fonts.
  if (v >= kGroupAndChordFonts) {
    ar >> s.keepGroupsTogether >> s.alertLargerThanPage >> s.text88 >> s.chordAndRhythmFonts;
    s.keepGroupsTogether = Flag(s.keepGroupsTogether);
    s.alertLargerThanPage = Flag(s.alertLargerThanPage);
    CString chordName;
    CString rhythm;
    SplitPair(s.chordAndRhythmFonts, chordName, rhythm);
    s.chordNameFont = chordName.IsEmpty() ? CString(kDefaultChordNameFont) : chordName;
    s.rhythmFont = rhythm.IsEmpty() ? CString(kDefaultRhythmFont) : rhythm;
  }
  // Older instrument tables have only the fixed entries.
  if (v < kInstrumentNames) s.SetFixedInstruments();
  // Page-number font, show-caret flag, text, text-box, triplet and tab fonts.
  if (v >= kPageNumberFont) ar >> s.pageNumberFont;
  if (v >= kShowCaretField) {
    ar >> s.midiShowCaret;
    // The show-caret flag, and bit 6 that the conversion of an older file
    // may have set (below) and a save kept: it stays, so that a converted
    // score reads back as it was saved.
    s.midiShowCaret = static_cast<BYTE>((s.midiShowCaret & kConvertedUndoBit) |
                                        Flag(static_cast<BYTE>(s.midiShowCaret & ~kConvertedUndoBit)));
  }
  if (v >= kTextAndTabFonts) {
    ar >> s.textFont >> s.extTextAndTripletFonts >> s.tabFont;
    CString extText;
    CString triplet;
    SplitPair(s.extTextAndTripletFonts, extText, triplet);
    s.extTextFont = extText.IsEmpty() ? g_prefExtTextFont : extText;
    s.tripletFont = triplet.IsEmpty() ? g_prefTripletFont : triplet;
  } else {
    s.tabFont = kOldTabFont;
  }
  // Scores written before the caret bit had undo follow the preference.
  if (v < kUndoCaretBit && g_prefAutoSave.undoEnabled) s.midiShowCaret |= kConvertedUndoBit;

  // Tablature spacing.
  int spacing = s.tabSpacing / 10;
  if (spacing == 0) spacing = v < kTabSpacingDefault ? kOldTabSpacing : g_prefStaffLines2.tabLineSpacing;
  loaded.tabSpacing = spacing;

  // Colour in the fonts.
  for (const CString* font :
       {&s.chordNameFont, &s.rhythmFont, &s.textFont, &s.extTextFont, &s.tripletFont, &s.tabFont}) {
    if (ParseTripleFlag(*font)) loaded.colourFlag = 1;
  }

  // Extra strings and extension numbers.
  DWORD groupCount = 0;
  ar >> groupCount;
  BYTE extraStrings = 0;
  ar >> extraStrings;
  for (CString skipped; extraStrings > 0; --extraStrings) ar >> skipped;
  DWORD extensions = 0;
  ar >> extensions;
  bool staffValuesRead = false;
  bool effectsRead = false;
  if (v >= kStaffValues && extensions >= 2) {
    DWORD indent = 0;
    DWORD spaces = 0;
    ar >> indent >> spaces;
    s.staffValue8 = static_cast<short>(indent & 0xFFFF);
    s.staffValue9 = static_cast<BYTE>(spaces >> 24);
    s.staffValue10 = static_cast<BYTE>(spaces >> 16);
    s.staffValue11 = static_cast<BYTE>(spaces >> 8);
    s.staffValue12 = static_cast<BYTE>(spaces);
    extensions -= 2;
    staffValuesRead = true;
  }
  if (v >= kEffectsWords && extensions >= 3) {
    ar >> s.midiEffects >> s.dword105 >> s.dword106;
    extensions -= 3;
    effectsRead = true;
  }
  if (extensions > 0) {
    WarnNewerFileOnce();
    for (DWORD skipped = 0; extensions > 0; --extensions) ar >> skipped;
  }
  if (!staffValuesRead) {
    s.staffValue8 = 0;
    s.staffValue9 = 22;
    s.staffValue10 = 26;
    s.staffValue11 = 14;
    s.staffValue12 = 12;
  }
  if (!effectsRead) {
    s.midiEffects = g_defaultEffects;
    s.dword105 = 0;
    s.dword106 = 0;
  }

  // The text-line fonts in use.
  BYTE marker = 0;
  ar >> marker;
  if (marker == 0) {
    loaded.fontsInUse = 0;
  } else {
    int indexes[kFontCount] = {};
    int used = 0;
    if (marker > kFontMarkerBase) {
      used = marker - kFontMarkerBase;
      if (used > kFontCount) Damaged();
      for (int i = 0; i < used; ++i) {
        BYTE index = 0;
        ar >> index;
        if (index >= kFontCount) Damaged();
        indexes[i] = index;
      }
    } else {
      used = marker;
      if (used > kFontCount) Damaged();
      for (int i = 0; i < used; ++i) indexes[i] = i;
    }
    loaded.fontsInUse = used;
    for (int i = 0; i < used; ++i) {
      LOGFONT& font = loaded.textFonts[indexes[i]];
      ReadLogFont(ar, font);
      if (font.lfEscapement != 0) loaded.colourFlag = 1;
    }
    int stored = v >= kStaffValues ? kFontCount : kOldFontCounts;
    if (v == kStaffValues && g_prefStaffLines3.titleFontThreshold == kShortCountsMark)
      stored = kOldFontCounts;
    LOGFONT defaultFont;
    StringToLogFont(s.textFont, defaultFont);
    for (int i = 0; i < kFontCount; ++i) {
      int count = 0;
      if (i < stored) ar >> count;
      loaded.fontUseCounts[i] = std::max(count, 0);
      if (loaded.fontUseCounts[i] == 0) loaded.textFonts[i] = defaultFont;
    }
  }

  s.KeepInRange();

  // Lines, line groups and embedded items.
  g_coloredText = 0;
  loaded.lines.Serialize(ar);
  CheckListObjects(loaded.lines, RUNTIME_CLASS(KLineObj), DocLineHooks().lineClass);
  loaded.lineGroups.Serialize(ar);
  CheckListObjects(loaded.lineGroups, RUNTIME_CLASS(KLineGroup), DocLineHooks().groupClass);
  if (g_coloredText) loaded.colourFlag = 1;
  // The items come last and are not kept on this system; their data is not read.
  DWORD items = 0;
  ar >> items;
  loaded.hasEmbeddedItems = items != 0;
}

void CStavlinDoc::TakeLoadedScore(LoadedScore& loaded) {
  // Copied before anything is given up: from here on nothing can fail.
  ScoreSettings taken = loaded.settings;
  DeleteContents();
  settings = std::move(taken);
  std::copy(std::begin(loaded.textFonts), std::end(loaded.textFonts), std::begin(textFonts));
  std::copy(std::begin(loaded.fontUseCounts), std::end(loaded.fontUseCounts), std::begin(fontUseCounts));
  fontsInUse = loaded.fontsInUse;
  colourFlag = loaded.colourFlag;
  regroupedTextLines = 0;
  lines = std::move(loaded.lines);
  lineGroups = std::move(loaded.lineGroups);
  DropGroupIndex();
  m_lastLoadHadItems = loaded.hasEmbeddedItems;
  writerVersion = loaded.versionText;

  // The program-wide values that follow the score. The diagram scale keeps
  // bits 8 to 10 of each percentage in flags48.
  const ScoreSettings& s = settings;
  int width = (s.diagramScale >> 8) | ((s.flags48 >> 1) & 7) << 8;
  int height = (s.diagramScale & 0xFF) | ((s.flags48 >> 4) & 7) << 8;
  if (width < kSmallestDiagramPercent || height < kSmallestDiagramPercent) width = height = kDiagramPercent;
  g_diagramWidth = width;
  g_diagramHeight = height;
  g_tabStringSpacing = loaded.tabSpacing;
  g_chordNameFont = s.chordNameFont;
  g_rhythmFont = s.rhythmFont;
  // New chord-diagram lines take the score's chord-name font and diagram size.
  g_defaultChordNameFontText = s.chordNameFont;
  g_defaultDiagramWidthPct = std::min(width, kLargestDiagramPercent);
  g_defaultDiagramHeightPct = std::min(height, kLargestDiagramPercent);
  g_diagramFretNumbers = s.showVariationNumbers;
  g_staffTextFont = s.extTextFont;
  g_tripletFont = s.tripletFont;
  SetNewLineSpacing(s.staffValue8, s.staffValue9, s.staffValue10, s.staffValue11, s.staffValue12);
}
