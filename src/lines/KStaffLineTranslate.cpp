// Translating a staff into a line of another kind: the same music under
// another clef, tablature with strings and frets (keeping the fingering in the
// hand positions that marks on the staff ask for), or a rhythm line of its
// note values; and turning the tablature cells of a staff copied from a
// tablature line into staff notes.

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/Globals.h"
#include "common/ViewServices.h"
#include "lines/KRhythmLine.h"
#include "lines/KRhythmLineDefaults.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "lines/LineColumnConversion.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"

namespace {

constexpr int kTreble = 0;
constexpr int kTab = 2;
constexpr int kBassTab = 15;
constexpr int kNoClef = 14;
constexpr int kColumnPixels = 18;  // attachment offsets are normal-size pixels
constexpr int kRowPixels = 3;
constexpr int kRhythmUnit[2] = {9, 11};

// ---- Hand-position marks ----------------------------------------------------------

constexpr int kMaxSpans = 10;
constexpr long long kMaxColumn = 1 << 20;
constexpr int kMaxMarkPosition = 20;
constexpr int kMarkRowReach = 4;
constexpr int kPositionUnit = 1000;
constexpr int kNoPosition = 1000;
constexpr int kDefaultPositionModulus = 100;
constexpr int kTextKind = 3;
constexpr const char* kRomanTable =
    " IV    V     VI    VII   VIII  IX    X     XI    XII   XIII  XIV   XV    XVI   XVII  XVIII XIX   XX ";
constexpr int kRomanEntry = 6;
constexpr int kRomanFirst = 4;

bool IsMarkLine(int kind) { return kind == 14 || kind == 15 || kind == 16 || kind == 20; }

// The hand position a mark's text gives: a number up to 20, or a Roman
// numeral up to XX; 0 when none.
int PositionOfText(const CString& text) {
  const std::string s(text.View());
  const std::size_t digit = s.find_first_of("0123456789");
  if (digit != std::string::npos) {
    const long value = std::strtol(s.c_str() + digit, nullptr, 10);
    return value >= 1 && value <= kMaxMarkPosition ? static_cast<int>(value) : 0;
  }
  const std::size_t vx = s.find_first_of("VX");
  if (vx == std::string::npos) {
    if (s.find("III") != std::string::npos) return 3;
    return s.find("II") != std::string::npos ? 2 : 0;
  }
  // The numeral around the V or X: an I before it and up to four more of I, V, X.
  std::size_t start = vx > 0 && s[vx - 1] == 'I' ? vx - 1 : vx;
  std::size_t end = vx + 1;
  while (end < s.size() && end - vx <= 4 && std::strchr("IVX", s[end]) != nullptr) ++end;
  const std::string numeral = " " + s.substr(start, end - start) + " ";
  const std::size_t at = std::string(kRomanTable).find(numeral);
  if (at == std::string::npos || numeral.size() < 3) return 0;
  return static_cast<int>(at) / kRomanEntry + kRomanFirst;
}

struct Span {
  int first = 0;
  int last = 0;
  int row = 0;
  int position = 0;
};

// The spans of columns that hand-position marks among the attachments cover.
std::vector<Span> HandSpans(const CObList& attachments) {
  std::vector<Span> spans;
  for (POSITION node = attachments.GetHeadPosition(); node != nullptr;) {
    auto* mark = static_cast<KExtendedObj*>(attachments.GetNext(node));
    const int kind = mark->GetKind();
    if (kind != kTextKind && !IsMarkLine(kind)) continue;
    // Offsets and widths come from the file: the sums are kept in range.
    const long long x = static_cast<long long>(mark->GetPos()) * kColumnPixels + mark->GetOffset().x;
    const int first = static_cast<int>(std::clamp(x / kColumnPixels, 0LL, kMaxColumn));
    const int last = static_cast<int>(
        std::min<long long>(first + std::max(0, mark->MeasureText(g_layoutDC)) / kColumnPixels, kMaxColumn));
    const int row = static_cast<int>(std::clamp<long long>(
        static_cast<long long>(mark->GetOffset().y) / kRowPixels + mark->GetRow(), -kMaxColumn, kMaxColumn));
    const int position = PositionOfText(mark->GetText());
    if (kind == kTextKind && position == 0) continue;
    Span* current = spans.empty() ? nullptr : &spans.back();
    const bool near =
        current != nullptr && std::abs(row - current->row) <= kMarkRowReach && first >= current->first;
    if (near && current->position == 0 && position != 0) {
      // A line waiting for its number, or a number that a line carries on.
      current->position = position;
      current->last = std::max(current->last, last);
    } else if (near && position == 0 && IsMarkLine(kind)) {
      current->last = std::max(current->last, last);
    } else if (static_cast<int>(spans.size()) < kMaxSpans) {
      spans.push_back({first, last, row, position});
    }
  }
  std::erase_if(spans, [](const Span& s) { return s.position == 0; });
  return spans;
}

// The position code of a column: the span's position, else the default until
// a span has ended, then none.
int PositionCodeAt(const std::vector<Span>& spans, int column, int defaultPosition) {
  bool ended = false;
  for (const Span& s : spans) {
    if (column >= s.first && column <= s.last) return (s.position + 1) * kPositionUnit;
    if (s.last < column) ended = true;
  }
  return ended ? kNoPosition : defaultPosition % kDefaultPositionModulus;
}

// ---- Rhythm symbols -----------------------------------------------------------------

// The rhythm symbol of a voice duration; 0 for none.
int RhythmSymbolOfDuration(int duration) {
  static constexpr int kSymbols[13] = {227, 227, 228, 228, 229, 229, 230, 230, 210, 210, 209, 209, 208};
  return duration >= 0 && duration <= 12 ? kSymbols[duration] : 0;
}

// The rhythm symbol of a column entry (dots, rests, marks); 0 for none.
int RhythmSymbolOfEntry(int code) {
  if (code == KChord::kDot) return 222;
  if (code >= 16 && code <= 20) return code - 16 + 217;
  if (code >= 21 && code <= 25) return code - 21 + 200;
  switch (code) {
    case 14:
      return 239;
    case 15:
      return 240;
    case 26:
      return 242;
    case 32:
    case 33:
    case 34:
    case 35:
      return 241;
    default:
      return 0;
  }
}

bool IsComputedStem(int stem) { return stem < 0 || (stem > KChord::kStemPlain && stem % 2 == 0); }
bool IsStoredStem(int stem) { return (stem >= 0 && stem <= KChord::kStemPlain) || stem % 2 != 0; }

bool HoldsSignature(const KChord& column) {
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const int code = column.GetNote(i).code;
    if (code == KChord::kTimeSignature || code == KChord::kKeySignature) return true;
  }
  return false;
}

