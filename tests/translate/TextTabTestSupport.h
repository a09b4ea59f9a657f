#pragma once
// Shared pieces of the text-tab reader tests: a fixture restoring the reader's
// preferences, a readable dump of a tab line's columns and arcs, and a fake
// score view holding its display lines in a vector.

#include <memory>
#include <string>
#include <vector>

#include "../lines/TabLineTestSupport.h"
#include "lines/KStrLine.h"
#include "model/KExtendedObj.h"
#include "translate/ParseTextTabOptions.h"
#include "translate/ParseTextTabView.h"

class TextTabTest : public TabLineTest {
 protected:
  TextTabTest() { ResetTextTabOptions(); }
  ~TextTabTest() override { ResetTextTabOptions(); }
};

// "pos:row/code,row/code" per column, a trailing "x" for a muted column, bars
// as "pos:|code"; then " ^pos/row" per arc.
inline std::string DumpTabLine(KTabLine& line) {
  std::string out;
  for (POSITION node = line.GetObjList()->GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(line.GetObjList()->GetNext(node));
    if (column == nullptr) continue;
    if (!out.empty()) out += ' ';
    out += std::to_string(column->GetPos()) + ':';
    if (column->IsBarColumn()) {
      out += '|' + std::to_string(column->GetNote(0).code);
      continue;
    }
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const NotePair note = column->GetNote(i);
      if (i > 0) out += ',';
      out += std::to_string(note.position) + '/' + std::to_string(note.code);
    }
    if (column->GetNoteStyle() == 2) out += 'x';
  }
  CObList* arcs = line.GetAttachments();
  for (POSITION node = arcs->GetHeadPosition(); node != nullptr;) {
    const auto* arc = static_cast<const KExtendedObj*>(arcs->GetNext(node));
    out += " ^" + std::to_string(arc->GetPos()) + '/' + std::to_string(arc->GetRow());
  }
  return out;
}

// A score view over a list of lines. Text is measured as charWidth pixels a
// character from the lead-in of size 0, so that character i lies over tab column i.
class FakeTextTabView : public KTextTabView {
 public:
  std::vector<std::unique_ptr<KLineObj>> lines;
  bool hasSelection = false;
  int selectionFirst = 0;
  int selectionLast = 0;
  int sizeIndex = 0;
  int charWidth = 18;
  int leadIn = 34;
  std::vector<std::pair<int, int>> undoSteps;
  int finished = 0;

  void AddText(const std::string& text) { lines.push_back(std::make_unique<KStrLine>(text.c_str(), 1)); }
  void AddTexts(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) AddText(text);
  }
  void Select(int first, int last) {
    hasSelection = true;
    selectionFirst = first;
    selectionLast = last;
  }
  // "T:text" for text lines, "tab6" / "bass4" for tab lines by kind and string count.
  std::vector<std::string> Kinds() const {
    std::vector<std::string> out;
    for (const auto& line : lines) {
      if (auto* text = dynamic_cast<KStrLine*>(line.get())) {
        out.push_back("T:" + std::string(text->GetText().View()));
      } else {
        out.push_back((line->GetType() == KTabLine::kKindBassTab ? "bass" : "tab") +
                      std::to_string(static_cast<KTabLine*>(line.get())->GetStringCount()));
      }
    }
    return out;
  }

  int GetDisplayLineCount() const override { return static_cast<int>(lines.size()); }
  KLineObj* GetDisplayLine(int index) override {
    return index >= 0 && index < GetDisplayLineCount() ? lines[index].get() : nullptr;
  }
  bool GetSelectedLines(int& first, int& last) const override {
    if (!hasSelection) return false;
    first = selectionFirst;
    last = selectionLast;
    return true;
  }
  int GetSymbolSizeIndex() const override { return sizeIndex; }
  int GetXOfColumn(KStrLine&, int position) override { return leadIn + charWidth * position; }
  void RecordUndoStep(int kind, int displayLine) override { undoSteps.emplace_back(kind, displayLine); }
  void InsertLineBefore(int displayLine, std::unique_ptr<KLineObj> line) override {
    if (displayLine >= GetDisplayLineCount()) {
      lines.push_back(std::move(line));
    } else {
      lines.insert(lines.begin() + displayLine, std::move(line));
    }
  }
  void DeleteDisplayLines(int first, int last) override {
    lines.erase(lines.begin() + first, lines.begin() + last + 1);
  }
  void FinishTranslation() override { ++finished; }
};
