#include "dialogs/KDlgScannedChords.h"

#include <algorithm>
#include <string>

#include "chords/ChordAudition.h"
#include "chords/ChordDictionary.h"
#include "chords/ChordDictionaryWrite.h"
#include "chords/ChordSettings.h"
#include "common/ChordDiagram.h"
#include "common/Globals.h"
#include "common/TuningCodec.h"
#include "dialogs/ChordPictures.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"

namespace {
constexpr UINT kMsgCannotAppend = 7038;
constexpr UINT kTitleText = 8018;
constexpr UINT kStandardText = 8149;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr int kRowGap = 16;
bool g_appendFailureShown = false;
}  // namespace

KDlgScannedChords::KDlgScannedChords() : KModalDialog(kTemplateId) {}

void KDlgScannedChords::DeclareControls(DialogControls& c) {
  c.Picture(kIdPicture, m_picture, 350, 200).onMouse = [this](const DialogMouse& mouse) { OnMouse(mouse); };
  c.Button(IDOK, "OK", DialogButtonRole::kOk);
  c.Button(IDCANCEL, "Cancel", DialogButtonRole::kCancel);
}

CString KDlgScannedChords::Tuning() const {
  const int marker = tuningKey.Find(g_FretListMarker);
  return marker > 0 ? tuningKey.Left(marker) : tuningKey;
}

CString KDlgScannedChords::ShapeOf(int i) const {
  const ScannedChord& chord = chords[static_cast<std::size_t>(i)];
  return chord.identity.Mid(2, 7) + CString(' ', 8) + chord.identity.Mid(17, 5) + chord.tail;
}

BOOL KDlgScannedChords::OnInitDialog() {
  KModalDialog::OnInitDialog();
  if (static_cast<int>(chords.size()) > kMaxChords) chords.resize(kMaxChords);
  m_mode = std::clamp(g_chordSettings.pictureMode, 0, 2);
  Layout();
  CString names;
  if (Tuning() == "E A D G B E  323742475156") {
    names = LoadString(kStandardText);
  } else {
    GetTuningNoteNames(Tuning(), names);
  }
  CString title;
  AfxFormatString1(title, kTitleText, names.Str().c_str());
  const int marker = tuningKey.Find(g_FretListMarker);
  if (marker > 0) title += " (Frets: " + tuningKey.Mid(marker + g_FretListMarker.GetLength()) + "...)";
  Controls().SetTitle(std::string(title.View()));
  Draw();
  return TRUE;
}

void KDlgScannedChords::Layout() {
  const ChordCellSize cell = ChordCellInMode(m_mode, kCellWidth, kCellHeight);
  m_cellWidth = cell.width;
  m_cellHeight = cell.height;
  const int count = std::max(1, static_cast<int>(chords.size()));
  m_columns = std::clamp(630 / m_cellWidth, 1, count);
  const int rows = (count + m_columns - 1) / m_columns;
  DialogControl* picture = Controls().Find(kIdPicture);
  picture->width = std::max(350, m_columns * m_cellWidth + 10);
  picture->height = rows * (m_cellHeight + kRowGap) + kTop;
}

void KDlgScannedChords::Draw() {
  DialogControl* control = Controls().Find(kIdPicture);
  KPictureCanvas canvas(m_picture, control->width, control->height);
  CDC* dc = canvas.Dc();
  if (dc == nullptr) return;
  const UINT modeTexts[3] = {8160, 8159, 8157};
  for (int m = 0; m < 3; ++m) {
    dc->TextOut(kModeLabelX[m], 0, std::string(LoadString(modeTexts[m]).View()));
    if (m == m_mode) dc->FillSolidRect(kModeLabelX[m], 12, 34, 2, kBlack);
  }
  int y = 16;
  for (UINT id : {8020u, 8021u, 8022u, 8023u}) {
    dc->TextOut(4, y, std::string(LoadString(id).View()));
    y += 14;
  }
  for (int i = 0; i < static_cast<int>(chords.size()); ++i) {
    const int x = (i % m_columns) * m_cellWidth;
    const int top = kTop + (i / m_columns) * (m_cellHeight + kRowGap);
    CString name = chords[static_cast<std::size_t>(i)].identity.Left(2);
    name.TrimRight();
    CString type = chords[static_cast<std::size_t>(i)].identity.Mid(22);
    if (type != "(major)") name += type;
    dc->TextOut(x + 4, top, std::string(name.View()));
    DrawChordInMode(*dc, static_cast<ChordPictureMode>(m_mode), ShapeOf(i), Tuning(),
                    x + (m_mode == 0 ? 8 : 2), top + 16, m_cellWidth - 4);
    if (ticked[static_cast<std::size_t>(i)] != 0) {
      // A ticked chord is framed.
      dc->FillSolidRect(x + 1, top - 2, m_cellWidth - 2, 2, kBlack);
      dc->FillSolidRect(x + 1, top + m_cellHeight + 8, m_cellWidth - 2, 2, kBlack);
      dc->FillSolidRect(x + 1, top - 2, 2, m_cellHeight + 12, kBlack);
      dc->FillSolidRect(x + m_cellWidth - 3, top - 2, 2, m_cellHeight + 12, kBlack);
    }
  }
}

void KDlgScannedChords::OnMouse(const DialogMouse& mouse) {
  if (mouse.y < 15) {
    // The strip of picture modes, by either button.
    const int mode = mouse.x > 200 ? 2 : mouse.x > 100 ? 1 : mouse.x > 2 ? 0 : m_mode;
    if (mode != m_mode) {
      m_mode = mode;
      g_chordSettings.pictureMode = mode;
      Layout();
      Draw();
    }
    return;
  }
  if (mouse.doubleClick) {
    ticked.fill(mouse.button == 1 ? 1 : 0);
    Draw();
    return;
  }
  if (mouse.y < kTop) return;
  const int row = (mouse.y - kTop) / (m_cellHeight + kRowGap);
  const int column = mouse.x / m_cellWidth;
  if (column >= m_columns) return;
  const int number = row * m_columns + column + 1;
  if (number < 1 || number > static_cast<int>(chords.size())) return;
  if (mouse.button == 2) {
    PlayChordShape(ShapeOf(number - 1), Tuning(),
                   (mouse.flags & kDialogMouseControl) != 0 ? g_chordSettings.strumDelay : 0,
                   g_chordSettings.auditionProgram);
    return;
  }
  m_current = number;
  ticked[static_cast<std::size_t>(number - 1)] ^= 1;
  Draw();
}

int AppendScannedChords(const CString& tuningKey, const std::vector<ScannedChord>& chords) {
  KDlgScannedChords dialog;
  dialog.tuningKey = tuningKey;
  dialog.chords.assign(chords.begin(), chords.begin() + std::min<std::ptrdiff_t>(chords.size(), 36));
  if (dialog.DoModal() != IDOK) return -1;
  std::vector<CString> records;
  for (int i = 0; i < static_cast<int>(dialog.chords.size()); ++i) {
    if (dialog.ticked[static_cast<std::size_t>(i)] == 0) continue;
    const CString record = ScannedChordRecord(tuningKey, dialog.chords[static_cast<std::size_t>(i)]);
    if (!record.IsEmpty()) records.push_back(record);
  }
  if (records.empty()) return 0;
  if (!AppendChordRecords(records)) {
    if (!g_appendFailureShown) {
      g_appendFailureShown = true;
      AfxMessageBox(kMsgCannotAppend);
    }
    return -1;
  }
  g_ChordRecordNumber += static_cast<int>(records.size());
  return static_cast<int>(records.size());
}
