// The column-by-column reader of a plain-text tablature block. Every row is a
// local copy: characters consumed as part of an earlier entry (the second
// digit of a fret, a technique mark, the character after a double bar) are
// blanked to "-" so that they are not read again as columns of their own.

#include "translate/ParseTextTabBlock.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"

namespace {

constexpr int kMinRows = 4;
constexpr int kMaxRows = 6;
constexpr int kBarLine = 21;
constexpr int kDoubleBar = 22;
constexpr int kRepeatStart = 24;
constexpr int kRepeatEnd = 25;
constexpr int kPercentSign = 26;
constexpr int kParenOpen = 80;
constexpr int kVibrato = 38;
constexpr int kMutedStyle = 2;
constexpr int kEighthDuration = 8;
constexpr int kReplaceAllDurations = 1000;
// The hammer-on / pull-off arc: one column wide, starting half a column in,
// raised a little above the string.
constexpr int kArcKind = 0;
constexpr int kArcX = 9;
constexpr int kArcY = -6;
constexpr int kArcWidth = 18;
constexpr int kArcOffsetY = -4;

const char kTechniques[] = "^hpbr/\\)";
// Symbol of each technique character; 0 marks an arc.
const int kTechniqueSymbols[] = {0, 0, 0, 78, 79, 48, 50, 81};

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }
bool IsLetter(char ch) { return std::isalpha(static_cast<unsigned char>(ch)) != 0; }
// The dots of a repeat sign beside its bar: "*" and "." of older text tabs,
// ":" as most tabs on the web write them ("|:" ... ":|").
bool IsRepeatDot(char ch) { return ch == '*' || ch == '.' || ch == ':'; }

class BlockReader {
 public:
  BlockReader(const std::vector<std::string>& rows, std::span<const int> columnOf)
      : m_rows(rows), m_columnOf(columnOf) {
    m_width = m_rows.front().size();
    for (const std::string& row : m_rows) m_width = std::min(m_width, row.size());
    m_firstRow = m_rows.size() == kMaxRows ? 2 : 3;
  }

  void Fill(KTabLine& line) {
    int greatestColumn = -1;
    int lastAdded = -1;
    for (size_t i = 0; i < m_width; ++i) {
      int pos = i == 0 ? 0 : greatestColumn + 1;
      if (pos <= lastAdded) pos = lastAdded + 1;
      if (ReadPosition(i, pos)) lastAdded = pos;
      greatestColumn = std::max(greatestColumn, ColumnOf(i));
    }
    for (auto [pos, row] : m_arcs) {
      auto* arc = new KExtendedObj(pos, row, kArcKind, kArcX, kArcY, kArcWidth, 0);
      arc->SetOffset(0, kArcOffsetY);
      line.AddAttachment(arc);
    }
    DropOuterBar(true);
    DropOuterBar(false);
  }

  std::vector<KChord*> TakeColumns() { return std::move(m_columns); }

 private:
  int ColumnOf(size_t i) const {
    if (m_columnOf.empty()) return static_cast<int>(i);
    return std::max(0, m_columnOf[std::min(i, m_columnOf.size() - 1)]);
  }
  char At(size_t row, size_t i) const { return i < m_width ? m_rows[row][i] : '\0'; }
  void Blank(size_t row, size_t i) {
    if (i < m_width) m_rows[row][i] = '-';
  }
  void BlankAll(size_t i) {
    for (size_t r = 0; r < m_rows.size(); ++r) Blank(r, i);
  }

