// KRhythmLine: the plain-text and ABC writers, and the two readings playback
// asks of a rhythm line: the tempo (a metronome mark such as a quarter note
// followed by "=120", or a tempo word) and the swing ratio written between the
// swing markers.
//
// The writers place items by their caret columns (the column walk of the key
// entry), so the blanks written before an item are the blank columns before
// it, whatever the font's pixel widths are.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

#include "lines/KRhythmLine.h"
#include "lines/KRhythmLineSymbols.h"
#include "model/KExtendedObj.h"
#include "model/KRhythmObj.h"

namespace {
constexpr int kDotCode = 222;
constexpr int kSwingOpen = 245;
constexpr int kSwingClose = 246;
constexpr int kMaxBpm = 500;

bool IsText(const KRhythmObj& item) {
  return item.GetCode() < KRhythmObj::kFirstSymbolCode || !item.GetText().IsEmpty();
}

bool IsNoteValue(int code) { return (code >= 205 && code <= 216) || (code >= 223 && code <= 238); }

// Reads a number at the start of the text as "%f" would (no leading blanks
// here); false when none.
bool ReadNumber(const char*& p, const char* end, double& value) {
  if (p < end && *p == '+') ++p;
  const auto result = std::from_chars(p, end, value);
  if (result.ec != std::errc()) return false;
  p = result.ptr;
  return true;
}

// Parses "a?b" (a number, any one character, a number) from the first digit
// or dot of the text with its blanks removed; the ratio a / (a + b), 0 for
// b = 0. False when the text does not give two numbers.
bool ReadRatio(CString text, double& ratio) {
  text.Remove(' ');
  const int start = text.FindOneOf(".0123456789");
  if (start < 0) return false;
  const std::string_view view = text.View().substr(static_cast<std::size_t>(start));
  const char* p = view.data();
  const char* end = p + view.size();
  double a = 0;
  double b = 0;
  if (!ReadNumber(p, end, a) || p >= end) return false;
  ++p;
  if (!ReadNumber(p, end, b)) return false;
  // A sum of 0 (or numbers that are not finite) gives no usable ratio: it
  // counts as a negative one.
  ratio = b == 0 ? 0.0 : a + b == 0 ? -1.0 : a / (a + b);
  if (!std::isfinite(ratio)) ratio = -1.0;
  return true;
}

double NoteFactor(int noteCode) {
  switch (noteCode) {
    case 12:
      return 4.0;
    case 10:
      return 2.0;
    case 8:
      return 1.0;
    case 0:
      return 0.5;
    case 2:
      return 0.25;
    case 4:
      return 0.125;
    case 6:
      return 0.0625;
    default:
      return 0.0;
  }
}

struct TempoWord {
  const char* word;
  int bpm;
};
constexpr TempoWord kTempoWords[] = {
    {"LARGO", 50},       {"LENTO", 60},    {"ADAGIO", 80},  {"ANDANTE", 100}, {"ANDANTINO", 105},
    {"ALLEGRETTO", 110}, {"ALLEGRO", 120}, {"VIVACE", 140}, {"PRESTO", 160},  {"PRESTISSIMO", 200}};

int TempoOfWord(CString text) {
  text.MakeUpper();
  for (const TempoWord& entry : kTempoWords)
    if (text.Find(entry.word) >= 0) return entry.bpm;
  return -1;
}
}  // namespace

std::optional<CString> KRhythmLine::WriteText(int from, int to, int mode) {
  CString out;
  int column = std::max(0, from);
  for (const Cell& cell : Walk()) {
    if (cell.start < from || cell.start > to) continue;
    if (cell.start > column) out += CString(' ', cell.start - column);
    const KRhythmObj& item = *cell.item;
    if (IsText(item)) {
      out += item.GetText();
    } else {
      const int code = item.GetCode();
      int letter = ' ';
      if (mode >= 2 || (mode == 1 && (IsNoteValue(code) || code == kDotCode)))
        letter = RhythmLetterOfCode(code);
      out += CString(static_cast<char>(letter != 0 ? letter : ' '));
    }
    column = cell.start + cell.span;
  }
  return out;
}

std::optional<CString> KRhythmLine::WriteAbc() {
  return CString("N:") + WriteText(0, kWholeLineColumn, 1).value_or(CString()) + CString("\r\n");
}

int KRhythmLine::GetTempoBpm() const {
  bool inMark = false;
  bool dotted = false;
  int noteCode = -1;
  CString number;
  bool complete = false;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr && !complete;) {
    const KRhythmObj& item = *static_cast<const KRhythmObj*>(m_objects.GetNext(node));
    if (inMark) {
      if (!IsText(item)) {
        if (item.GetCode() == kDotCode) {
          dotted = true;
          continue;
        }
        inMark = false;
      } else {
        const int eq = item.GetText().Find('=');
        if (eq < 0) {
          inMark = false;
          continue;
        }
        const CString after = item.GetText().Mid(eq + 1);
        const int digit = after.FindOneOf("123456789");
        if (digit >= 0) {
          number = after.Mid(digit);
          complete = true;
        }
        continue;
      }
    }
    if (!IsText(item) && item.GetLinkCode() == 0 && IsNoteValue(item.GetCode())) {
      inMark = true;
      dotted = false;
      noteCode = NoteCodeOfRhythmCode(item.GetCode());
    }
  }
  if (complete) {
    const char* p = number.View().data();
    double value = -1;
    if (!ReadNumber(p, p + number.GetLength(), value) || value <= 0 || value >= kMaxBpm) return -1;
    const double bpm = value * NoteFactor(noteCode) * (dotted ? 1.5 : 1.0) + 0.5;
    return bpm < 1 || bpm >= kMaxBpm ? -1 : static_cast<int>(bpm);
  }
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KRhythmObj& item = *static_cast<const KRhythmObj*>(m_objects.GetNext(node));
    const int bpm = TempoOfWord(item.GetText());
    if (bpm > 0) return bpm;
  }
  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    const KExtendedObj& attachment = *static_cast<const KExtendedObj*>(m_attachments.GetNext(node));
    const int bpm = TempoOfWord(attachment.GetText());
    if (bpm > 0) return bpm;
  }
  return -1;
}

float KRhythmLine::GetSwingRatio() const {
  bool armed = false;
  bool collected = false;
  bool collecting = false;
  CString buffer;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KRhythmObj& item = *static_cast<const KRhythmObj*>(m_objects.GetNext(node));
    if (collecting) {
      if (item.GetText().IsEmpty()) break;
      buffer += item.GetText();
      continue;
    }
    if (IsText(item)) continue;
    if (item.GetCode() == kSwingOpen) {
      if (armed) return 0.0f;
      armed = true;
    } else if (item.GetCode() == kSwingClose && armed) {
      collecting = collected = true;
    }
  }
  if (!collected) return -1.0f;
  double ratio = 0;
  const bool read = ReadRatio(buffer, ratio);
  if (read && ratio >= 0) return static_cast<float>(ratio);
  if (m_attachments.IsEmpty()) return 0.666f;
  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    const KExtendedObj& attachment = *static_cast<const KExtendedObj*>(m_attachments.GetNext(node));
    double found = 0;
    if (attachment.GetKind() == KExtendedObj::kTextBox && ReadRatio(attachment.GetText(), found))
      return static_cast<float>(found);
  }
  return read ? static_cast<float>(ratio) : -1.0f;
}
