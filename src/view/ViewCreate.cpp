// The score view's construction, the growth of its display-line table, and
// its destruction.

#include <new>

#include "common/ErrorReporter.h"
#include "view/CStavlinView.h"

int g_noModify = 0;
int g_relayoutOnPaint = 0;
int g_widestNotation = -1;
int g_holdWidest = 0;

namespace {
UndoRecorder g_undoRecorder = nullptr;
// Entries added at a time, and the first block.
constexpr int kTableStep = 100;
}  // namespace

void SetUndoRecorder(UndoRecorder recorder) { g_undoRecorder = recorder; }

CStavlinView::CStavlinView(CStavlinDoc* document, KViewHost* host) : m_document(document), m_host(host) {
  m_show.fill(1);
  GrowDisplayTable(kTableStep);
  if (m_document != nullptr) m_document->AddView(this);
}

CStavlinView::~CStavlinView() {
  if (m_document != nullptr) m_document->RemoveView(this);
}

int CStavlinView::GrowDisplayTable(int count) {
  const bool first = m_display.empty();
  try {
    m_display.resize(m_display.size() + static_cast<size_t>(count));
  } catch (const std::bad_alloc&) {
    ReportInternalError(7029, first ? "QV4-1" : "QV4-2");
    return 0;
  }
  return 1;
}

KLineObj* CStavlinView::GetDisplayLineObj(int index) const {
  if (index < 0 || index >= m_lineCount || m_document == nullptr) return nullptr;
  return m_document->GetLineAt(m_display[static_cast<size_t>(index)].line);
}

int CStavlinView::GetPageCount() const {
  if (m_lineCount <= 0) return 0;
  return m_display[static_cast<size_t>(m_lineCount - 1)].extra[kPageCode] / 10;
}

void CStavlinView::RecordUndoStep(int kind, int a, int b, const CString* text, int c) {
  if (g_noModify != 0 || m_undoEnabled == 0 || g_undoRecorder == nullptr) return;
  g_undoRecorder(*this, kind, a, b, text, c);
}
