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
  if (n < 64) {
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
  m_cellHeight = 53 + 6 * (fretRows - 4) + (fingering ? 9 : 0);
  DialogControl* picture = Controls().Find(kIdPicture);
  picture->width = m_columns * kCellWidth + 10;
  picture->height = m_rows * m_cellHeight + kStripHeight + 15;
  g_chordSettings.auditionProgram = 25;
}

void KDlgChordVars::Draw() {
  DialogControl* control = Controls().Find(kIdPicture);
  KPictureCanvas canvas(m_picture, control->width, control->height);
  CDC* dc = canvas.Dc();
  if (dc == nullptr) return;
  dc->TextOut(2, 0, std::string(LoadString(8160).View()));
  dc->FillSolidRect(0, kStripHeight, control->width, 1, kBlack);
  for (int i = 0; i < Count(); ++i) {
    const int x = (i % m_columns) * kCellWidth;
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
    dc->SetViewportOrg(x + 2, y + 16);
    DrawChordDiagram(dc, shapes[static_cast<std::size_t>(i)]);
    dc->SetViewportOrg(0, 0);
    if (i + 1 == variation) dc->PatBlt(x, y, kCellWidth, m_cellHeight, DSTINVERT);
  }
}

BOOL KDlgChordVars::OnInitDialog() {
  KModalDialog::OnInitDialog();
  if (static_cast<int>(shapes.size()) > kMaxShapes) shapes.resize(kMaxShapes);
  variation = std::clamp(variation, 1, std::max(1, Count()));
  CString title;
  AfxFormatString1(title, kTitleText, chordName.Str().c_str());
  Controls().SetTitle(std::string(title.View()));
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
  if (mouse.y < kStripHeight) return;
  const int row = (mouse.y - kStripHeight) / m_cellHeight;
  const int column = mouse.x / kCellWidth;
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
