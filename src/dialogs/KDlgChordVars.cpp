#include "dialogs/KDlgChordVars.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "chords/ChordAudition.h"
#include "chords/ChordSettings.h"
#include "common/ChordDiagram.h"
#include "dialogs/ChordPictures.h"
#include "dialogs/KDlgChordSelect.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"

namespace {
constexpr UINT kTitleText = 8025;  // "%1 - L-Sel, R-Play"
constexpr int kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28, kReturn = 0x0D;
constexpr COLORREF kBlack = RGB(0, 0, 0);

bool IsBlankChordName(const CString& name) {
  return name.Find("Blank") >= 0 || name.Find("BLANK") >= 0 || name.Find("blank") >= 0;
}
}  // namespace

KDlgChordVars::KDlgChordVars() : KModalDialog(kTemplateId) {}

void KDlgChordVars::DeclareControls(DialogControls& c) {
  DialogControl& picture = c.Picture(kIdPicture, m_picture, 100, 100);
  picture.onMouse = [this](const DialogMouse& mouse) { OnMouse(mouse); };
  picture.onKey = [this](int key, int character) { return OnKey(key, character); };
  c.Button(IDCANCEL, "Cancel", DialogButtonRole::kCancel);
}

void KDlgChordVars::Layout() {
  const int n = std::max(1, Count());
  if (m_mode == 1) {
    // Notes: one row of fewer than eight, else rows of eight.
    m_columns = n < 8 ? n : 8;
    m_rows = (n + m_columns - 1) / m_columns;
  } else if (n < 64) {
    m_columns = m_rows = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(n))));
    while (m_columns * m_rows < n) {
      ++m_columns;
      if (m_columns * m_rows < n && m_rows < 8) ++m_rows;
    }
  } else {
    m_rows = 8;
    m_columns = (n + 7) / 8;
  }
  int fretRows = 4;
  bool fingering = false;
  for (const CString& shape : shapes) {
    if (shape.GetLength() >= 26 && shape[24] >= '4' && shape[24] <= '7')
      fretRows = std::max(fretRows, shape[24] - '0');
    if (shape.GetLength() >= 32) {
      CString labels = shape.Mid(26, 6);
      labels.TrimRight();
      fingering = fingering || !labels.IsEmpty();
    }
  }
  const ChordCellSize cell =
      ChordCellInMode(m_mode, kCellWidth, 53 + 6 * (fretRows - 4) + (fingering ? 9 : 0));
  m_cellWidth = cell.width;
  m_cellHeight = cell.height;
  DialogControl* picture = Controls().Find(kIdPicture);
  picture->width = std::max(m_columns * m_cellWidth + 10, kModeLabelX[2] + 60);
  picture->height = m_rows * m_cellHeight + kStripHeight + 15;
}

void KDlgChordVars::Draw() {
  DialogControl* control = Controls().Find(kIdPicture);
  KPictureCanvas canvas(m_picture, control->width, control->height);
  CDC* dc = canvas.Dc();
  if (dc == nullptr) return;
  // The strip of the three modes, the current one underlined.
  const UINT modeTexts[3] = {8160, 8159, 8157};
  for (int m = 0; m < 3; ++m) {
    dc->TextOut(kModeLabelX[m], 0, std::string(LoadString(modeTexts[m]).View()));
    if (m == m_mode) dc->FillSolidRect(kModeLabelX[m], 12, 34, 2, kBlack);
  }
  dc->FillSolidRect(0, kStripHeight, control->width, 1, kBlack);
  const auto mode = static_cast<ChordPictureMode>(m_mode);
  for (int i = 0; i < Count(); ++i) {
    const int x = (i % m_columns) * m_cellWidth;
    const int y = kStripHeight + (i / m_columns) * m_cellHeight;
    CString label = ChordVariationLabel(i + 1);
    label.TrimLeft();
    dc->TextOut(x + 2, y + 1, std::string(label.View()));
    if (i >= libraryCount) {
      // A user variation shows its hint.
      CString hint = shapes[static_cast<std::size_t>(i)].Mid(7, 8);
      hint.TrimRight();
      dc->TextOut(x + 18, y + 1, hint.IsEmpty() ? "#" : std::string(hint.View()));
    }
    if (!IsBlankChordName(chordName))
      DrawChordInMode(*dc, mode, shapes[static_cast<std::size_t>(i)], tuning, x + 2, y + 16, m_cellWidth - 4);
    if (i + 1 == variation) dc->PatBlt(x, y, m_cellWidth, m_cellHeight, DSTINVERT);
  }
}