// Keeps the bulk-entry flag raised for a scope.
class BulkEntry {
 public:
  explicit BulkEntry(int value) : m_saved(g_bulkEntry) { g_bulkEntry = value; }
  ~BulkEntry() { g_bulkEntry = m_saved; }
  BulkEntry(const BulkEntry&) = delete;
  BulkEntry& operator=(const BulkEntry&) = delete;

 private:
  int m_saved;
};

}  // namespace

std::unique_ptr<KLineObj> KStaffLine::TranslateTo(int, int kind, int, int sizeIndex, int, CString text,
                                                  int defaultPosition) {
  if (IsStaffKind(kind) && kind != kKindDrums) {
    if (kind == m_type) return nullptr;
    return ConvertToClef(kind, sizeIndex);
  }
  if (kind == kTab) return ConvertToTab(sizeIndex, text, defaultPosition);
  if (kind == kKindRhythm) return ConvertToRhythm(sizeIndex);
  return nullptr;
}

std::unique_ptr<KStaffLine> KStaffLine::ConvertToClef(int newKind, int sizeIndex) const {
  if (!IsStaffKind(newKind) || newKind == kKindDrums || newKind == kKindPercussion || newKind == m_type)
    return nullptr;
  auto line = std::make_unique<KStaffLine>(newKind, m_key, 0);
  line->SetIndent(m_indent);
  const int shift = m_type == kNoClef ? 0 : RowOffset(m_type) - RowOffset(newKind);
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(m_objects.GetNext(node));
    if (column == nullptr) continue;
    const int pos = column->GetPos();
    if (HoldsSignature(*column) || column->CountNotes() == 0) {
      line->m_objects.AddTail(new KChord(*column, pos, true));
      line->UpdateTimeSigCache();
      continue;
    }
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const NotePair entry = column->GetNote(i);
      const int row = entry.position + shift;
      if (row < kFirstRow || row > kLastRow) continue;
      const int voice = entry.code % 2 != 0 ? 0 : 1;
      const int beam = IsStoredStem(column->GetVoiceStem(voice)) ? 0 : 1;
      line->HandleKey(entry.code, column->GetNoteStyle(), sizeIndex, pos, row, beam, 0,
                      column->RawEntry(i).extra);
    }
  }
  line->MarkChanged();
  return line;
}

