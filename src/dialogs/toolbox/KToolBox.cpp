#include "dialogs/toolbox/KToolBox.h"

#include "common/ErrorReporter.h"
#include "common/Globals.h"
#include "dialogs/toolbox/ToolBoxCells.h"
#include "dialogs/toolbox/ToolBoxPrompts.h"
#include "platform/StringTable.h"
#include "platform/SymbolLoader.h"
#include "platform/UiPort.h"

using namespace toolbox;

namespace {

constexpr unsigned kFretboardPrompt = 8133;
constexpr unsigned kKeyboardPrompt = 8134;
constexpr int kLastNoteValue = 12;  // codes 0..12 are note values

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

bool PointIn(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// Loads a picture; reports a failure with its location code.
bool LoadPicture(int id, CBitmap& bitmap, const char* failureCode) {
  bitmap.DeleteObject();
  if (LoadSymbolResource(id, bitmap)) return true;
  ReportInternalError(kMsgImageLoadProblem, failureCode);
  return false;
}

}  // namespace

KToolBox::KToolBox(int kind, int lineClass, KToolBoxHost& host)
    : m_host(host),
      m_kind(kind),
      m_lineClass(lineClass == kClassTab ? kClassTab : kClassOther),
      m_currentCode(kNoCode) {
  // A palette with a tablature twin opens as the twin of the caret's line.
  if (kind >= 0 && kind < kKindCount) m_kind = TwinForClass(kind, m_lineClass);
}

bool KToolBox::CreatePalette(const KToolBoxState& state) {
  if (m_kind < 0 || m_kind >= kKindCount) return false;
  if (m_kind == kFretboard) {
    m_fretboard = std::make_unique<KFretboard>();
    m_fretboard->Build(state.tuning, state.defaultTuning);
    if (!LoadFretboardPictures()) return false;
  } else {
    if (!LoadPalettePicture("KTB-1")) return false;
    if (m_kind == kKeyboard) {
      m_keyboard = std::make_unique<KPianoKeyboard>();
      if (!LoadPicture(KPianoKeyboard::kMarkPicture, m_mark, "KTB-1")) return false;
    }
  }
  HighlightCurrentSymbol(state);
  return true;
}

bool KToolBox::LoadPalettePicture(const char* failureCode) {
  return LoadPicture(KindInfo(m_kind).pictureId, m_picture, failureCode);
}

bool KToolBox::LoadFretboardPictures() {
  // Loaded aside first: a failure keeps the pictures shown until now.
  CBitmap picture;
  CBitmap strip;
  CBitmap mark;
  if (!LoadPicture(m_fretboard->PictureId(), picture, "KTB-110")) return false;
  const int stripId = m_fretboard->LabelStripId();
  const char* stripCode = stripId == KFretboard::kPlainLabels        ? "KTB-121"
                          : stripId == KFretboard::kDulcimerLabels   ? "KTB-322"
                          : stripId == KFretboard::kMixolydianLabels ? "KTB-323"
                                                                     : "KTB-324";
  if (!LoadPicture(stripId, strip, stripCode)) return false;
  if (!LoadPicture(KFretboard::kMarkPicture, mark, "KTB-111")) return false;
  LoadSymbolResource(m_fretboard->PictureId(), m_picture);
  LoadSymbolResource(stripId, m_labelStrip);
  LoadSymbolResource(KFretboard::kMarkPicture, m_mark);
  return true;
}

SIZE KToolBox::ClientSize() const {
  if (m_fretboard) return m_fretboard->ClientSize();
  const KToolBoxKind& k = KindInfo(m_kind);
  return SIZE{k.pictureWidth, k.pictureHeight};
}

bool KToolBox::Inside(int x, int y) const {
  // The fretboard's label strip belongs to it: a click there is below the
  // strings and beeps.
  const SIZE size = ClientSize();
  return x >= 0 && y >= 0 && x < size.cx && y < size.cy;
}

const std::vector<KInstrumentMark>& KToolBox::Marks() const {
  static const std::vector<KInstrumentMark> none;
  if (m_fretboard) return m_fretboard->Marks();
  if (m_keyboard) return m_keyboard->Marks();
  return none;
}

std::vector<RECT> KToolBox::InvertedRects(const KToolBoxState& state) const {
  std::vector<RECT> rects;
  if (!IsPalette(m_kind)) return rects;
  if (!IsEmpty(m_highlight)) rects.push_back(m_highlight);
  if (!HasControlCells(m_kind)) return rects;
  if (!IsEmpty(m_styleRect)) rects.push_back(m_styleRect);
  if (state.arrowCursor != 0) rects.push_back(ModeRect(m_kind, 0));
  if (state.joinTails != 0) rects.push_back(ModeRect(m_kind, 1));
  if (state.mutualTranslation != 0) rects.push_back(ModeRect(m_kind, 2));
  return rects;
}

void KToolBox::SetCaption(const CString& text) {
  m_caption = text;
  m_host.SetCaption(text);
}

// ---- What the program tells the box ---------------------------------------------------

void KToolBox::HighlightCurrentSymbol(const KToolBoxState& state) {
  m_currentCode = kNoCode;
  if (!IsPalette(m_kind)) return;
  int index = -1;
  if (m_kind != kNoteStyles) {
    index = FindCell(m_kind, state.symbol);
    if (index >= 0 && state.symbol >= 0) m_currentCode = state.symbol;
  }
  m_styleRect = RECT{};
  if (m_kind == kNoteStyles) {
    m_highlight = NoteStyleRect(m_kind, state.noteStyle);
  } else if (HasControlCells(m_kind)) {
    m_styleRect = NoteStyleRect(m_kind, state.noteStyle);
  }
  if (m_currentCode != kNoCode) {
    m_caption = PromptText(m_kind, m_lineClass, m_currentCode, PromptUse::kHighlight);
    m_highlight = CellRect(m_kind, index);
  } else if (m_kind != kNoteStyles) {
    m_highlight = RECT{};
  }
  m_host.Invalidate();
}

void KToolBox::SyncToLineKind(int lineClass, const KToolBoxState& state) {
  if (lineClass >= 3 || lineClass < 0) return;
  if (m_kind == kFretboard) {
    if (lineClass == kClassTab) BuildFretboard(state);
    return;
  }
  const int newClass = lineClass == kClassTab ? kClassTab : kClassOther;
  if (newClass == m_lineClass) return;
  const int twin = TwinForClass(m_kind, newClass);
  if (twin == m_kind) return;
  const bool resize = KindInfo(twin).pictureWidth != KindInfo(m_kind).pictureWidth ||
                      KindInfo(twin).pictureHeight != KindInfo(m_kind).pictureHeight;
  m_lineClass = newClass;
  m_kind = twin;
  m_picture.DeleteObject();
  if (!LoadPalettePicture("KTB-2")) return;
  // The grace-note twins differ in size.
  if (resize) m_host.ResizeClient(ClientSize());
  HighlightCurrentSymbol(state);
}

void KToolBox::BuildFretboard(const KToolBoxState& state) {
  if (!m_fretboard || !m_fretboard->NeedsRebuild(state.tuning)) return;
  // A tuning whose pictures could not be loaded is not tried again on every
  // movement of the pointer.
  if (m_failedTuning == state.tuning) return;
  const SIZE before = ClientSize();
  const KFretboard shown = *m_fretboard;
  if (m_fretboard->Build(state.tuning, state.defaultTuning) && !LoadFretboardPictures()) {
    *m_fretboard = shown;  // the old pictures, their size and their notes stay
    m_failedTuning = state.tuning;
    return;
  }
  m_failedTuning.Empty();
  const SIZE after = ClientSize();
  if (after.cx != before.cx || after.cy != before.cy) m_host.ResizeClient(after);
  m_host.Invalidate();
}

void KToolBox::ShowPlayedNote(int on, int note, int string, int fret, const KToolBoxState& state) {
  if (m_fretboard) {
    if (note >= 0 && on != 0 && string < 0) BuildFretboard(state);
    m_fretboard->ShowPlayedNote(on, note, string, fret);
  } else if (m_keyboard) {
    m_keyboard->ShowPlayedNote(on, note);
  } else {
    return;
  }
  m_host.Invalidate();
}

// ---- The mouse -------------------------------------------------------------------------

int KToolBox::CellCodeAt(int x, int y) const { return toolbox::CellCodeAt(m_kind, x, y); }

int KToolBox::ClickKind(int button, bool doubleClick, unsigned flags) {
  const bool shift = (flags & kToolBoxShift) != 0;
  const bool ctrl = (flags & kToolBoxControl) != 0;
  if (button == 1 && !doubleClick) return ctrl ? (shift ? 5 : 4) : (shift ? 9 : 8);
  if (button == 2 && !doubleClick) return ctrl ? (shift ? 7 : 6) : (shift ? 1 : 0);
  if (button == 1) return ctrl ? 12 : (shift ? 11 : 10);
  return shift ? 3 : 2;
}

bool KToolBox::DefersSingleClicks() const { return !IsPalette(m_kind) && g_offerLineInsertion != 0; }

void KToolBox::OnLButtonDown(int x, int y, unsigned flags, const KToolBoxState& state) {
  if (!IsPalette(m_kind)) {
    Instrument(x, y, ClickKind(1, false, flags), state);
    return;
  }
  if (!Inside(x, y)) return;
  int pick = m_currentCode;
  // The highlighted symbol is entered again; a click elsewhere (or on a
  // style cell, which holds no symbol) picks the cell under the point.
  if (!PointIn(m_highlight, x, y) || m_currentCode == kNoCode) {
    const int code = CellCodeAt(x, y);
    if (code == kNoCode) return;
    if (code < kNotUsed) {
      m_currentCode = code;
      g_toolboxSymbol = code;
      if (code <= kLastNoteValue) g_CurrentNoteCode = code;
      m_highlight = CellRect(m_kind, FindCell(m_kind, code));
      SetCaption(PromptText(m_kind, m_lineClass, code, PromptUse::kClick));
    } else if (code >= kFirstNoteStyle && code <= kLastNoteStyle) {
      if (m_kind == kNoteStyles) {
        m_highlight = NoteStyleRect(m_kind, code - kFirstNoteStyle);
      } else {
        m_styleRect = NoteStyleRect(m_kind, code - kFirstNoteStyle);
      }
    }
    pick = code;
    m_host.Invalidate();
  }
  m_host.Pick(pick, m_kind == kAlternate || m_kind == kAlternateTab ? 1 : 0, 0, 0, 0);
}

void KToolBox::OnRButtonDown(int x, int y, unsigned flags, const KToolBoxState& state) {
  if (!IsPalette(m_kind)) Instrument(x, y, ClickKind(2, false, flags), state);
}

void KToolBox::OnLButtonDblClk(int x, int y, unsigned flags, const KToolBoxState& state) {
  if (!IsPalette(m_kind)) {
    Instrument(x, y, ClickKind(1, true, flags), state);
    return;
  }
  // On a palette the second click of a quick pair enters the symbol again,
  // as every click does.
  OnLButtonDown(x, y, flags, state);
}

void KToolBox::OnRButtonDblClk(int x, int y, unsigned flags, const KToolBoxState& state) {
  if (!IsPalette(m_kind)) Instrument(x, y, ClickKind(2, true, flags), state);
}

void KToolBox::Instrument(int x, int y, int clickKind, const KToolBoxState& state) {
  if (!Inside(x, y)) return;
  if (m_keyboard) {
    m_keyboard->MarkClick(x, y);
    m_host.Invalidate();
    m_host.Pick(KPianoKeyboard::NoteAt(x, y), kKeyboard, clickKind, 0, 0);
    return;
  }
  if (!m_fretboard) return;
  BuildFretboard(state);
  m_fretboard->ClearMarks();
  m_host.Invalidate();
  KFretboard::Spot spot;
  if (!m_fretboard->NoteAt(x, y, spot)) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  m_fretboard->MarkClick(spot);
  m_host.Pick(spot.note, kFretboard, clickKind, spot.slot, spot.fret);
}

void KToolBox::OnMouseMove(int x, int y, bool inside, const KToolBoxState& state) {
  if (!inside || !Inside(x, y)) {
    SetCaption(IdleText(m_kind));
    return;
  }
  if (m_keyboard) {
    SetCaption(KPianoKeyboard::HoverText(x, y, LoadString(kKeyboardPrompt)));
    return;
  }
  if (m_fretboard) {
    BuildFretboard(state);
    CString text;
    if (m_fretboard->HoverText(x, y, LoadString(kFretboardPrompt), text)) SetCaption(text);
    return;
  }
  const int code = CellCodeAt(x, y);
  if (code != kNoCode) SetCaption(PromptText(m_kind, m_lineClass, code, PromptUse::kHover));
}

void KToolBox::OnNcMouseMove() {
  if (HasControlCells(m_kind) || !IsPalette(m_kind)) SetCaption(IdleText(m_kind));
}
