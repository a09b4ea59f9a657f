// Key entry and pasting on a text line: typed characters, blanks, Tab,
// Backspace and Delete at a caret column, and pasted text. A column past the
// end of the text first pads it with blanks. Columns are refused (0, -1)
// below 0 and from the editing limit on, so that no request can make a line
// without bound.

#include <algorithm>
#include <string>

#include "common/ViewServices.h"
#include "lines/KStrLine.h"

namespace {

constexpr KLinePair kRefused{0, -1};

bool IsDeletion(int code) { return code == KStrLine::kKeyBackspace || code == KStrLine::kKeyDelete; }

// The text padded with blanks up to the column.
void PadTo(std::string& text, int column) {
  if (column > static_cast<int>(text.size())) text.resize(static_cast<std::size_t>(column), ' ');
}

}  // namespace

void KStrLine::ChangeText(std::string text) {
  m_text = CString(text);
  m_columnXCount = -1;
}

KLinePair KStrLine::HandleKey(int code, int, int, int column, int blankCount, int, int overwrite, int) {
  if (column < 0 || column >= kMaxColumns) return kRefused;
  std::string text = m_text.Str();
  const int n = static_cast<int>(text.size());

  if (IsDeletion(code)) {
    const KLinePair result{-1, std::max(column - 1, 0)};
    if (column >= n) return result;  // nothing stands at the column
    if (blankCount == kDeleteToEnd && overwrite != 0) {
      text.resize(static_cast<std::size_t>(column));
    } else {
      text.erase(static_cast<std::size_t>(column), 1);
    }
    ChangeText(std::move(text));
    return result;
  }

  PadTo(text, column);
  std::string left = text.substr(0, static_cast<std::size_t>(column));
  std::string right = text.substr(static_cast<std::size_t>(column));

  if (code == kKeyTab || code == kKeyBlankRun) {
    int count = blankCount > 0 ? blankCount : std::max(g_blankRunCount, 0);
    // Blanks never make the line longer than the editing limit.
    count = std::min(count, kMaxColumns - static_cast<int>(text.size()));
    if (count <= 0) return kRefused;
    if (blankCount <= 0 && overwrite != 0) right.erase(0, static_cast<std::size_t>(count));
    ChangeText(left + std::string(static_cast<std::size_t>(count), ' ') + right);
    return {count, column};
  }

  if (code == kKeyBlank) code = ' ';
  const char ch = static_cast<char>(code & 0xFF);
  const char lead = static_cast<char>((code >> 8) & 0xFF);
  // A character 0 would end the text wherever it is passed on as a C string.
  if (ch == '\0') return kRefused;
  if (overwrite != 0 && !right.empty()) right.erase(0, 1);
  if (lead != '\0') left += lead;
  std::string inserted(1, ch);
  if (ch == ')' && left.size() >= 2 && left.compare(left.size() - 2, 2, "(c") == 0) {
    left.resize(left.size() - 2);
    inserted = std::string(1, static_cast<char>(169));  // the copyright sign
  }
  ChangeText(left + inserted + right);
  return {1, column};
}

KLinePair KStrLine::DeleteAtCaret(int column, int blankCount, int sizeIndex, int overwrite) {
  return HandleKey(kKeyDelete, 0, sizeIndex, column, blankCount, 0, overwrite, 0);
}

KLinePair KStrLine::EnterSymbol(KLineObj*, int, int, int, int, int, int, int, int) { return kRefused; }

KLinePair KStrLine::InsertCopy(const CObject* source, int, int column, const int*, int overwrite) {
  const auto* record = dynamic_cast<const KInsertionRecord*>(source);
  if (record == nullptr || record->text.IsEmpty()) return kRefused;
  const int length = InsertText(column, record->text, overwrite);
  if (length == 0) return kRefused;
  return {length, column};
}

int KStrLine::InsertText(int column, const CString& inserted, int overwrite) {
  const int length = inserted.GetLength();
  if (length == 0 || column < 0 || column >= kMaxColumns || length > kMaxColumns - column) return 0;
  std::string text = m_text.Str();
  PadTo(text, column);
  std::string rest = text.substr(static_cast<std::size_t>(column));
  if (overwrite != 0) rest.erase(0, std::min(rest.size(), static_cast<std::size_t>(length)));
  text.resize(static_cast<std::size_t>(column));
  ChangeText(text + inserted.Str() + rest);
  return length;
}
