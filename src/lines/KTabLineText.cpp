// Plain-text tablature: one text row per string with "-" between the notes,
// the fret numbers at the note positions, bar lines as "|", time signatures
// as "n:" over "d:", a few technique marks after or around the frets, and
// optionally rhythm letters in a row above and below the strings. The ABC form
// is the same text with every row behind the comment field "N: ".
//
// Every character goes through a bounds-checked cell setter, so positions and
// codes from a damaged file can never write outside the rows.

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "lines/KTabLine.h"
#include "lines/TranslationServices.h"
#include "model/KChord.h"

namespace {

constexpr int kGridRows = 10;
constexpr int kAbcMode = 10;
constexpr int kAbcIndent = 3;
constexpr int kLastColumn = 32000;
const char* const kStandardNames = "E A D G B E ";
// Rhythm letters by duration code 0..20, plain and dotted.
const char kRhythmLetters[] = "eessttxxqqhhw$whqestx";
const char kDottedLetters[] = "EESSTTXXQQHHW$whqestx";
constexpr int kLetterDurations = 21;
constexpr int kLastNoteDuration = 13;

bool IsFretCode(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }

char RhythmLetter(int duration) {
  return duration >= 0 && duration <= kLastNoteDuration ? kRhythmLetters[duration] : ' ';
}

// The keyboard character that stands for a mark in typed and written text;
// 0 when the mark has none here.
char MarkCharacter(int code) {
  switch (code) {
    case 32:
    case 33:
    case 34:
    case 35:
    case 78:
    case 79:
      return '^';
    case 38:
    case 39:
    case 40:
    case 41:
      return '~';
    case 42:
    case 43:
      return 'h';
    case 44:
    case 45:
      return 'p';
    case 48:
    case 49:
      return '/';
    case 50:
    case 51:
      return '\\';
    case 54:
    case 55:
      return 'z';
    case 80:
      return '(';
    case 81:
      return ')';
    case 56:
    case 57:
      return 'p';
    case 58:
    case 59:
      return 'i';
    case 60:
    case 61:
      return 'm';
    case 62:
    case 63:
      return 'a';
    case 64:
    case 65:
      return '>';
    default:
      return 0;
  }
}

// The rows of the text as they are built.
class TabTextGrid {
 public:
  TabTextGrid(int width, int firstString, int lastString)
      : m_width(width), m_firstString(firstString), m_lastString(lastString) {
    for (int r = 0; r < kGridRows; ++r) m_rows[r].assign(width, IsStringRow(r) ? '-' : ' ');
  }
  bool IsStringRow(int r) const { return r >= m_firstString && r <= m_lastString; }
  char Get(int r, int c) const { return Inside(r, c) ? m_rows[r][c] : '\0'; }
  void Set(int r, int c, char ch) {
    if (Inside(r, c)) m_rows[r][c] = ch;
  }
  void SetOnStrings(int c, char ch) {
    for (int r = m_firstString; r <= m_lastString; ++r) Set(r, c, ch);
  }
  // Rows 0..last, each cut after the closing column and ended by CR LF.
  std::string Join(int lastRow, int closing) const {
    std::string out;
    const size_t length = static_cast<size_t>(std::clamp(closing + 1, 0, m_width));
    for (int r = 0; r <= lastRow && r < kGridRows; ++r) {
      out.append(m_rows[r], 0, length);
      out += "\r\n";
    }
    return out;
  }

 private:
  bool Inside(int r, int c) const { return r >= 0 && r < kGridRows && c >= 0 && c < m_width; }

  std::string m_rows[kGridRows];
  int m_width;
  int m_firstString;
  int m_lastString;
};

}  // namespace

