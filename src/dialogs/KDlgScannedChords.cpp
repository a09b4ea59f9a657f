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
  const int count = std::max(1, static_cast<int>(chords.size()));
  m_columns = std::clamp(630 / kCellWidth, 1, count);
  const int rows = (count + m_columns - 1) / m_columns;
  DialogControl* picture = Controls().Find(kIdPicture);
  picture->width = std::max(350, m_columns * kCellWidth + 10);
  picture->height = rows * (kCellHeight + kRowGap) + kTop;
  g_chordSettings.auditionProgram = 25;
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

void KDlgScannedChords::Draw() {
  DialogControl* control = Controls().Find(kIdPicture);
  KPictureCanvas canvas(m_picture, control->width, control->height);
  CDC* dc = canvas.Dc();
  if (dc == nullptr) return;
  int y = 16;
  for (UINT id : {8020u, 8021u, 8022u, 8023u}) {
    dc->TextOut(4, y, std::string(LoadString(id).View()));
    y += 14;
  }
  for (int i = 0; i < static_cast<int>(chords.size()); ++i) {
    const int x = (i % m_columns) * kCellWidth;
    const int top = kTop + (i / m_columns) * (kCellHeight + kRowGap);
    CString name = chords[static_cast<std::size_t>(i)].identity.Left(2);
    name.TrimRight();
    CString type = chords[static_cast<std::size_t>(i)].identity.Mid(22);
    if (type != "(major)") name += type;
    dc->TextOut(x + 4, top, std::string(name.View()));
    dc->SetViewportOrg(x + 8, top + 16);
    DrawChordDiagram(dc, ShapeOf(i));
    dc->SetViewportOrg(0, 0);
    if (ticked[static_cast<std::size_t>(i)] != 0) {
      // A ticked chord is framed.
      dc->FillSolidRect(x + 1, top - 2, kCellWidth - 2, 2, kBlack);
      dc->FillSolidRect(x + 1, top + kCellHeight + 8, kCellWidth - 2, 2, kBlack);
      dc->FillSolidRect(x + 1, top - 2, 2, kCellHeight + 12, kBlack);
      dc->FillSolidRect(x + kCellWidth - 3, top - 2, 2, kCellHeight + 12, kBlack);
    }
  }
}

void KDlgScannedChords::OnMouse(const DialogMouse& mouse) {
  if (mouse.doubleClick) {
    ticked.fill(mouse.button == 1 ? 1 : 0);
    Draw();
    return;
  }
  if (mouse.y < kTop) return;
  const int row = (mouse.y - kTop) / (kCellHeight + kRowGap);
  const int column = mouse.x / kCellWidth;
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
