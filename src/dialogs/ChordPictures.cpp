#include "dialogs/ChordPictures.h"

#include <algorithm>
#include <string>

#include "chords/ChordSettings.h"
#include "common/ChordDiagram.h"
#include "common/ChordShape.h"
#include "model/KChord.h"
#include "platform/UiPort.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kFirstFretCode = 226;
constexpr int kLastFretCode = 250;
constexpr int kStringSpacing = 12;
// The staff: five lines 8 pixels apart; a staff step is half of that. Step
// 14 is the top line (F), 22 the bottom line (E), as the staff columns count.
constexpr int kStaffTop = 48;
constexpr int kLineSpacing = 8;
constexpr int kTopLineStep = 14;
constexpr int kBottomLineStep = 22;
constexpr int kHeadX = 44;
constexpr int kHeadWidth = 9;

int StepY(int step) { return kStaffTop + (step - kTopLineStep) * kLineSpacing / 2; }

}  // namespace

KPictureCanvas::KPictureCanvas(CBitmap& bitmap, int width, int height) {
  m_base = CurrentUiPort().CreatePictureDC();
  if (!m_base) return;
  if (bitmap.Pixels() == nullptr || bitmap.GetSize().cx != width || bitmap.GetSize().cy != height) {
    bitmap.DeleteObject();
    if (!bitmap.CreateCompatibleBitmap(m_base.get(), width, height)) return;
  }
  m_memory = m_base->CreateCompatibleDC();
  if (!m_memory) return;
  m_old = m_memory->SelectObject(&bitmap);
  m_memory->FillSolidRect(0, 0, width, height, kWhite);
  m_font.CreateFont(-11, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  m_oldFont = m_memory->SelectObject(&m_font);
  m_memory->SetBkMode(TRANSPARENT);
  m_memory->SetTextColor(kBlack);
}

KPictureCanvas::~KPictureCanvas() {
  if (!m_memory) return;
  if (m_oldFont != nullptr) m_memory->SelectObject(m_oldFont);
  if (m_old != nullptr) m_memory->SelectObject(m_old);
}

void DrawTabColumnPicture(CDC& dc, const KChord& tab, int strings, int width, int height) {
  const int top = std::max(4, (height - (strings - 1) * kStringSpacing) / 2);
  for (int s = 0; s < strings; ++s) dc.FillSolidRect(4, top + s * kStringSpacing, width - 8, 1, kBlack);
  for (int i = 0; i < tab.GetNoteCount(); ++i) {
    const auto note = tab.GetNote(i);
    const int code = note.code;
    if (code < kFirstFretCode || code > kLastFretCode) continue;
    // The string rows count 2 for the highest string.
    const int line = note.position - 2;
    if (line < 0 || line >= strings) continue;
    const std::string text = std::to_string(code - kFirstFretCode);
    const int textWidth = dc.GetTextExtent(text).cx;
    const int x = (width - textWidth) / 2;
    const int y = top + line * kStringSpacing - 7;
    // The digits stand in a white box, so that the line does not cross them.
    dc.FillSolidRect(x - 1, y + 1, textWidth + 2, 12, kWhite);
    dc.TextOut(x, y, text);
  }
}

void DrawStaffColumnPicture(CDC& dc, const KChord& staff, int width, int height, int duration) {
  for (int line = 0; line < 5; ++line)
    dc.FillSolidRect(4, kStaffTop + line * kLineSpacing, width - 8, 1, kBlack);
  const bool stemDown = duration % 2 == 1;
  const bool hollow = duration >= 10;
  int highest = 1000, lowest = -1000;
  int lastStep = -1000;
  bool lastShifted = false;
  CBrush black;
  black.CreateSolidBrush(kBlack);
  CBrush* oldBrush = dc.SelectObject(&black);
  for (int i = 0; i < staff.GetNoteCount(); ++i) {
    const auto note = staff.GetNote(i);
    const int step = note.position;
    const int code = note.code % 10000;
    const int y = StepY(step);
    if (code > 12) {
      // An accidental of the note before it.
      const char* sign = code == 28 ? "#" : code == 30 ? "b" : "n";
      dc.TextOut(kHeadX - 12, y - 7, sign);
      continue;
    }
    // A note one step from the last one stands beside it (a second).
    const bool shifted = std::abs(step - lastStep) == 1 && !lastShifted;
    const int x = kHeadX + (shifted ? (stemDown ? -kHeadWidth : kHeadWidth) : 0);
    if (hollow) {
      dc.SelectStockObject(NULL_BRUSH);
      dc.Ellipse(x, y - 3, x + kHeadWidth, y + 4);
      dc.SelectObject(&black);
    } else {
      dc.Ellipse(x, y - 3, x + kHeadWidth, y + 4);
    }
    lastStep = step;
    lastShifted = shifted;
    highest = std::min(highest, step);
    lowest = std::max(lowest, step);
  }
  dc.SelectObject(oldBrush);
  if (lowest < highest) return;
  // Ledger lines out to the farthest heads.
  for (int step = kTopLineStep - 2; step >= highest; step -= 2)
    dc.FillSolidRect(kHeadX - 3, StepY(step), kHeadWidth + 6, 1, kBlack);
  for (int step = kBottomLineStep + 2; step <= lowest; step += 2)
    dc.FillSolidRect(kHeadX - 3, StepY(step), kHeadWidth + 6, 1, kBlack);
  if (duration == 12) return;  // a whole note has no stem
  const int stemX = stemDown ? kHeadX : kHeadX + kHeadWidth - 1;
  const int top = stemDown ? StepY(highest) : StepY(highest) - 24;
  const int bottom = stemDown ? StepY(lowest) + 24 : StepY(lowest);
  dc.FillSolidRect(stemX, top, 1, bottom - top, kBlack);
  // Flags of eighths and shorter: one per halving.
  const int flags = duration <= 7 ? 1 + (7 - duration) / 2 : 0;
  for (int f = 0; f < flags; ++f) {
    const int y = stemDown ? bottom - 4 - 5 * f : top + 5 * f;
    dc.MoveTo(stemX, y);
    dc.LineTo(stemX + 6, y + (stemDown ? -6 : 6));
  }
  (void)height;
}

void DrawCentredChordDiagram(CDC& dc, const CString& shape, bool blank, int width, int height, int margin) {
  const int x = std::max(margin, (width - GetDiagramStringCount(shape)) / 2);
  const int y = std::max(margin, (height - GetDiagramFretRows(shape)) / 2);
  dc.SetViewportOrg(x, y);
  DrawChordDiagram(&dc, shape, blank);
  dc.SetViewportOrg(0, 0);
}

void DrawChordInMode(CDC& dc, ChordPictureMode mode, const CString& shape, const CString& tuning, int x,
                     int y, int width) {
  dc.SetViewportOrg(x, y);
  switch (mode) {
    case ChordPictureMode::kGrids:
      DrawChordDiagram(&dc, shape);
      break;
    case ChordPictureMode::kNotes: {
      KChord staff(0, 0);
      ShapeToChord(shape, CString(), static_cast<KChord*>(nullptr), &staff, tuning, 0);
      // The staff stands a little higher than in the selection dialog's picture.
      dc.SetViewportOrg(x, y - 24);
      DrawStaffColumnPicture(dc, staff, width, 139, 12);
      break;
    }
    case ChordPictureMode::kKeyboard:
      DrawChordKeyboard(&dc, shape, tuning);
      break;
  }
  dc.SetViewportOrg(0, 0);
}

ChordCellSize ChordCellInMode(int mode, int gridWidth, int gridHeight) {
  switch (mode) {
    case 1:
      return {std::max(50, g_chordSettings.notesCellWidth), 139};
    case 2:
      g_chordSettings.auditionProgram = 0;
      return {97, 58};
    default:
      g_chordSettings.auditionProgram = 25;
      return {gridWidth, gridHeight};
  }
}