std::optional<CString> KTabLine::WriteText(int from, int to, int mode) {
  int pad = 0;
  if (mode >= kAbcMode) {
    pad = kAbcIndent;
    mode -= kAbcMode;
  }
  from = std::max(from, 0);
  const int n = std::clamp(m_stringCount, 2, 8);
  const int firstString = n >= 6 ? 1 : 2;
  const int lastString = n >= 6 ? n : n + 1;
  const int rowAbove = firstString - 1;
  const int rowBelow = lastString + 1;
  const int sigRow = n == 2 ? 2 : (n == 8 ? 4 : 3);
  const bool above = g_rhythmAbove != 0;
  const bool below = g_rhythmBelow != 0;
  const bool rhythm = above || below;

  // Each position needs at most two characters and a wide column one more
  // (a damaged file may hold two columns at one position); the header and
  // the closing bar fit in the rest.
  const int length = std::max(GetLength(), 0) + GetObjCount();
  TabTextGrid grid(3 * length + 2 * pad + 8, firstString, lastString);

  // Row headers.
  for (int r = 0; r < kGridRows; ++r) {
    if (pad > 0) {
      grid.Set(r, 0, 'N');
      grid.Set(r, 1, ':');
      grid.Set(r, 2, ' ');
    }
    grid.Set(r, pad, grid.IsStringRow(r) ? '|' : ' ');
  }
  // String names of a tuning other than the standard one.
  if (m_tuning.Left(12) != kStandardNames) {
    const CString names = GetStringNameText();
    const int span = std::max(n, 6);
    for (int k = 1; k <= span; ++k) {
      const int at = 2 * (span - k);
      if (at + 1 >= names.GetLength()) continue;
      char second = names.GetAt(at + 1);
      if (second == ' ') {
        const bool dash = (k > 1 && k < span) || (k == 1 && n > 5) || (k == span && n > 4);
        if (dash) second = '-';
      }
      grid.Set(k, pad, names.GetAt(at));
      grid.Set(k, pad + 1, second);
    }
  }

  // Where a rhythm mark of the duration goes: the row below for an odd
  // duration when that row is written; otherwise the row above for an even
  // duration, or an odd one when the column has no up-stem letter; -1 none.
  auto markRow = [&](int duration, char upLetter) {
    if (duration % 2 != 0 && below) return rowBelow;
    if (above && (duration % 2 == 0 || upLetter == ' ')) return rowAbove;
    return -1;
  };

  int end = pad + 4;
  int previous = from;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(m_objects.GetNext(node));
    if (column == nullptr) continue;
    const int pos = column->GetPos();
    if (pos < from || pos > to) continue;
    const int tc = end + (pos - previous);
    previous = pos;
    bool wide = false;
    char upLetter = ' ';
    char downLetter = ' ';
    if (rhythm) {
      upLetter = RhythmLetter(column->GetVoiceDuration(1));
      downLetter = RhythmLetter(column->GetVoiceDuration(0));
    }
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const NotePair note = column->GetNote(i);
      const int code = note.code;
      if (code >= KChord::kFlaggedBase || note.position < 1) continue;
      if (code == KChord::kKeySignature) break;
      const int r = note.position - 1;
      // A mark written after the fret: right of the note, or past a second digit.
      auto afterFret = [&](char ch) {
        const char next = grid.Get(r, tc + 1);
        if (next == '-') {
          grid.Set(r, tc + 1, ch);
        } else if (std::isdigit(static_cast<unsigned char>(next))) {
          grid.Set(r, tc + 2, ch);
        }
      };
      if (IsFretCode(code)) {
        const int fret = code - KChord::kFirstFret;
        const int style = column->GetNoteStyle();
        if (style == 1) {
          grid.Set(r, tc, '/');
        } else if (style == 2) {
          grid.Set(r, tc, 'X');
        } else {
          int last = tc;
          if (fret >= 10) {
            grid.Set(r, tc, static_cast<char>('0' + fret / 10));
            grid.Set(r, tc + 1, static_cast<char>('0' + fret % 10));
            last = tc + 1;
            wide = true;
          } else {
            grid.Set(r, tc, static_cast<char>('0' + fret));
          }
          if (style == 3) {
            grid.Set(r, tc - 1, '<');
            grid.Set(r, last + 1, '>');
          }
        }
        if (above && grid.Get(rowAbove, tc) == ' ') {
          grid.Set(rowAbove, tc, upLetter != ' ' || below ? upLetter : downLetter);
        }
        if (below && grid.Get(rowBelow, tc) == ' ') grid.Set(rowBelow, tc, downLetter);
        continue;
      }
      if (code >= 14 && code <= 20) {
        if (!rhythm || grid.Get(r, tc) != '-') continue;
        grid.Set(r, tc, 'R');
        const char letter = kRhythmLetters[code];
        if (above && grid.Get(rowAbove, tc) == ' ') {
          grid.Set(rowAbove, tc, letter);
        } else if (below && grid.Get(rowBelow, tc) == ' ') {
          grid.Set(rowBelow, tc, letter);
        }
        continue;
      }
      switch (code) {
        case 21:
          grid.SetOnStrings(tc, '|');
          break;
        case 22:
        case 23:
          grid.SetOnStrings(tc, '|');
          grid.SetOnStrings(tc + 1, '|');
          wide = true;
          break;
        case 24:
          grid.SetOnStrings(tc, '|');
          grid.Set(sigRow, tc + 1, '*');
          grid.Set(sigRow + 1, tc + 1, '*');
          wide = true;
          break;
        case 25:
          grid.Set(sigRow, tc, '*');
          grid.Set(sigRow + 1, tc, '*');
          grid.SetOnStrings(tc + 1, '|');
          wide = true;
          break;
        case 96:
          if (tc > 1) {
            grid.Set(sigRow, tc - 1, '*');
            grid.Set(sigRow + 1, tc - 1, '*');
          }
          grid.SetOnStrings(tc, '|');
          grid.Set(sigRow, tc + 1, '*');
          grid.Set(sigRow + 1, tc + 1, '*');
          wide = true;
          break;
        default:
          break;
      }
      if (code >= 21 && code <= 25) continue;
      if (code == 96) continue;
      if (code == KChord::kTimeSignature) {
        const int beats = column->GetNote(i + 1).code;
        if (beats == 98 || beats == 99) {
          grid.Set(sigRow, tc, beats == 98 ? 'C' : 'c');
          grid.Set(sigRow, tc + 1, ':');
        } else {
          const int values[2] = {beats - 99, column->GetNote(i + 2).code - 99};
          for (int k = 0; k < 2; ++k) {
            const int value = std::clamp(values[k], 0, 19);
            int c = tc;
            if (value >= 10) grid.Set(sigRow + k, c++, '1');
            grid.Set(sigRow + k, c++, static_cast<char>('0' + value % 10));
            grid.Set(sigRow + k, c, ':');
          }
        }
        wide = true;
        break;  // the column's other entries belong to the signature
      }
      const char mark = MarkCharacter(code);
      if (code == 36 || code == 37) {
        if (!rhythm) continue;
        const int duration = column->GetNoteDurationAt(note.position, 3);
        if (duration < 0 || duration >= kLastNoteDuration) continue;
        const int target = markRow(duration, upLetter);
        if (target >= 0) grid.Set(target, tc, kDottedLetters[duration]);
        continue;
      }
      if ((code >= 32 && code <= 35) || code == 78 || code == 79 || (code >= 38 && code <= 45) ||
          code == 48 || code == 50 || code == 54 || code == 81) {
        afterFret(mark);
        if (code >= 32 && code <= 35 && rhythm) {
          const int duration = std::clamp(column->GetNoteDurationAt(note.position, 3), 0, kLetterDurations);
          const int target = markRow(duration, upLetter);
          if (target >= 0) grid.Set(target, tc + 1, '+');
        }
        continue;
      }
      if (code == 49 || code == 51 || code == 55 || code == 80) {
        if (grid.Get(r, tc - 1) == '-') grid.Set(r, tc - 1, mark);
        continue;
      }
      if (code >= 56 && code <= 65) {
        const int target = code % 2 == 0 ? r - 1 : r + 1;
        if (grid.Get(target, tc) == '-') grid.Set(target, tc, mark);
        continue;
      }
      // Mode 2 writes any other symbol by its keyboard character; the
      // characters known here are all written above in every mode.
    }
    end = tc + (wide ? 2 : 1);
  }
  if (!m_objects.IsEmpty()) ++end;
  grid.SetOnStrings(end, '|');
  return CString(grid.Join(below ? rowBelow : lastString, end));
}

std::optional<CString> KTabLine::WriteAbc() { return WriteText(0, kLastColumn, g_textTabMode + kAbcMode); }
