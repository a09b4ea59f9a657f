// Drawing of a chord diagram object: its cached diagram bitmap and its size.

#include <memory>

#include "common/ChordDiagram.h"
#include "common/ErrorReporter.h"
#include "common/Globals.h"
#include "common/ScaledDraw.h"
#include "model/KChordPic.h"
#include "platform/CDC.h"

namespace {

constexpr int kPictureWidth = 91;
constexpr int kEmptyShapeWidth = 54;

bool IsBlankName(const CString& name) {
  return name.Find("Blank") >= 0 || name.Find("BLANK") >= 0 || name.Find("blank") >= 0;
}

}  // namespace

int KChordPic::GetDiagramSize() const {
  if (m_isPicture != 0) return kPictureWidth;
  if (m_shape.IsEmpty()) return kEmptyShapeWidth;
  return GetDiagramStringCount(m_shape);
}

void KChordPic::DrawDiagram(CDC* dc, const CString& pictureName, const CString& pictureArg) {
  // The old picture goes whatever happens next.
  m_image = std::make_unique<CBitmap>();
  const bool picture = !pictureName.IsEmpty();
  m_isPicture = picture ? 1 : 0;
  if (dc == nullptr) return;

  const ChordImageResult drawn = DrawChordDiagramBitmap(
      dc, *m_image, m_shape, pictureArg.IsEmpty() ? g_CurrentTuning : pictureArg,
      picture ? ChordImageKind::kKeyboard : ChordImageKind::kDiagram, IsBlankName(m_name));
  if (drawn == ChordImageResult::kNoMemoryDC) {
    ReportInternalErrorOnce(kOnceBitmapDrawFailed, kMsgInternalProblem, "OC2-7");
  } else if (drawn == ChordImageResult::kNoBitmap) {
    ReportInternalErrorOnce(kOnceBitmapDrawFailed, kMsgInternalProblem, "OC2-8");
  }
}
