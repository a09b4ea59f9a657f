// KChordPicLine: the new lines made from this one for a change of tuning (the
// diagrams refitted to the new strings) and for a transposition (the chord
// names shifted by the chord code). Both keep the line's label, layout and
// flags (diagrams shown, keyboard pictures), so that the line that replaces
// this one looks as it did.

#include "lines/KChordPicLine.h"
#include "lines/KChordPicLineServices.h"
#include "lines/KStaffLine.h"
#include "model/KChordPic.h"

namespace {

constexpr const char* kAltTuningSuffix = " AltT";
// The constants with which the transposition asks the chord code to shift names.
constexpr int kShiftLowCode = 38;
constexpr int kShiftHighCode = 50;
constexpr int kShiftOption = 1;
constexpr int kOctave = 12;

}  // namespace

std::unique_ptr<KChordPicLine> KChordPicLine::SetTuning(const CString& tuning, int refit) {
  if (refit == 0) {
    ReplaceTuning(tuning);
    MarkChanged();
    return nullptr;
  }
  auto line = std::make_unique<KChordPicLine>(m_key, tuning, m_nameFontText, m_widthPct, m_heightPct);
  line->SetFlagWord(m_flags);
  line->SetStaffLength(m_staffLength);
  line->SetIndent(m_indent);
  KChordLineServices& chords = GetChordLineServices();
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChordPic* diagram = AsChordPic(m_objects.GetNext(node));
    if (diagram == nullptr) continue;
    CString shape;
    chords.AdaptChordShape(m_tuning, diagram->GetShape(), tuning, shape);
    line->InsertDiagramAt(diagram->GetPos(), diagram->GetName(), shape, diagram->GetSetting(),
                          diagram->GetValue());
  }
  // The refitted shapes may need other rows than the old ones.
  line->UpdateDiagramRows();
  CString label = GetLabelName();
  if (label.Right(5) != kAltTuningSuffix) label += kAltTuningSuffix;
  line->SetLabel(label);
  return line;
}

std::unique_ptr<KLineObj> KChordPicLine::Transpose(int first, int last, int, int targetKey, int sourceKey,
                                                   int, int, int, int) {
  const int keyCode = KStaffLine::KeyCodeOfListIndex(targetKey);
  const int targetPitch = KStaffLine::PitchClassOfListIndex(targetKey);
  const int sourcePitch = KStaffLine::PitchClassOfListIndex(sourceKey);
  if (keyCode < 0 || targetPitch < 0 || sourcePitch < 0) return nullptr;

  auto line = std::make_unique<KChordPicLine>(keyCode, m_tuning, m_nameFontText, m_widthPct, m_heightPct);
  line->m_label = m_label;
  line->SetFlagWord(m_flags);
  line->SetStaffLength(m_staffLength);
  line->SetIndent(m_indent);
  if (!m_objects.IsEmpty()) {
    for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
      const KChordPic* diagram = AsChordPic(m_objects.GetNext(node));
      if (diagram == nullptr) continue;
      line->m_objects.AddTail(
          new KChordPic(diagram->GetPos(), diagram->GetName(), diagram->GetShape(), diagram->GetSetting()));
    }
    const int shift = (targetPitch - sourcePitch + kOctave) % kOctave;
    GetChordLineServices().ShiftChordNames(*line, first, last, kShiftLowCode, kShiftHighCode, shift,
                                           kShiftOption);
  }
  if (last >= kWholeLineColumn || m_objects.IsEmpty()) line->CopyAttachmentsFrom(*this);
  line->MarkChanged();
  return line;
}
