// The play directions of a line (see PlayDirections.h).

#include "midi/PlayDirections.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KLineTime.h"
#include "model/KListLine.h"
#include "model/KPDObj.h"

namespace {

using namespace play_dir;

constexpr int kColumnPixels = 18;
constexpr int kRepeatStartCode = 24;
constexpr int kRepeatEndCode = 25;
constexpr int kCodaCode = 89;
constexpr int kSegnoCode = 90;
constexpr int kEndStartRepeatCode = 96;
constexpr int kTextBox = 3;
constexpr int kMaxPassNumbers = 10;
constexpr int kMaxSignValue = 3;

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool Has(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

bool IsEndingBracket(int kind) { return kind == 7 || kind == 8 || kind == 9 || kind == 13; }

int FullCode(const KChord& chord, int i) {
  const NoteEntry& entry = chord.RawEntry(i);
  return entry.code + ((entry.flag & KChord::kFlagFlagged) != 0 ? KChord::kFlaggedBase : 0);
}

bool IsBarAt(const KListLine& line, int column) {
  if (column < 0) return false;
  const auto* chord = dynamic_cast<const KChord*>(line.GetObjAt(column, 0));
  return chord != nullptr && chord->IsBarColumn();
}

// Whether the column holds notes, rests or grace notes.
bool HoldsMusic(const KListLine& line, int column) {
  const auto* chord = dynamic_cast<const KChord*>(line.GetObjAt(column, 0));
  return chord != nullptr && chord->GetPos() == column &&
         (KLineTime::StepOf(*chord) > 0 || KLineTime::IsGraceColumn(*chord));
}

// The last bar column at or before the column; -1 when none.
int BarAtOrBefore(const KListLine& line, int column) {
  int found = -1;
  const CObList* objects = line.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const auto* chord = dynamic_cast<const KChord*>(objects->GetNext(node));
    if (chord == nullptr) continue;
    if (chord->GetPos() > column) break;
    if (chord->IsBarColumn()) found = chord->GetPos();
  }
  return found;
}

// The first bar column at or after the column; -1 when none.
int BarAtOrAfter(const KListLine& line, int column) {
  const CObList* objects = line.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const auto* chord = dynamic_cast<const KChord*>(objects->GetNext(node));
    if (chord != nullptr && chord->GetPos() >= column && chord->IsBarColumn()) return chord->GetPos();
  }
  return -1;
}

int Column(const KPDObj* record) { return record->GetStart().second; }

// Puts the record before the first record whose column is greater (orEqual:
// greater or equal), or at the end.
void InsertByColumn(std::vector<KPDObj*>& records, KPDObj* record, bool orEqual) {
  const int column = Column(record);
  auto at = std::find_if(records.begin(), records.end(),
                         [&](const KPDObj* r) { return orEqual ? Column(r) >= column : Column(r) > column; });
  records.insert(at, record);
}

void GivePassNumbers(KPDObj& bracket, const std::vector<int>& numbers, bool nextStrain) {
  for (std::size_t i = 0; i < numbers.size(); ++i) bracket.SetPassEntry(static_cast<int>(i), numbers[i]);
  if (nextStrain) bracket.SetValue(bracket.GetValue() + kNextStrain);
}

bool Holds(const KPDObj& bracket, int column) {
  return column >= bracket.GetStart().second && column < bracket.GetEnd().second;
}

}  // namespace

int DirectionWords::Kind() const {
  if (jumpWord || daCapo || dalSegno || alSegno) return kJump;
  if (fine) return kFine;
  if (coda) return kCoda;
  if (segno) return kSegno;
  return -1;
}

int DirectionWords::JumpCode() const {
  int code = daCapo ? 100 : dalSegno ? 200 : 0;
  if (!jumpWord) return code;
  if (fine) return code + 10;
  if (coda) return code + 31;
  if (alSegno) return code + 41;
  if (nextStrain) return code + kNextStrain;
  return code;
}

