#include "common/RecentChords.h"

#include "common/Globals.h"

#include <algorithm>

ChordRecord g_RecentChords[kRecentChordCapacity];
int g_RecentChordCount = 0;

namespace {

// The two- or three-character label of a variant number that identifies a
// chord together with its texts: " 7", "42", "105". Numbers outside 0..199 do
// not occur in chord records; they get their plain decimal text, which still
// tells them apart.
CString VariantLabel(int n) {
  if (n >= 0 && n < 100) return g_TwoDigitBlank.Mid(2 * n, 2);
  if (n >= 100 && n < 200) return "1" + g_TwoDigitZero.Mid(2 * (n - 100), 2);
  CString text;
  text.Format("%d", n);
  return text;
}

// Two records are the same chord when their texts 0 to 2 and their variant
// labels agree (text3 and the other numbers are not part of a chord's identity).
bool SameChord(const ChordRecord& a, const ChordRecord& b) {
  return a.text0 == b.text0 && a.text1 == b.text1 && a.text2 == b.text2 &&
         VariantLabel(a.value3) == VariantLabel(b.value3);
}

}  // namespace

void RememberRecentChord(ChordRecord& record, bool onlyIfPresent) {
  int last = record.text2.GetLength() - 1;
  if (last >= 0 && record.text2.GetAt(last) == '*') record.text2 = record.text2.Left(last);

  ChordRecord* begin = g_RecentChords;
  ChordRecord* end = g_RecentChords + g_RecentChordCount;
  ChordRecord* found =
      std::find_if(begin, end, [&](const ChordRecord& entry) { return SameChord(entry, record); });
  if (found == begin && g_RecentChordCount > 0) return;
  if (found == end) {
    if (onlyIfPresent) return;
    if (g_RecentChordCount < kRecentChordCapacity) ++g_RecentChordCount;
    found = g_RecentChords + g_RecentChordCount - 1;  // the place dropped or newly used
  }
  std::move_backward(begin, found, found + 1);
  *begin = record;
}

void ClearRecentChords() {
  for (ChordRecord& entry : g_RecentChords) entry = ChordRecord{};
  g_RecentChordCount = 0;
}

CString FormatNumberLabel(int n) {
  if (n < 0 || n >= 200) return "   ";
  CString label = n < 100 ? " " : "1";
  int cell = n % 100;
  label += n < 10 ? g_TwoDigitBlank.Mid(2 * cell, 2) : g_TwoDigitZero.Mid(2 * cell, 2);
  return label;
}
