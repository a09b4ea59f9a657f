#pragma once
// The pictures that the chord dialogs draw into their bitmaps: a canvas that
// holds a bitmap selected in a memory device context, and the chord as a
// tablature column and as notes on a staff.

#include <memory>

#include "platform/CDC.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"

class KChord;

// A white bitmap of the size, selected in a memory device context made from
// the UI port's picture context, for the life of the canvas. Without one (a
// port without windows) Dc() is null and nothing is drawn.
class KPictureCanvas {
 public:
  KPictureCanvas(CBitmap& bitmap, int width, int height);
  ~KPictureCanvas();
  KPictureCanvas(const KPictureCanvas&) = delete;
  KPictureCanvas& operator=(const KPictureCanvas&) = delete;
  CDC* Dc() const { return m_memory.get(); }

 private:
  std::unique_ptr<CDC> m_base;
  std::unique_ptr<CDC> m_memory;
  CBitmap* m_old = nullptr;
  CFont m_font;
  CFont* m_oldFont = nullptr;
};

// The fret numbers of a tablature column on string lines 12 pixels apart.
void DrawTabColumnPicture(CDC& dc, const KChord& tab, int strings, int width, int height);
// The notes of a staff column on a treble staff, with the duration's stem
// and flag (odd durations stem down, 12 the whole note without a stem).
void DrawStaffColumnPicture(CDC& dc, const KChord& staff, int width, int height, int duration);

// Draws the chord diagram of the shape in the middle of a picture of the
// size, clear of a frame of `margin` pixels round it (a tall diagram keeps to
// the top), so that its markers over the nut and its dots on the outer
// strings are whole.
void DrawCentredChordDiagram(CDC& dc, const CString& shape, bool blank, int width, int height, int margin);

// The ways the chord dialogs show a chord in a cell: a diagram, notes on a
// staff, keys of a keyboard.
enum class ChordPictureMode { kGrids = 0, kNotes = 1, kKeyboard = 2 };
// Draws the shape at (x, y) in the mode: the notes on a staff the width
// given, the keyboard and diagram at their own size.
void DrawChordInMode(CDC& dc, ChordPictureMode mode, const CString& shape, const CString& tuning, int x,
                     int y, int width);

// The size of a cell showing a chord in the mode (a diagram cell is the size
// given), and the instrument its chords are heard on: a diagram cell plays
// them on the guitar, a keyboard cell on the piano, a notes cell keeps the
// instrument chosen before.
struct ChordCellSize {
  int width = 0;
  int height = 0;
};
ChordCellSize ChordCellInMode(int mode, int gridWidth, int gridHeight);
