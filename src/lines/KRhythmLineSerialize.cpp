// The record of a rhythm line: the object-list line's record (KListLine.h)
// under the class name "KRhythmLine", with the font text carried inside the
// label: the label is written as label + "!@!" + font text, and split again
// when it is read (a label without the separator takes the default rhythm
// font text). A loaded font with a colour raises g_coloredText.
//
// Files older than version 3900 kept every character and every symbol of a
// rhythm line as its own item at a whole column (the item's position / 9).
// Loading rebuilds them as text runs and symbols:
// - characters (codes below 200 or above 253) gather into a text run, with a
//   blank for every empty column before each (an item that carries a text of
//   several characters takes a column for each); a run holds at most 300
//   characters, and the conversion takes no more items once it is full;
// - a symbol (200 to 253; 223 to 249 are two columns wide) that directly
//   follows the previous item with no pending text moves over as it is;
//   otherwise the gap before it (at least one blank when no text is pending)
//   fills the pending text with blanks, the text becomes a run, and then the
//   symbol moves over.
// The new items stand in their old order at the provisional positions 0, 1,
// 2...: never below 0 and never beyond the end of the item before them, so the
// first measuring lays them end to end and the old gaps survive as the blank
// runs. The column width is left unmeasured.

#include <algorithm>
#include <memory>
#include <string>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "lines/KRhythmLine.h"
#include "lines/KRhythmLineDefaults.h"
#include "model/KRhythmObj.h"
#include "platform/CArchive.h"

namespace {

// Files older than this keep one item per character or symbol.
constexpr int kVersionRhythmItems = 3900;
constexpr std::size_t kMaxOldRun = 300;
constexpr int kFirstOldSymbol = 200;
constexpr int kLastOldSymbol = 253;
constexpr int kFirstWideSymbol = 223;
constexpr int kLastWideSymbol = 249;

bool IsOldSymbol(int code) { return code >= kFirstOldSymbol && code <= kLastOldSymbol; }

}  // namespace

void KRhythmLine::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    StoreWithLabel(ar, m_label + g_LabelSeparator + m_fontText);
    return;
  }

  KListLine::Serialize(ar);
  // A rhythm line's record that names another kind is damaged: the rest of
  // the program would take the line for a line of that kind.
  if (m_type != kKind) AfxThrowArchiveException(CArchiveException::generic);
  // Old items get provisional places that the first measuring lays out;
  // items of the current form keep the places they were stored at.
  m_keepStoredPlaces = g_fileVersion >= kVersionRhythmItems;
  if (!m_keepStoredPlaces) ConvertOldSymbols();

  const int separator = m_label.Find(g_LabelSeparator);
  if (separator >= 0) {
    CString fontText = m_label.Mid(separator + g_LabelSeparator.GetLength());
    m_label = m_label.Left(separator);
    const int second = fontText.Find(g_LabelSeparator);
    if (second > 0) fontText = fontText.Left(second);
    m_fontText = fontText;
  } else {
    m_fontText = g_defaultRhythmFontText;
  }
  MakeFonts("ClTCR-91", "ClTCR-92");
  if (m_textColor != 0) g_coloredText = 1;
}

void KRhythmLine::ConvertOldSymbols() {
  while (!m_objects.IsEmpty()) delete m_objects.RemoveHead();

  std::string run;
  long long previousEnd = -1;
  const auto pad = [&run](long long blanks) {
    for (; blanks > 0 && run.size() < kMaxOldRun; --blanks) run += ' ';
  };
  const auto flush = [this, &run] {
    if (run.empty()) return;
    auto item = std::make_unique<KRhythmObj>(0, CString(std::string_view(run)));
    m_objects.AddTail(item.get());
    item.release();
    run.clear();
  };

  while (!m_oldSymbols.IsEmpty()) {
    std::unique_ptr<KRhythmObj> item(static_cast<KRhythmObj*>(m_oldSymbols.RemoveHead()));
    const long long column = item->GetPos() / KRhythmObj::kColumnPixels;
    const int code = item->GetCode();
    if (!IsOldSymbol(code)) {
      pad(column - 1 - previousEnd);
      // An old item is one character; should a damaged file give it a text,
      // the text stands in for the character.
      const std::string_view text = item->GetText().View();
      const std::size_t room = kMaxOldRun - std::min(run.size(), kMaxOldRun);
      if (text.empty()) {
        if (room > 0) run += static_cast<char>(code);
      } else {
        run.append(text.substr(0, room));
      }
      // The item ends at its last character's column: a text of n characters
      // takes n columns, so that what follows it keeps its own column.
      previousEnd = column + static_cast<long long>(std::max<std::size_t>(text.size(), 1)) - 1;
      if (run.size() >= kMaxOldRun) break;
      continue;
    }
    const int width = code >= kFirstWideSymbol && code <= kLastWideSymbol ? 2 : 1;
    if (!run.empty() || column != previousEnd + 1) {
      pad(std::max<long long>(column - 1 - previousEnd, run.empty() ? 1 : 0));
      flush();
    }
    m_objects.AddTail(item.get());
    item.release();
    previousEnd = column + width - 1;
  }
  flush();
  while (!m_oldSymbols.IsEmpty()) delete m_oldSymbols.RemoveHead();

  int place = 0;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    static_cast<KRhythmObj*>(m_objects.GetNext(node))->SetPos(place++);
  }
  m_columnWidth = -1;
}
