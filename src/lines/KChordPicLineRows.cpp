// KChordPicLine: the fret rows that the line's diagrams need, kept in the flag
// word (see KChordPicLine.h) so that the line height follows the tallest
// diagram.

#include <algorithm>
#include <string_view>

#include "common/ChordDiagram.h"
#include "common/ViewServices.h"
#include "lines/KChordPicLine.h"
#include "model/KChordPic.h"

namespace {

constexpr int kStandardRows = 4;
constexpr std::size_t kFingerShapeLength = 32;
constexpr std::size_t kFingerFlagIndex = 16;

// The shape asks for a row of finger labels (shown when the option is on).
bool AsksFingerRow(const CString& shape) {
  const std::string_view text = shape.View();
  return text.size() >= kFingerShapeLength && text[kFingerFlagIndex] == '1';
}

}  // namespace

void KChordPicLine::UpdateDiagramRows() {
  int rows = kStandardRows;
  bool fingerRow = false;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChordPic* diagram = AsChordPic(m_objects.GetNext(node));
    if (diagram == nullptr) continue;
    const CString shape = diagram->GetShape();
    rows = std::max(rows, GetShapeRowCount(shape));
    fingerRow = fingerRow || AsksFingerRow(shape);
  }
  SetFlagValue(kFlagExtraRows, rows - kStandardRows);
  ModifyFlags(kFlagFingerRow, fingerRow ? 1 : 0);
  MarkChanged();
  g_relayout = 1;
}

void KChordPicLine::AdjustRowsForShape(const CString& shape) {
  const int rows = GetShapeRowCount(shape);
  const int current = TestFlags(kFlagExtraRows) ? GetFlagValue(kFlagExtraRows) : 0;
  if (rows > kStandardRows) SetFlagValue(kFlagExtraRows, std::max(current, rows - kStandardRows));
  if (AsksFingerRow(shape)) ModifyFlags(kFlagFingerRow, 1);
  MarkChanged();
}

int KChordPicLine::GetDiagramExtent(const KChordPic& diagram) const {
  // A picture not drawn yet is a diagram, or a keyboard on a keyboard line.
  const int size = TestFlags(kFlagKeyboardPictures) != 0 ? kChordKeyboardWidth : diagram.GetDiagramSize();
  const long long picture = static_cast<long long>(size) * std::max(m_widthPct, 0) / 100;
  return static_cast<int>(
      std::clamp<long long>(std::max<long long>(picture, diagram.GetWidth(0)), 0, 1 << 20));
}