std::unique_ptr<KTabLine> KStaffLine::ConvertToTab(int sizeIndex, const CString& tuning,
                                                   int defaultPosition) {
  static constexpr int kTrebleKinds[] = {0, 9, 11, 12};
  static constexpr int kBassKinds[] = {1, 10};
  const bool bass = std::find(std::begin(kBassKinds), std::end(kBassKinds), m_type) != std::end(kBassKinds);
  if (!bass && std::find(std::begin(kTrebleKinds), std::end(kTrebleKinds), m_type) == std::end(kTrebleKinds))
    return nullptr;
  auto tab = std::make_unique<KTabLine>(m_key, tuning, bass ? KTabLine::kFlagBass : 0);
  tab->SetIndent(m_indent);
  const std::vector<Span> spans = HandSpans(m_attachments);
  {
    const BulkEntry bulk(1);
    LineColumnConversion lines(*this, *tab);
    for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
      const KChord* column = AsChord(m_objects.GetNext(node));
      if (column == nullptr) continue;
      const int pos = column->GetPos();
      if (column->GetNoteCount() > 0 && column->GetNote(0).code == KChord::kKeySignature)
        tab->ModifyFlags(kFlagKeyChanges, 1);
      const int positionCode = PositionCodeAt(spans, pos, defaultPosition);
      KChord* converted = column->ConvertColumn(m_type, tab->GetType(), &lines, pos, positionCode);
      if (converted == nullptr) continue;
      if (converted->GetNoteCount() == 0 || tab->InsertObj(converted, sizeIndex, pos, nullptr, 0).first == 0)
        delete converted;
    }
  }

  // The attachments: those that belong to a note go to its string.
  tab->CopyAttachmentsFrom(*this);
  CObList* copies = tab->GetAttachments();
  for (POSITION node = copies->GetHeadPosition(); node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(copies->GetNext(node));
    const int kind = attachment->GetKind();
    const int staffRow = attachment->GetRow();
    if (kind == 0 || kind == 1 || kind == 3 || kind == 6 || kind == 21) {
      int code = KChord::kDot;
      int fretCode = 0;
      const KChord* there = AsChord(tab->GetObjAt(attachment->GetPos(), 0));
      const int row = FindTabString(tab.get(), code, attachment->GetPos(), staffRow, 0, 0, there, fretCode);
      attachment->SetRow(row >= 0 && row <= 9 ? row : 4);
    } else {
      attachment->SetOffset(attachment->GetOffset().x, 0);
      attachment->SetRow(staffRow < 19 ? 0 : 8);
    }
  }
  tab->MarkChanged();
  return tab;
}

std::unique_ptr<KRhythmLine> KStaffLine::ConvertToRhythm(int sizeIndex) const {
  auto rhythm = std::make_unique<KRhythmLine>(m_key, g_defaultRhythmFontText);
  KLineObj& slots = *rhythm;
  const int size = sizeIndex == 1 ? 1 : 0;
  const int x0 = GetLeadInWidth(size) + GetIndent();
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(m_objects.GetNext(node));
    if (column == nullptr) continue;
    int c = (column->GetPos() * g_NoteColumnWidth[size] + x0) / kRhythmUnit[size];
    int duration = column->GetVoiceDuration(0);
    if (duration == KChord::kNoDuration) duration = column->GetVoiceDuration(1);
    if (const int symbol = RhythmSymbolOfDuration(duration); symbol != 0) {
      const int link =
          IsComputedStem(column->GetVoiceStem(0)) || IsComputedStem(column->GetVoiceStem(1)) ? 1 : 0;
      slots.HandleKey(symbol, 0, size, c, 0, link, 0, 0);
      ++c;
    }
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const int code = column->GetNote(i).code;
      if (code < KChord::kWholeNote) continue;
      if (const int symbol = RhythmSymbolOfEntry(code); symbol != 0) {
        slots.HandleKey(symbol, 0, size, c, 0, 0, 0, 0);
        break;
      }
    }
  }
  return rhythm;
}
