// The score view's side of the plain-text tablature reader: its display
// lines, selection, text measuring and the editing steps around the reading.

#include <algorithm>
#include <tuple>

#include "lines/KStrLine.h"
#include "translate/ParseTextTab.h"
#include "translate/ParseTextTabView.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLineGeometry.h"

namespace {

// A character's width where no measuring context exists.
constexpr int kFallbackCharWidth = 8;

class ViewTextTab : public KTextTabView {
 public:
  explicit ViewTextTab(CStavlinView& view) : m_view(view) {}

  int GetDisplayLineCount() const override { return m_view.GetDisplayLineCount(); }
  KLineObj* GetDisplayLine(int index) override {
    return index >= 0 && index < m_view.GetDisplayLineCount() ? m_view.GetDisplayLineObj(index) : nullptr;
  }
  bool GetSelectedLines(int& first, int& last) const override {
    if (!m_view.SelectionRectShown()) return false;
    std::tie(first, last) = viewgeom::SelectedLines(m_view);
    return true;
  }
  int GetSymbolSizeIndex() const override { return m_view.GetSizeIndex(); }
  int GetXOfColumn(KStrLine& line, int position) override {
    CDC* dc = m_view.m_host != nullptr ? m_view.m_host->GetMeasureDC() : nullptr;
    if (dc == nullptr) return position * kFallbackCharWidth;
    return line.GetXOfColumn(dc, KTextFontTable(m_view.m_textFonts), position);
  }
  void RecordUndoStep(int kind, int displayLine) override {
    m_view.RecordUndoStep(kind, displayLine, 0, nullptr, 0);
  }
  void InsertLineBefore(int displayLine, std::unique_ptr<KLineObj> line) override {
    CStavlinDoc& doc = *m_view.m_document;
    KLineObj* owned = line.release();
    if (displayLine >= 0 && displayLine < m_view.GetDisplayLineCount()) {
      doc.InsertLineBefore(m_view.GetDisplayEntry(displayLine).line, owned);
    } else {
      doc.AddTailLine(owned);
    }
  }
  void DeleteDisplayLines(int first, int last) override {
    CStavlinDoc& doc = *m_view.m_document;
    std::vector<POSITION> rows;
    for (int d = std::max(first, 0); d <= last && d < m_view.GetDisplayLineCount(); ++d)
      rows.push_back(m_view.GetDisplayEntry(d).line);
    for (const POSITION row : rows) doc.RemoveLine(row, nullptr, TRUE);
  }
  void FinishTranslation() override {
    CStavlinDoc& doc = *m_view.m_document;
    if (doc.HasNoLines()) doc.AddTailLine(new KStrLine(0));
    m_view.RebuildDisplayLines(0);
    const int count = m_view.GetDisplayLineCount();
    m_view.m_currentLine = std::clamp(m_view.m_currentLine, 0, std::max(count - 1, 0));
    m_view.m_firstVisible = std::clamp(m_view.m_firstVisible, 0, std::max(count - 1, 0));
    if (count > 0) {
      m_view.m_currentType = m_view.GetDisplayEntry(m_view.m_currentLine).type;
      m_view.m_currentFamily = KLineObj::FamilyOf(m_view.m_currentType);
    }
    m_view.m_caretColumn = 0;
    doc.SetModifiedFlag(TRUE);
    m_view.UpdateAfterEdit(CStavlinView::kHintAll, 1);
  }

 private:
  CStavlinView& m_view;
};

}  // namespace

void CStavlinView::TranslateTextTab(int currentLine) {
  if (m_document == nullptr || m_lineCount <= 0) return;
  ViewTextTab adapter(*this);
  ParseTextTab(adapter, currentLine);
}
