// The chord selection dialog's explanation of the current chord: the
// spelling line (intervals and their notes over the root), the chord as a
// diagram, a tablature column, notes on a staff and keys of a keyboard.

#include <algorithm>
#include <memory>

#include "chords/ChordSettings.h"
#include "common/ChordDiagram.h"
#include "common/ChordShape.h"
#include "common/Globals.h"
#include "dialogs/ChordPictures.h"
#include "dialogs/KDlgChordSelect.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"

namespace {

constexpr const char* kIntervalTable =
    " R   2nd  b3rd 3rd  4th  b5th 5th  #5th 6th  bb7thb7th 7th  b9th 9th  #9th 11th #11th13th      ";
constexpr int kIntervalSemitones[] = {0, 2, 3, 4, 5, 6, 7, 8, 9, 9, 10, 11, 1, 2, 3, 5, 6, 9};
constexpr const char* kSharpLetters = "A A#B C C#D D#E F F#G G#";
constexpr const char* kFlatLetters = "A BbB C DbD EbE F GbG Ab";
constexpr const char* kSharpNames = "(A) (A#)(B) (C) (C#)(D) (D#)(E) (F) (F#)(G) (G#)";
constexpr const char* kFlatNames = "(A) (Bb)(B) (C) (Db)(D) (Eb)(E) (F) (Gb)(G) (Ab)";
constexpr UINT kDetailsTitle = 8006;
constexpr UINT kSpellingTitle = 8007;
constexpr UINT kWordForBar = 8075;

bool IsBlankType(const CString& name) {
  return name.Find("Blank") >= 0 || name.Find("BLANK") >= 0 || name.Find("blank") >= 0;
}

}  // namespace

void KDlgChordSelect::ShowSpelling(const CString& root, const CString& text) {
  m_intervalLabels.fill(CString());
  m_noteLabels.fill(CString());
  const bool library = variation <= libVarCount && typeStringId >= 0;
  if (!library) {
    const int split = text.Find("&&");
    m_details = split >= 0 ? text.Left(split) : text;
    m_frameTitle = LoadString(kDetailsTitle);
    Controls().Show(kIdDetails, true);
    return;
  }
  // The root's spelling: flats for a flat root and for C and F, else sharps.
  const bool flats = root.GetAt(1) == 'b' || (root.GetAt(1) == ' ' && (root[0] == 'C' || root[0] == 'F'));
  const CString letters(flats ? kFlatLetters : kSharpLetters);
  int r = 0;
  for (int i = 0; i < 12; ++i)
    if (letters.Mid(2 * i, 2) == root) r = i;
  const CString table(kIntervalTable);
  CString notes;
  for (int at = 0; at + 5 <= text.GetLength(); at += 5) {
    const int k = table.Find(text.Mid(at, 5));
    if (k < 0 || k % 5 != 0 || k / 5 >= 18) break;
    const int index = k / 5;
    const int note = (kIntervalSemitones[index] + r) % 12;
    const bool flatName = index == 2 || index == 5 || index == 9 || index == 10 || index == 12;
    const bool sharpName = index == 7 || index == 14 || index == 16;
    const CString names(flatName ? kFlatNames : sharpName ? kSharpNames : flats ? kFlatNames : kSharpNames);
    notes += names.Mid(4 * note, 4);
  }
  notes += CString(' ', 28);
  CString intervals = text + CString(' ', 28);
  if (LoadString(kWordForBar) == "Takt") {
    const int rootAt = intervals.Find('R');
    if (rootAt >= 0) intervals.SetAt(rootAt, 'T');
    for (const char* suffix : {"nd", "rd"}) {
      const int at = intervals.Find(suffix);
      if (at >= 0) intervals = intervals.Left(at) + ". " + intervals.Mid(at + 2);
    }
    intervals.Replace("th", ". ");
  }
  for (int i = 0; i < 7; ++i) {
    CString label = intervals.Mid(5 * i, 5);
    label.TrimLeft();
    label.TrimRight();
    m_intervalLabels[static_cast<std::size_t>(i)] = label;
    CString note = notes.Mid(4 * i, 4);
    note.TrimRight();
    m_noteLabels[static_cast<std::size_t>(i)] = note;
  }
  m_details.Empty();
  m_frameTitle = LoadString(kSpellingTitle);
  Controls().Show(kIdDetails, false);
}

void KDlgChordSelect::UpdateWorkChords(const CString& chordShape) {
  ShapeToChord(chordShape, key, m_tabChord.get(), m_staffChord.get(), tuning, keySignature);
  // A user chord (a long shape) can be removed.
  Controls().Show(kIdRemove, chordShape.GetLength() >= 8);
}