DirectionWords ReadDirectionWords(const std::string& raw) {
  const std::string text = Upper(raw);
  DirectionWords w;
  w.daCapo = Has(text, "DC") || Has(text, "D.C.") || Has(text, "TO START") || Has(text, "TO BEGINNING");
  w.dalSegno = Has(text, "DS") || Has(text, "D.S.") || Has(text, "DAL SEGNO") || Has(text, "FROM SEGNO");
  w.alSegno =
      !w.dalSegno && (Has(text, "AS") || Has(text, "A.S.") || Has(text, "AL SEGNO") || Has(text, "TO SEGNO"));
  w.segno = !w.dalSegno && !w.alSegno && Has(text, "SEGNO");
  w.coda = Has(text, "CODA");
  w.fine = Has(text, "FINE");
  const bool earlier = w.daCapo || w.dalSegno || w.alSegno || w.segno || w.coda || w.fine;
  w.jumpWord = Has(text, "GO TO") || Has(text, " AL ") || Has(text, " TO ") || Has(text, "TO NEXT") ||
               (earlier && (Has(text, "TO ") || Has(text, "AL ") || Has(text, " TO") || Has(text, " AL"))) ||
               text == "TO" || text == "AL";
  w.nextStrain = w.jumpWord && (Has(text, "NEXT STRAIN") || Has(text, "NEXT SECTION"));
  return w;
}

std::vector<int> ReadPassNumbers(const std::string& raw) {
  std::vector<int> numbers;
  const std::size_t first = raw.find_first_of("0123456789");
  if (first == std::string::npos) return numbers;
  std::string between;
  for (std::size_t i = first; i < raw.size() && numbers.size() < kMaxPassNumbers; ++i) {
    const char c = raw[i];
    if (!std::isdigit(static_cast<unsigned char>(c))) {
      between += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      continue;
    }
    const int digit = c - '0';
    if (!numbers.empty()) {
      const int last = numbers.back();
      if (digit <= last) break;
      const bool bridged = Has(between, "-") || Has(between, "to") || Has(between, "zu");
      for (int n = last + 1; bridged && n < digit && numbers.size() < kMaxPassNumbers; ++n)
        numbers.push_back(n);
      if (numbers.size() >= kMaxPassNumbers) break;
    }
    numbers.push_back(digit);
    between.clear();
  }
  return numbers;
}

bool IsPositionCaption(const std::string& text) {
  if (text.empty()) return false;
  const auto only = [&](const char* allowed) { return text.find_first_not_of(allowed) == std::string::npos; };
  // An octave caption ("8va", "8vb") begins with its digit.
  if (only("8vabVAB. ") && text.find_first_of("vV") != std::string::npos) return true;
  return std::string("123456789., ").find(text[0]) == std::string::npos && only("/CB.IVX ");
}

