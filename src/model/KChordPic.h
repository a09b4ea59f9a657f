#pragma once
// KChordPic: one chord of a chord-diagram line: a chord name written over the
// music and, under it, an optional fretboard diagram described by a shape
// string. It stands at a column like every positioned object and keeps the
// bitmap of its last drawn diagram, which the chord-diagram line draws and
// replaces.
//
// Shape string: 20 characters for a 6-string diagram, longer ones describe 7-
// and 8-string diagrams. Characters 7 to 14 hold a finger label (blank-padded);
// character 14 + i holds "1" when flag i is set.
//
// Record after the position word:
//   name      string
//   setting   BYTE    the low byte of the setting; read back as a signed byte.
//                     A newer program may put an extension block (marker 250,
//                     count, bytes) in front of it; this one knows none of its
//                     bytes and skips them after the once-per-run warning.
//   shape     string
// After a store and after a load alike, a shape shorter than 7 characters or a
// setting below 1 makes the object in memory take the default shape and
// setting 1 (the written record keeps the values as they were).

#include <memory>

#include "model/KPosObj.h"
#include "platform/CString.h"

class CArchive;
class CBitmap;
class CDC;

class KChordPic : public KPosObj {
  DECLARE_SERIAL(KChordPic);

 public:
  static constexpr const char* kDefaultShape = "0000000          000";
  // Shapes shorter than this are replaced by the default shape.
  static constexpr int kMinShapeLength = 7;
  // Shapes of at least this length carry the finger label and the flags.
  static constexpr int kFullShapeLength = 20;

  // The archive's: position 0, empty name and shape, setting 0.
  KChordPic();
  KChordPic(int pos, const CString& name, const CString& shape, int setting);
  KChordPic(const KChordPic&) = delete;
  KChordPic& operator=(const KChordPic&) = delete;
  ~KChordPic() override;

  CString GetName() const { return m_name; }
  CString GetShape() const { return m_shape; }
  // The integer stored after the name in the file.
  int GetSetting() const { return m_setting; }
  // The last drawn diagram (owned by the object); null until first drawn.
  CBitmap* GetDiagramObj() const { return m_image.get(); }
  // The display value; the line draws diagrams whose value is not 1 with it.
  int GetValue() const { return m_displayValue; }
  void SetValue(int value) { m_displayValue = value; }
  // 1 when the last drawing came from a named picture.
  int IsPicture() const { return m_isPicture; }

  // With explicitOnly set and no explicit width: -1. Otherwise the explicit
  // width when above 0, else 8 pixels per character of the name.
  int GetWidth(int explicitOnly) const;
  // -1 asks for the width computed from the name.
  void SetWidth(int pixels) { m_width = pixels; }
  // Shape characters 7 to 14 without trailing blanks; empty for a shape
  // shorter than 20 characters.
  CString GetFingerLabel() const;
  // 1 when the shape has at least 20 characters and "1" at 14 + i, else 0.
  int IsShapeFlagSet(int i) const;

  // Width of the drawn diagram in pixels: 91 for a picture, 54 for an empty
  // shape, else the width of the shape's diagram.
  int GetDiagramSize() const;
  // Rebuilds the diagram bitmap for dc (three times larger on the device
  // path). With a picture name, the 91 x 36 keyboard picture of the shape on
  // the tuning pictureArg (the current tuning when empty); otherwise the
  // fretboard diagram, blank when the name contains "Blank", "BLANK" or
  // "blank". Defined in KChordPicDraw.cpp.
  void DrawDiagram(CDC* dc, const CString& pictureName, const CString& pictureArg);

  void Serialize(CArchive& ar) override;

 private:
  // The default shape with setting 1 when the shape is too short or the
  // setting below 1.
  void Normalise();

  CString m_shape;
  int m_setting = 0;
  CString m_name;
  std::unique_ptr<CBitmap> m_image;
  int m_displayValue = 1;
  int m_isPicture = 0;
  int m_width = -1;
};