void KDlgChordSelect::DrawChordPictures() {
  CString drawn = shape;
  const bool blank = IsBlankType(typeName);
  if (blank) {
    drawn = EmptyChordShape(m_stringCount);
    ShapeToChord(drawn, key, m_tabChord.get(), m_staffChord.get(), tuning, keySignature);
  }
  {
    KPictureCanvas canvas(m_diagramPicture, 54, 56);
    // Clear of the frame that may go round the picture.
    if (CDC* dc = canvas.Dc()) DrawCentredChordDiagram(*dc, drawn, blank, 54, 56, 3);
  }
  DrawTabPicture();
  DrawStaffPicture();
  // The small image of the chord on the tuning: the picture a chord line
  // shows in place of a diagram when its chords are keyboards.
  if (std::unique_ptr<CDC> screen = CurrentUiPort().CreatePictureDC())
    DrawChordDiagramBitmap(screen.get(), m_keyboardPicture, drawn, tuning, ChordImageKind::kKeyboard);
  DrawFrames();
}

void KDlgChordSelect::DrawFrames() {
  // The frame goes round the picture of the form the chord is inserted in.
  struct Framed {
    CBitmap* bitmap;
    UINT id;
  };
  const Framed framed[kFrameCount] = {{&m_diagramPicture, kIdDiagramPicture},
                                      {&m_staffPicture, kIdStaffPicture},
                                      {&m_keyboardPicture, kIdKeyboardPicture},
                                      {&m_tabPicture, kIdTabPicture}};
  if (pictureFrame < 0 || pictureFrame >= kFrameCount) return;
  const Framed& f = framed[pictureFrame];
  const DialogControl* control = Controls().Find(f.id);
  if (control == nullptr || f.bitmap->Pixels() == nullptr) return;
  std::unique_ptr<CDC> base = CurrentUiPort().CreatePictureDC();
  if (base == nullptr) return;
  std::unique_ptr<CDC> memory = base->CreateCompatibleDC();
  if (memory == nullptr) return;
  CBitmap* old = memory->SelectObject(f.bitmap);
  if (old == nullptr) return;
  const int w = control->width;
  const int h = control->height;
  const COLORREF ink = RGB(0, 0, 160);
  memory->FillSolidRect(0, 0, w, 2, ink);
  memory->FillSolidRect(0, h - 2, w, 2, ink);
  memory->FillSolidRect(0, 0, 2, h, ink);
  memory->FillSolidRect(w - 2, 0, 2, h, ink);
  memory->SelectObject(old);
}

bool KDlgChordSelect::ChooseFrame(int frame) {
  if (lineFlag == 0 || (frame != 0 && frame != 2)) return false;
  if (frame == pictureFrame) return true;
  pictureFrame = frame;
  g_chordSettings.frameChoice = frame;
  DrawChordPictures();
  return true;
}

void KDlgChordSelect::DrawTabPicture() {
  KPictureCanvas canvas(m_tabPicture, 50, 103);
  if (CDC* dc = canvas.Dc()) DrawTabColumnPicture(*dc, *m_tabChord, m_stringCount, 50, 103);
}

void KDlgChordSelect::DrawStaffPicture() {
  KPictureCanvas canvas(m_staffPicture, 95, 151);
  if (CDC* dc = canvas.Dc()) DrawStaffColumnPicture(*dc, *m_staffChord, 95, 151, g_CurrentNoteCode);
}

void KDlgChordSelect::TransferTexts() {
  DialogControls& c = Controls();
  c.Find(kIdChordName)->caption = std::string(m_chordName.View());
  c.Find(kIdDetails)->caption = std::string(m_details.View());
  c.Find(kIdSpellingFrame)->caption = std::string(m_frameTitle.View());
  for (UINT i = 0; i < 7; ++i) {
    c.Find(kIdFirstInterval + i)->caption = std::string(m_intervalLabels[i].View());
    c.Find(kIdFirstNote + i)->caption = std::string(m_noteLabels[i].View());
  }
  if (DialogControl* root = c.Find(kIdRoot)) root->value = m_keyIndex;
  if (DialogControl* type = c.Find(kIdType)) type->value = m_typeIndex;
  if (DialogControl* list = c.Find(kIdVariation))
    list->value = std::clamp(variation - 1, 0, std::max(0, static_cast<int>(list->items.size()) - 1));
}

void KDlgChordSelect::ShowCurrent() {
  if (m_failed) return;
  CString name = key.GetAt(1) == ' ' ? key.Left(1) : key;
  m_chordName = name + typeName;
  ShowSpelling(key, spelling);
  UpdateWorkChords(shape);
  DrawChordPictures();
  TransferTexts();
}
