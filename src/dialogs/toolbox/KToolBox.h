#pragma once
// KToolBox: one symbol toolbox, Qt-free. A palette of symbol cells (18
// kinds), the fretboard (kind 17) or the piano keyboard (kind 18). It keeps
// which cell is highlighted for the current symbol and note style, the
// caption, its picture, and the twin it shows (staff or tablature); it turns
// clicks into picks and the pointer's place into captions. Its window
// (KToolBoxHost) paints the picture with the rectangles this asks to be
// inverted and the marks, and hands each pick to the active score view.

#include <memory>
#include <vector>

#include "dialogs/toolbox/KInstrumentPictures.h"
#include "dialogs/toolbox/ToolBoxState.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"
#include "platform/Geometry.h"

// What a toolbox needs of its window and of the program around it.
class KToolBoxHost {
 public:
  virtual ~KToolBoxHost() = default;
  // The picture changed size (another grace-note twin, a rebuilt fretboard):
  // the window's client area becomes this size.
  virtual void ResizeClient(SIZE client) = 0;
  // Paint again (the highlight, the marks or the picture changed).
  virtual void Invalidate() = 0;
  virtual void SetCaption(const CString& text) = 0;
  // A pick for the active score view (code, box kind 0 palette / 1 the
  // alternate palettes / 17 fretboard / 18 keyboard, note value, string,
  // fret); the view gets the keyboard focus back afterwards.
  virtual void Pick(int code, int boxKind, int noteValue, int string, int fret) = 0;
};

// Mouse buttons and keys of a click (the framework's MK_ flags).
inline constexpr unsigned kToolBoxShift = 0x0004;
inline constexpr unsigned kToolBoxControl = 0x0008;

class KToolBox {
 public:
  // A box of the kind; lineClass is the class of the caret's line (2
  // tablature, 0 any other): a palette with a tablature twin shows the twin
  // of that class. Nothing is loaded until CreatePalette.
  KToolBox(int kind, int lineClass, KToolBoxHost& host);

  // Loads the pictures and shows the highlight. False when a picture is
  // missing (internal error 7009 reported with "KTB-1", or "KTB-110".. for
  // the fretboard's); the caller then says "Unable to create toolbox.".
  bool CreatePalette(const KToolBoxState& state);

  int Kind() const { return m_kind; }
  int LineClass() const { return m_lineClass; }
  int CurrentCode() const { return m_currentCode; }
  const CString& Caption() const { return m_caption; }
  SIZE ClientSize() const;

  // ---- Painting --------------------------------------------------------------------
  const CBitmap& Picture() const { return m_picture; }
  // The fretboard's fret-number strip (drawn below the picture) and the
  // mark of both instruments.
  const CBitmap& LabelStrip() const { return m_labelStrip; }
  const CBitmap& MarkPicture() const { return m_mark; }
  // The cells to draw inverted over the picture: the current symbol, the
  // note style, and the mode cells that are on.
  std::vector<RECT> InvertedRects(const KToolBoxState& state) const;
  const std::vector<KInstrumentMark>& Marks() const;
  RECT HighlightRect() const { return m_highlight; }
  RECT StyleRect() const { return m_styleRect; }

  // ---- What the program tells the box --------------------------------------------------
  // The current symbol or note style changed: moves the highlight.
  void HighlightCurrentSymbol(const KToolBoxState& state);
  // The caret is on a line of the class (the line's family: 2 tablature;
  // 3 and more change nothing). Staff and tablature twins swap; the
  // fretboard is drawn again for another tuning.
  void SyncToLineKind(int lineClass, const KToolBoxState& state);
  // Playback marks (fretboard and keyboard; see KFretboard::ShowPlayedNote).
  void ShowPlayedNote(int on, int note, int string, int fret, const KToolBoxState& state);
  // The fretboard is drawn for the state's tuning when that changed.
  void BuildFretboard(const KToolBoxState& state);

  // ---- The mouse ------------------------------------------------------------------------
  // The code under a point of the picture; kNoCode on the instruments.
  int CellCodeAt(int x, int y) const;
  // A left click on a palette picks its cell; on the instruments a click of
  // the button and keys picks the note (flags: kToolBoxShift, kToolBoxControl).
  void OnLButtonDown(int x, int y, unsigned flags, const KToolBoxState& state);
  void OnRButtonDown(int x, int y, unsigned flags, const KToolBoxState& state);
  void OnLButtonDblClk(int x, int y, unsigned flags, const KToolBoxState& state);
  void OnRButtonDblClk(int x, int y, unsigned flags, const KToolBoxState& state);
  // The pointer over the picture (inside true) or elsewhere in the window.
  void OnMouseMove(int x, int y, bool inside, const KToolBoxState& state);
  // The pointer over the frame or the caption.
  void OnNcMouseMove();
  // Whether a single click waits for a possible double click first (the
  // instruments, while their picks enter notes).
  bool DefersSingleClicks() const;

  // The note value a click gives (a note symbol code, even = stem up).
  static int ClickKind(int button, bool doubleClick, unsigned flags);

 private:
  bool LoadPalettePicture(const char* failureCode);
  bool LoadFretboardPictures();
  void Instrument(int x, int y, int clickKind, const KToolBoxState& state);
  void SetCaption(const CString& text);
  bool Inside(int x, int y) const;

  KToolBoxHost& m_host;
  int m_kind;
  int m_lineClass;
  int m_currentCode;
  CBitmap m_picture;
  CBitmap m_labelStrip;
  CBitmap m_mark;
  RECT m_highlight{};
  RECT m_styleRect{};
  CString m_caption;
  CString m_failedTuning;  // the fretboard's pictures for it could not be loaded
  std::unique_ptr<KFretboard> m_fretboard;
  std::unique_ptr<KPianoKeyboard> m_keyboard;
};
