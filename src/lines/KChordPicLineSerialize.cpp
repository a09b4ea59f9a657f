// The record of a chord-diagram line: the object-list line's record
// (KListLine.h) under the class name "KChordPicLine", with the line's own
// fields carried inside it:
//
// - the label is written as label + "!@!" + tuning + "!@@@!" + name-font text
//   and split again when it is read (without the separator the line takes the
//   standard tuning and the default name font; without "!@@@!" the default
//   name font);
// - the diagram width and height percentages (12 bits each) are packed into
//   the three values of the spacing word: space below = height bits 0-7,
//   space above = width bits 0-7, layout row = height bits 8-11 in its bits
//   0-3 and width bits 8-11 in its bits 4-7. The line keeps the packed values
//   after a store. Files older than version 3901 carry no sizes there: their
//   lines take the default sizes. Sizes outside 25 to 1000 percent (a damaged
//   file; the line's settings admit no others) are brought into that range.
//
// The diagrams' fret-row flags travel in the flag word as they were last set.

#include <algorithm>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "lines/KChordPicLine.h"
#include "lines/KChordPicLineDefaults.h"
#include "platform/CArchive.h"

namespace {

// Files from this version on carry the diagram sizes.
constexpr int kVersionDiagramSizes = 3901;

int KeptPct(int pct) { return std::clamp(pct, KChordPicLine::kMinDiagramPct, KChordPicLine::kMaxDiagramPct); }

}  // namespace

void KChordPicLine::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    m_layoutRow = ((m_heightPct >> 8) & 15) + ((m_widthPct >> 4) & 240);
    m_spaceAbove = m_widthPct & 255;
    m_spaceBelow = m_heightPct & 255;
    StoreWithLabel(ar, m_label + g_LabelSeparator + m_tuning + g_ChordPicMarker + m_nameFontText);
    return;
  }

  KListLine::Serialize(ar);
  // A chord line's record that names another kind is damaged: the rest of
  // the program would take the line for a line of that kind.
  if (m_type != kKind) AfxThrowArchiveException(CArchiveException::generic);

  if (g_fileVersion < kVersionDiagramSizes) {
    m_widthPct = g_defaultDiagramWidthPct;
    m_heightPct = g_defaultDiagramHeightPct;
  } else {
    m_widthPct = KeptPct(((m_layoutRow & 240) << 4) + m_spaceAbove);
    m_heightPct = KeptPct(m_spaceBelow + ((m_layoutRow & 15) << 8));
  }

  CString tuning = kStandardTuning;
  CString nameFontText = g_defaultChordNameFontText;
  const int separator = m_label.Find(g_LabelSeparator);
  if (separator >= 0) {
    tuning = m_label.Mid(separator + g_LabelSeparator.GetLength());
    m_label = m_label.Left(separator);
    const int second = tuning.Find(g_LabelSeparator);
    if (second > 0) tuning = tuning.Left(second);
    const int marker = tuning.Find(g_ChordPicMarker);
    if (marker >= 0) {
      nameFontText = tuning.Mid(marker + g_ChordPicMarker.GetLength());
      tuning = tuning.Left(marker);
    }
  }
  ReplaceTuning(tuning);
  SetNameFont(nameFontText);
  // The stored row flags are recounted from the diagrams themselves.
  UpdateDiagramRows();
}
