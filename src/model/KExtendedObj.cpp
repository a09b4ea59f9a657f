#include "model/KExtendedObj.h"

#include <algorithm>

#include "platform/CArchive.h"
#include "platform/CDC.h"

IMPLEMENT_SERIAL(KExtendedObj, KPosObj, 90);

namespace {
// Bracket kinds 7..9 built with no height get this one.
constexpr int kDefaultBracketHeight = 13;
// The text of a numbered bracket that has none: a triplet with its hooks down.
constexpr const char* kDefaultTupletText = "-3";
// SetSize turns a width of 0 or less into this one.
constexpr int kMinimumWidth = 5;
// Grow a text box this much wider than its text.
constexpr int kTextBoxMargin = 4;

bool IsBracketLine(int kind) {
  return kind >= KExtendedObj::kFirstBracketLine && kind <= KExtendedObj::kLastBracketLine;
}

}  // namespace

KExtendedObj::KExtendedObj() = default;

KExtendedObj::KExtendedObj(int pos, int row, int kind, int anchorX, int anchorY, int sizeX, int sizeY,
                           int offsetX, int offsetY, const CString& text, const CString& fontText,
                           const CString& linkTarget, const RECT* points)
    : KPosObj(pos),
      m_row(row),
      m_kind(kind),
      m_anchorX(anchorX),
      m_anchorY(anchorY),
      m_sizeX(sizeX),
      m_sizeY(sizeY),
      m_offsetX(offsetX),
      m_offsetY(offsetY),
      m_text(text),
      m_linkTarget(linkTarget) {
  if (points) {
    SetPoint(0, points->left, points->top);
    SetPoint(1, points->right, points->bottom);
  } else if (IsCurve()) {
    SetPoint(0, sizeX / 3, anchorY);
    SetPoint(1, static_cast<int>(2LL * sizeX / 3), anchorY);
  }
  ApplyKindDefaults();
  SetFontText(fontText);
}

KExtendedObj::KExtendedObj(CDC* dc, int pos, int row, int kind, const CString& text, const CString& fontText)
    : KPosObj(pos), m_row(row), m_kind(kind), m_text(text) {
  SetFontText(fontText);
  const CSize extent = TextExtent(dc);
  if (m_sizeX < extent.cx) m_sizeX = extent.cx + kTextBoxMargin;
  if (m_sizeY < extent.cy) m_sizeY = extent.cy;
}

KExtendedObj::KExtendedObj(int pos, int row, const CString& text, const CString& fontText)
    : KPosObj(pos), m_row(row), m_kind(kTextBox), m_text(text) {
  SetFontText(fontText);
}

KExtendedObj::KExtendedObj(int pos, int row, int kind, int anchorX, int anchorY, int sizeX, int sizeY)
    : KPosObj(pos),
      m_row(row),
      m_kind(kind),
      m_anchorX(anchorX),
      m_anchorY(anchorY),
      m_sizeX(sizeX),
      m_sizeY(sizeY) {
  if (IsCurve()) {
    const int half = std::min(sizeX - anchorX, anchorX) / 2;
    SetPoint(0, anchorX - half, anchorY);
    SetPoint(1, anchorX + half, anchorY);
  }
  ApplyKindDefaults();
}

KExtendedObj::KExtendedObj(const KExtendedObj& other) : KPosObj(other) { CopyFrom(other); }

KExtendedObj& KExtendedObj::CopyFrom(const KExtendedObj& other) {
  if (this == &other) return *this;
  SetPos(other.GetPos());
  m_row = other.GetRow();
  m_kind = other.GetKind();
  const CPoint anchor = other.GetAnchor();
  SetAnchor(anchor.x, anchor.y);
  const CSize size = other.GetSize();
  m_sizeX = size.cx;
  m_sizeY = size.cy;
  const CPoint offset = other.GetOffset();
  SetOffset(offset.x, offset.y);
  for (int i = 0; i < 2; ++i) {
    const CPoint point = other.GetPoint(i);
    SetPoint(i, point.x, point.y);
  }
  m_text = other.GetText();
  m_opaque = other.GetOpaque();
  m_linkTarget = other.GetLinkTarget();
  m_visited = other.IsVisited();
  m_color = other.GetColor();
  DeleteFont();
  m_fontText.Empty();
  SetFontText(other.GetFontText());
  return *this;
}

bool KExtendedObj::SameButRow(const KExtendedObj& other) const {
  return GetPos() == other.GetPos() && m_kind == other.m_kind && m_anchorX == other.m_anchorX &&
         m_anchorY == other.m_anchorY && m_sizeX == other.m_sizeX && m_sizeY == other.m_sizeY &&
         m_offsetX == other.m_offsetX && m_offsetY == other.m_offsetY && m_point0X == other.m_point0X &&
         m_point0Y == other.m_point0Y && m_point1X == other.m_point1X && m_point1Y == other.m_point1Y &&
         m_text == other.m_text && m_fontText == other.m_fontText && m_opaque == other.m_opaque &&
         m_linkTarget == other.m_linkTarget;
}

void KExtendedObj::ApplyKindDefaults() {
  if (m_kind >= 7 && m_kind <= 9 && m_sizeY == 0) m_sizeY = kDefaultBracketHeight;
  if (m_kind == kNumberedBracket && m_text.IsEmpty()) m_text = kDefaultTupletText;
}

int KExtendedObj::MoveRow(int delta, int lineFamily) {
  const long long row = static_cast<long long>(m_row) + delta;
  if (row < 0 || row > kMaxRow || (lineFamily == kTabFamily && row > kMaxTabRow)) return 0;
  m_row = static_cast<int>(row);
  return 1;
}

bool KExtendedObj::IsReversedBracket(int kind) {
  return kind == 10 || kind == 11 || kind == 12 || kind == 17 || kind == 18 || kind == 19;
}

void KExtendedObj::ChangeKind(int kind) {
  if (!IsBracketLine(m_kind) || !IsBracketLine(kind)) return;
  if (kind != 13 && kind != 20 && kind != kDoubleBar &&
      IsReversedBracket(m_kind) != IsReversedBracket(kind)) {
    m_offsetY += m_sizeY;
    m_sizeY = -m_sizeY;
  }
  m_kind = kind;
}

void KExtendedObj::SetSize(int cx, int cy) {
  m_sizeX = cx <= 0 ? kMinimumWidth : cx;
  m_sizeY = cy;
}

CPoint KExtendedObj::GetPoint(int index) const {
  return index == 0 ? CPoint(m_point0X, m_point0Y) : CPoint(m_point1X, m_point1Y);
}

void KExtendedObj::SetPoint(int index, int x, int y) {
  if (index == 0) {
    m_point0X = x, m_point0Y = y;
  } else {
    m_point1X = x, m_point1Y = y;
  }
}

CSize KExtendedObj::GetExtent(CDC* dc) {
  if (m_kind == kTextBox) return TextExtent(dc);
  return {m_sizeX, m_sizeY};
}

int KExtendedObj::MeasureText(CDC* dc) {
  if (m_kind != kTextBox) return m_sizeX;
  return TextExtent(dc).cx;
}
