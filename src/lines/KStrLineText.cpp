// Words of a text line (word steps, word ranges, moving a word by a column),
// splitting a line, and the plain-text and ABC writers. A word is a run of
// characters other than the blank.

#include <algorithm>
#include <string>
#include <string_view>

#include "lines/KStrLine.h"

namespace {

bool IsBlank(char ch) { return ch == ' '; }

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::unique_ptr<KLineObj> KStrLine::SplitAt(int column, int, int) {
  auto line = std::make_unique<KStrLine>(m_fontNumber);
  if (column >= 0 && column < m_text.GetLength()) {
    line->m_text = m_text.Mid(column);
    // The columns left of the cut do not move: the column-x cache stays valid.
    m_text = m_text.Left(column);
  }
  line->SetStaffLength(GetStaffLength());
  line->SetLabel(CString(GetLabel()));
  line->SetFlagWord(GetFlagWord());
  return line;
}

int KStrLine::ShiftColumns(int column, int direction, int count) {
  const std::string& text = m_text.Str();
  const int n = static_cast<int>(text.size());
  if (column < 0 || column >= n) return 0;
  const int spanEnd = std::min(n, column + std::max(count, 0));
  const auto at = [&](int i) { return text[static_cast<std::size_t>(i)]; };

  if (direction >= 0) {
    // The span grows to the end of the word it stops in; the blank behind it
    // makes room for the blank put in front.
    int end = spanEnd;
    while (end < n && !IsBlank(at(end))) ++end;
    std::string shifted =
        text.substr(0, static_cast<std::size_t>(column)) + ' ' +
        text.substr(static_cast<std::size_t>(column), static_cast<std::size_t>(end - column));
    if (end < n) shifted += text.substr(static_cast<std::size_t>(end) + 1);
    ChangeText(std::move(shifted));
    return std::max(column - 1, 0);
  }

  // Left: the word's start is found by walking left from the column; the blank
  // in front of it moves behind the span.
  if (column == 0) return 0;
  int start = column;
  while (start > 0 && !IsBlank(at(start - 1))) --start;
  if (start == 0) return 0;
  std::string shifted =
      text.substr(0, static_cast<std::size_t>(start - 1)) +
      text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(spanEnd - start)) + ' ' +
      text.substr(static_cast<std::size_t>(spanEnd));
  ChangeText(std::move(shifted));
  return std::max(start - 1, 0);
}

int KStrLine::GetWordStep(int, int, int column, int direction) {
  const std::string& text = m_text.Str();
  const int n = static_cast<int>(text.size());
  const auto at = [&](int i) { return text[static_cast<std::size_t>(i)]; };
  if (direction != 0) {
    if (column < 0 || column >= n) return 0;
    int i = column;
    while (i < n && !IsBlank(at(i))) ++i;
    while (i < n && IsBlank(at(i))) ++i;
    return i - column;
  }
  if (column <= 0) return 0;
  int i = std::min(column, n) - 1;
  while (i >= 0 && IsBlank(at(i))) --i;
  while (i >= 0 && !IsBlank(at(i))) --i;
  return (i + 1) - column;
}

KLinePair KStrLine::GetWordRange(int column) {
  const std::string& text = m_text.Str();
  const int n = static_cast<int>(text.size());
  const int c = std::max(column, 0);
  if (c >= n) return {n, n};
  const auto at = [&](int i) { return text[static_cast<std::size_t>(i)]; };
  if (IsBlank(at(c)) && (c == 0 || IsBlank(at(c - 1)))) return {c, c};
  // A blank in column 0 ends the walk like any other, so that a word after a
  // leading blank starts where it stands.
  int first = c;
  while (first > 0 && !IsBlank(at(first - 1))) --first;
  int last = c;
  while (last < n && !IsBlank(at(last))) ++last;
  return {first, last - 1};
}

std::optional<CString> KStrLine::WriteText(int from, int to, int) {
  const std::string_view text = m_text.View();
  const std::size_t first = static_cast<std::size_t>(std::clamp(from, 0, static_cast<int>(text.size())));
  const std::size_t end =
      static_cast<std::size_t>(std::clamp(to, static_cast<int>(first), static_cast<int>(text.size())));
  return CString(text.substr(first, end - first));
}

std::optional<CString> KStrLine::WriteAbc() {
  const CString body(Trimmed(m_text.View()));
  const CString header = (m_flags & kFlagTitle) != 0 ? "X:\r\nT:" : "N:";
  return header + body + "\r\n";
}