  // Reads character position i of every row into a column at pos; true when
  // the column received an entry and was kept.
  bool ReadPosition(size_t i, int pos) {
    auto column = std::make_unique<KChord>(pos, KChord::kTabRhythm);
    bool filled = false;
    bool muted = false;
    std::vector<std::pair<int, int>> arcs;
    auto add = [&](int row, int code) {
      if (column->AddNote(row, code) >= 0) filled = true;
    };
    for (size_t r = 0; r < m_rows.size(); ++r) {
      const int row = m_firstRow + static_cast<int>(r);
      const char ch = At(r, i);
      const char next = At(r, i + 1);
      if (IsDigit(ch)) {
        // Two digits make one fret when they name one the line holds (10 to
        // 24); otherwise the first digit is a fret of its own and the second
        // is read at the next position.
        int fret = ch - '0';
        size_t after = i + 1;
        if (IsDigit(next) && fret != 0) {
          const int both = fret * 10 + (next - '0');
          if (KChord::kFirstFret + both <= KChord::kLastFret) {
            fret = both;
            Blank(r, i + 1);
            after = i + 2;
          }
        }
        add(row, KChord::kFirstFret + fret);
        const char mark = At(r, after);
        const char* found = mark != '\0' ? std::strchr(kTechniques, mark) : nullptr;
        if (found == nullptr) continue;
        const int symbol = kTechniqueSymbols[found - kTechniques];
        if (symbol == 0) {
          arcs.emplace_back(pos, row);
        } else {
          add(row, symbol);
        }
        Blank(r, after);
        continue;
      }
      bool ends = false;
      switch (ch) {
        case 'x':
          if (i > 0 && !IsLetter(At(r, i - 1)) && !IsLetter(next)) {
            add(row, KChord::kFirstFret);
            muted = true;
          }
          break;
        case '(':
          add(row, kParenOpen);
          break;
        case '~':
          add(row, kVibrato);
          break;
        case '%':
          add(row, kPercentSign);
          ends = true;
          break;
        case '^':
          arcs.emplace_back(pos, row);
          break;
        case '*':
        case '.':
        case ':':
          // IsRepeatDot: a repeat end.
          if (next == '|') {
            add(row, kRepeatEnd);
            BlankAll(i + 1);
            // ":||" is one repeat end: its second stroke is no bar of its own.
            if (At(r, i + 2) == '|') BlankAll(i + 2);
            ends = true;
          }
          break;
        case '|':
        case 'I': {
          int code = kBarLine;
          // The dots of a repeat start stand just after the bar, or after
          // both strokes of a double bar ("||:").
          const size_t dots = next == '|' ? i + 2 : i + 1;
          for (size_t below = r; below < m_rows.size(); ++below) {
            if (IsRepeatDot(At(below, i + 1)) || IsRepeatDot(At(below, dots))) code = kRepeatStart;
          }
          if (code == kBarLine && next == '|') code = kDoubleBar;
          if (code != kBarLine) BlankAll(i + 1);
          if (code == kRepeatStart && dots != i + 1) BlankAll(dots);
          add(row, code);
          ends = true;
          break;
        }
        default:
          break;
      }
      if (ends) break;
    }
    m_arcs.insert(m_arcs.end(), arcs.begin(), arcs.end());
    if (!filled) return false;
    int duration = kEighthDuration;
    column->SetNoteDuration(duration, kReplaceAllDurations);
    column->SetNoteStyle(muted ? kMutedStyle : 0, -1);
    m_columns.push_back(column.release());
    return true;
  }

  // Removes a plain bar line that stands first (or last) in the columns.
  void DropOuterBar(bool first) {
    if (m_columns.empty()) return;
    KChord* column = first ? m_columns.front() : m_columns.back();
    if (column->GetNoteCount() != 1 || column->GetNote(0).code != kBarLine) return;
    delete column;
    if (first) {
      m_columns.erase(m_columns.begin());
    } else {
      m_columns.pop_back();
    }
  }

  std::vector<std::string> m_rows;
  std::span<const int> m_columnOf;
  size_t m_width = 0;
  int m_firstRow = 2;
  std::vector<KChord*> m_columns;
  std::vector<std::pair<int, int>> m_arcs;
};

}  // namespace

bool IsTextTabRow(std::string_view text) {
  if (text.find("---") != std::string_view::npos) return true;
  if (text.find("--") == std::string_view::npos) return false;
  // A string name ("e", "B", "G#", "Eb") may stand before the row.
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string_view::npos) return false;
  if (std::strchr("ABCDEFGabcdefg", text[i]) != nullptr) {
    ++i;
    if (i < text.size() && (text[i] == '#' || text[i] == 'b')) ++i;
  }
  static constexpr std::string_view kTabCharacters = "-|0123456789hpbr/\\)(~x^%*.:I<>=sStT+ \t";
  for (; i < text.size(); ++i) {
    if (kTabCharacters.find(text[i]) == std::string_view::npos) return false;
  }
  return true;
}

KTextTabTuning ChooseTextTabTuning(int rowCount, int bassKinds, int banjoFingering) {
  switch (rowCount) {
    case 6:
      if (bassKinds & 1) return {"B E A D G C *152025303540", true};
      return {"E A D G B E  323742475156", false};
    case 5:
      if (bassKinds & 2) return {"B E A D G   *152025303500", true};
      if (banjoFingering != 0) return {"D D G B D   5594247515400", false};
      return {"G D G B D    594247515400", false};
    default:
      if (bassKinds & 4) return {"  E A D G   *002025303500", true};
      return {"  G D A E    003542495600", false};
  }
}

std::unique_ptr<KTabLine> ReadTextTabBlock(const std::vector<std::string>& rows,
                                           std::span<const int> columnOf, int bassKinds, int banjoFingering) {
  const int count = static_cast<int>(rows.size());
  if (count < kMinRows || count > kMaxRows) return nullptr;
  const KTextTabTuning choice = ChooseTextTabTuning(count, bassKinds, banjoFingering);
  auto line = std::make_unique<KTabLine>(0, choice.tuning, choice.bass ? KTabLine::kFlagBass : 0);
  BlockReader reader(rows, columnOf);
  reader.Fill(*line);
  for (KChord* column : reader.TakeColumns()) line->GetObjList()->AddTail(column);
  return line;
}