void KDlgChordVars::ChooseMode(int mode) {
  if (mode == m_mode) return;
  m_mode = mode;
  g_chordSettings.pictureMode = mode;
  // Diagrams and keyboards are also the two forms a chord line shows.
  if (mode == 0 || mode == 2) g_chordSettings.frameChoice = mode;
  Layout();
  Draw();
}

BOOL KDlgChordVars::OnInitDialog() {
  KModalDialog::OnInitDialog();
  if (static_cast<int>(shapes.size()) > kMaxShapes) shapes.resize(kMaxShapes);
  variation = std::clamp(variation, 1, std::max(1, Count()));
  CString title;
  AfxFormatString1(title, kTitleText, chordName.Str().c_str());
  Controls().SetTitle(std::string(title.View()));
  m_mode = std::clamp(g_chordSettings.pictureMode, 0, 2);
  Layout();
  Draw();
  return TRUE;
}

void KDlgChordVars::Moved() {
  Draw();
  if (g_chordSettings.playOnSelect != 0 && variation >= 1 && variation <= Count())
    PlayChordShape(shapes[static_cast<std::size_t>(variation - 1)], tuning, 0,
                   g_chordSettings.auditionProgram);
}

void KDlgChordVars::OnMouse(const DialogMouse& mouse) {
  if (mouse.y < kStripHeight) {
    if (mouse.button != 1) return;
    if (mouse.x > kModeLabelX[2] - 4) {
      ChooseMode(2);
    } else if (mouse.x > kModeLabelX[1] - 4) {
      ChooseMode(1);
    } else if (mouse.x > 2) {
      ChooseMode(0);
    }
    return;
  }
  const int row = (mouse.y - kStripHeight) / m_cellHeight;
  const int column = mouse.x / m_cellWidth;
  if (column >= m_columns) return;
  const int cell = row * m_columns + column + 1;
  if (cell < 1 || cell > Count()) return;
  if (mouse.button == 2) {
    PlayChordShape(shapes[static_cast<std::size_t>(cell - 1)], tuning,
                   (mouse.flags & kDialogMouseControl) != 0 ? g_chordSettings.strumDelay : 0,
                   g_chordSettings.auditionProgram);
    return;
  }
  variation = cell;
  EndDialog(IDOK);
}

bool KDlgChordVars::OnKey(int virtualKey, int character) {
  const int n = Count();
  if (character >= '0' && character <= '9') {
    const int d = character - '0';
    int number;
    if (m_pendingDigit > 0) {
      number = 10 * m_pendingDigit + d;
      m_pendingDigit = -1;
    } else {
      number = d;
      m_pendingDigit = 10 * d <= n ? d : -1;
    }
    if (number >= 1 && number <= n) {
      variation = number;
      Moved();
    } else if (m_pendingDigit < 0 || number > n) {
      MessageBeep(MB_ICONASTERISK);
      m_pendingDigit = -1;
    }
    return true;
  }
  switch (virtualKey) {
    case kReturn:
      EndDialog(IDOK);
      return true;
    case kLeft:
      variation = variation <= 1 ? n : variation - 1;
      break;
    case kRight:
      variation = variation >= n ? 1 : variation + 1;
      break;
    case kUp:
      if (variation - m_columns >= 1) {
        variation -= m_columns;
      } else {
        int target = variation + (m_rows - 1) * m_columns;
        if (target > n) target -= m_columns;
        variation = std::clamp(target, 1, n);
      }
      break;
    case kDown:
      if (variation + m_columns <= n) {
        variation += m_columns;
      } else {
        variation = std::clamp((variation - 1) % m_columns + 1, 1, std::min(n, m_columns));
      }
      break;
    default:
      return false;
  }
  Moved();
  return true;
}
