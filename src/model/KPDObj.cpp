#include "model/KPDObj.h"

KPDObj::KPDObj(int kind, int line, int column, int value)
    : m_kind(kind),
      m_startLine(line),
      m_startColumn(column),
      m_endLine(line),
      m_endColumn(column),
      m_value(value) {}

KPDObj::KPDObj(int kind, int line, int column, int value, int endColumn) : KPDObj(kind, line, column, value) {
  m_endColumn = endColumn;
}

void KPDObj::SetEnd(int line, int column) {
  m_endLine = line;
  m_endColumn = column;
}

void KPDObj::SetPassEntry(int i, int value) {
  if (i >= 0 && i < kPassCount) m_passEntries[i] = value;
}

int KPDObj::GetPassEntry(int i) const { return i >= 0 && i < kPassCount ? m_passEntries[i] : kNoTarget; }

int KPDObj::GetCursor() const { return m_passCursor < kPassCount ? m_passCursor : kPassCount - 1; }

void KPDObj::AdvanceCursor() {
  if (m_passCursor < kPassCount - 1 && m_passEntries[m_passCursor] > 0) ++m_passCursor;
}

// A working record only: nothing goes to or comes from an archive.
void KPDObj::Serialize(CArchive&) {}