void CollectPlayDirections(KListLine& line, CObList& directions, int lineIndex, int isFirstLine) {
  if (line.GetObjCount() == 0 || line.GetFamily() > KLineObj::kFamilyTab || line.GetFamily() < 0) return;
  const bool tab = line.GetFamily() == KLineObj::kFamilyTab;
  std::vector<KPDObj*> records;
  struct Owner {
    std::vector<KPDObj*>& records;
    ~Owner() {
      for (KPDObj* r : records) delete r;
    }
  } owner{records};

  // 1, 2: the implicit section start, then the records of the column symbols.
  if (isFirstLine != 0) records.push_back(new KPDObj(kRepeatStart, lineIndex, 0, kSectionStart));
  int repeatEnds = 0;
  int codas = 0;
  int segnos = 0;
  KPDObj* lastSign = nullptr;  // the last record, when it was made by a coda or segno sign
  const CObList* objects = line.GetObjList();
  int lastObjectColumn = 0;
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const auto* chord = dynamic_cast<const KChord*>(objects->GetNext(node));
    if (chord == nullptr) continue;
    const int column = chord->GetPos();
    lastObjectColumn = std::max(lastObjectColumn, column);
    for (int i = 0; i < chord->GetNoteCount(); ++i) {
      const int code = FullCode(*chord, i);
      KPDObj* made = nullptr;
      if (code == kRepeatStartCode) {
        made = new KPDObj(kRepeatStart, lineIndex, column, 0);
      } else if (code == kRepeatEndCode || code == kEndStartRepeatCode) {
        made = new KPDObj(kRepeatEnd, lineIndex, column, 1);
        ++repeatEnds;
        if (code == kEndStartRepeatCode) {
          records.push_back(made);
          made = new KPDObj(kRepeatStart, lineIndex, column, 0);
        }
      } else if (code == kCodaCode || code == kSegnoCode) {
        const int kind = code == kCodaCode ? kCoda : kSegno;
        if (lastSign != nullptr && !records.empty() && records.back() == lastSign &&
            lastSign->GetKind() == kind) {
          lastSign->SetValue(std::min(lastSign->GetValue() + 1, kMaxSignValue));
          continue;
        }
        made = new KPDObj(kind, lineIndex, column, 1);
        ++(kind == kCoda ? codas : segnos);
        records.push_back(made);
        lastSign = made;
        continue;
      }
      if (made != nullptr) records.push_back(made);
    }
  }
  const auto signRecord = [&](const KPDObj* r) {
    // Records of kind 3 and 4 at this stage come from signs; texts add theirs later.
    return r->GetKind() == kCoda || r->GetKind() == kSegno;
  };
  std::vector<const KPDObj*> fromSigns;
  for (const KPDObj* r : records) {
    if (signRecord(r)) fromSigns.push_back(r);
  }

  // 3: only the attachments above the line are read; on a first line they
  // must also start after column 2.
  CObList* attachments = line.GetAttachments();
  std::vector<KExtendedObj*> above;
  for (POSITION node = attachments != nullptr ? attachments->GetHeadPosition() : nullptr; node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(attachments->GetNext(node));
    const int row = attachment->GetOffset().y / (tab ? 10 : 3) + attachment->GetRow();
    if (row >= (tab ? 2 : 14)) continue;
    if (isFirstLine != 0 && attachment->GetPos() <= 2) continue;
    above.push_back(attachment);
  }

  // 4: ending brackets, tied to the bar columns at their ends: an ending
  // holds the bars whose notes lie under it, from the bar line that opens the
  // first of them to the one that closes the last (the line's end when no
  // bar closes it on this line).
  const int length = line.GetLength();
  std::vector<std::pair<const KExtendedObj*, KPDObj*>> endingOf;
  for (KExtendedObj* bracket : above) {
    if (!IsEndingBracket(bracket->GetKind())) continue;
    const int from = std::max(0, bracket->GetPos() + (bracket->GetOffset().x + 10) / kColumnPixels);
    // The bar line at its start or the last one before it; a bracket that
    // begins just left of a bar line, before any bar of the line and over no
    // music (a clef or signature), begins there; otherwise the line's start
    // opens its first bar.
    int start = BarAtOrBefore(line, from);
    if (start < 0) start = IsBarAt(line, from + 1) && !HoldsMusic(line, from) ? from + 1 : 0;
    const int to =
        bracket->GetPos() + (bracket->GetOffset().x + bracket->MeasureText(nullptr)) / kColumnPixels;
    int end = BarAtOrAfter(line, std::max(start + 1, to - 1));
    if (end < 0) end = length;
    static constexpr int kForms[14] = {0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 0, 0, 0, 4};
    int form = kForms[bracket->GetKind()];
    if (form == 4 && end != length) form = 5;
    auto* record = new KPDObj(kEnding, lineIndex, start, form, end);
    InsertByColumn(records, record, false);
    endingOf.emplace_back(bracket, record);
  }

  // 5: the texts of text boxes and bracket captions.
  for (KExtendedObj* attachment : above) {
    const bool isBracket = IsEndingBracket(attachment->GetKind());
    if (attachment->GetKind() != kTextBox && !isBracket) continue;
    const std::string raw(attachment->GetText().View());
    if (raw.empty()) continue;
    const int offset = attachment->GetOffset().x;
    const int startColumn = std::max(0, attachment->GetPos() + offset / kColumnPixels) + (isBracket ? 1 : 0);
    const int textColumn =
        std::max(0, (attachment->GetPos() * kColumnPixels + offset + attachment->MeasureText(nullptr)) /
                        kColumnPixels);
    const bool position = IsPositionCaption(raw);
    const DirectionWords words = ReadDirectionWords(raw);
    const int kind = position ? -1 : words.Kind();
    const std::vector<int> numbers = ReadPassNumbers(raw);

    bool replaced = false;
    // A bracket's caption numbers the bracket it is written on.
    if (isBracket && !position) {
      const auto own = std::find_if(endingOf.begin(), endingOf.end(),
                                    [&](const auto& pair) { return pair.first == attachment; });
      if (own != endingOf.end()) {
        GivePassNumbers(*own->second, numbers, words.nextStrain);
        continue;
      }
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
      KPDObj* r = records[i];
      const int distance = Column(r) - startColumn;
      if (r->GetKind() == kEnding) {
        if (position) {
          if (startColumn >= Column(r) - 4 && startColumn <= Column(r)) {
            delete r;
            records.erase(records.begin() + static_cast<std::ptrdiff_t>(i));
            break;
          }
          continue;
        }
        if (Holds(*r, startColumn)) {
          GivePassNumbers(*r, numbers, words.nextStrain);
          break;
        }
        continue;
      }
      if (position) continue;
      if (r->GetKind() == kRepeatEnd && distance >= 0 && distance <= 3) {
        KPDObj* next = i + 1 < records.size() ? records[i + 1] : nullptr;
        if (next != nullptr && next->GetKind() == kEnding && Holds(*next, startColumn)) {
          GivePassNumbers(*next, numbers, words.nextStrain);
          break;
        }
        if (!numbers.empty()) {
          r->SetValue(numbers.size() == 2 ? numbers[0] * 10 + numbers[1] : numbers[0]);
          break;
        }
        continue;
      }
      // A jump text written at a coda or segno sign makes the sign the place
      // the jump starts from.
      const bool sign = std::find(fromSigns.begin(), fromSigns.end(), r) != fromSigns.end();
      if (sign && kind == kJump && numbers.empty() && distance >= 0 && distance <= 3) {
        const int base = r->GetKind() == kCoda ? 30 : 20;
        const int value = base + r->GetValue() + (r->GetKind() == kCoda && words.daCapo ? 100 : 0);
        records[i] = new KPDObj(kJump, lineIndex, Column(r), value);
        std::erase(fromSigns, r);
        delete r;
        replaced = true;
        break;
      }
    }
    if (kind < 0 || replaced) continue;
    const int value = kind == kJump ? words.JumpCode() : kind == kFine ? 0 : 1;
    InsertByColumn(records, new KPDObj(kind, lineIndex, std::min(textColumn, lastObjectColumn), value), true);
  }

  // 6: an ending bracket that a line break cut in two becomes one record.
  if (!records.empty() && !directions.IsEmpty()) {
    auto* previous = static_cast<KPDObj*>(directions.GetTail());
    KPDObj* first = records.front();
    const int before = previous->GetValue();
    if (previous->GetKind() == kEnding && (before == 2 || before == 4) && first->GetKind() == kEnding &&
        first->GetValue() >= 3 && first->GetValue() <= 5 && Column(first) == 0) {
      previous->SetEnd(first->GetEnd().first, first->GetEnd().second);
      if (first->GetValue() == 3) previous->SetValue(before == 2 ? 1 : 3);
      delete first;
      records.erase(records.begin());
    }
  }

  // 7
  for (KPDObj* r : records) directions.AddTail(r);
  records.clear();
}
