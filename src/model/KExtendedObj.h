#pragma once
// KExtendedObj: an object attached to a line beside its columns: ties and
// slurs, tuplet numbers, hairpins, lines and V-shapes, bracket lines, double
// bars, text boxes and web links. It is anchored to a column (pos) and a row of
// the line (a staff step or a tablature string row), lies at a pixel offset
// from that anchor (pixels at the normal symbol size), has a kind that decides
// its shape, and may carry a text with its own font, an opaque-background flag
// and a link target.
//
// Kinds:
//   < 0         nothing drawn
//   0, 1        tie, slur: a curve through two control points (point0, point1)
//   2           numbered bracket (tuplet number); text = sign character + number
//   3           text box; its extent is the measured extent of its text
//   4, 5        crescendo, decrescendo hairpin
//   6           line or V through a middle point (the anchor); the default kind
//   7..20       bracket lines with or without hooks (14..20 dashed;
//               10, 11, 12, 17, 18, 19 reversed)
//   21          double bar line with end bars
//   22..24      bracket lines with a bottom line
//
// Two stored forms carry the same fields: the archive record (Serialize) and
// the packed word record that text lines keep (Pack and the packed-record
// constructor). In both, the geometry of kinds 0, 1 and 6 travels as a coded
// text and the text, opaque flag, font text and link target of the other kinds
// as one composed text (see KExtendedObjText.cpp).
//
// The class's jobs are split over several files: KExtendedObj.cpp (construction,
// accessors, kinds), KExtendedObjFont.cpp (font, colour, link and text extent),
// KExtendedObjText.cpp (the coded and composed texts), KExtendedObjSerialize.cpp
// (the archive record), KExtendedObjPack.cpp (the packed word record),
// KExtendedObjPlace.cpp (placement, grips, covered rectangle),
// KExtendedObjPlaceDrag.cpp (mouse drags) and KExtendedObjDraw*.cpp (drawing).

#include <cstdint>
#include <span>
#include <vector>

#include "model/KPosObj.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"
#include "platform/Geometry.h"
#include "platform/WinTypes.h"

class CArchive;
class CDC;

class KExtendedObj : public KPosObj {
  DECLARE_SERIAL(KExtendedObj);

 public:
  // Kind codes with a rule of their own in the model.
  static constexpr int kTie = 0;
  static constexpr int kSlur = 1;
  static constexpr int kNumberedBracket = 2;
  static constexpr int kTextBox = 3;
  static constexpr int kCrescendo = 4;
  static constexpr int kDecrescendo = 5;
  static constexpr int kLineOrV = 6;
  static constexpr int kFirstBracketLine = 7;
  static constexpr int kLastBracketLine = 24;
  static constexpr int kDoubleBar = 21;
  // A text box draws its text this far left of and above its place.
  static constexpr int kTextBoxShiftX = -3;
  static constexpr int kTextBoxShiftY = -7;
  // Rows that MoveRow accepts: 0..36, and 0..9 on lines of the tablature family.
  static constexpr int kMaxRow = 36;
  static constexpr int kMaxTabRow = 9;
  static constexpr int kTabFamily = 2;
  // Text colours of links.
  static constexpr COLORREF kLinkColor = 0xFF0000;
  static constexpr COLORREF kVisitedLinkColor = 0xBB00BB;

  // Kind 6, everything else 0 or empty (the archive's and the view's).
  KExtendedObj();
  // Fields as passed. With a rectangle, its left/top and right/bottom become
  // point0 and point1; without one, kinds 0 and 1 get point0 =
  // (sizeX / 3, anchorY) and point1 = (2 sizeX / 3, anchorY). Kinds 7..9 with
  // sizeY 0 get 13; kind 2 with an empty text gets "-3". Then SetFontText.
  KExtendedObj(int pos, int row, int kind, int anchorX, int anchorY, int sizeX, int sizeY, int offsetX,
               int offsetY, const CString& text, const CString& fontText, const CString& linkTarget,
               const RECT* points = nullptr);
  // A text box: offsets, sizes and points 0, the font from the font text, then
  // the size grown to the text's extent measured on dc (estimated without one):
  // width + 4 when sizeX is smaller, the height when sizeY is smaller.
  KExtendedObj(CDC* dc, int pos, int row, int kind, const CString& text, const CString& fontText);
  // A text object: kind 3, the rest 0, the font from the font text.
  KExtendedObj(int pos, int row, const CString& text, const CString& fontText);
  // Pure geometry, no texts, offsets 0. Kinds 0 and 1 get their control points
  // a half of the smaller of (sizeX - anchorX) and anchorX each side of the
  // anchor; kinds 7..9 with sizeY 0 get 13; kind 2 gets the text "-3".
  KExtendedObj(int pos, int row, int kind, int anchorX, int anchorY, int sizeX, int sizeY);
  // Reads one packed record (the words Pack returns). Throws CArchiveException
  // (generic) when the record is shorter than its header or its text length
  // says: the words come from a file.
  explicit KExtendedObj(std::span<const std::int32_t> packed);
  // Copies every field; the font is made again from the font text.
  KExtendedObj(const KExtendedObj& other);
  KExtendedObj& operator=(const KExtendedObj& other) { return CopyFrom(other); }
  ~KExtendedObj() override = default;

  KExtendedObj& CopyFrom(const KExtendedObj& other);
  // Whether the other is the same attachment but for its row: the copy that a
  // partner line of another kind holds of it (column, kind, geometry, texts,
  // font, opaque flag and link all equal).
  bool SameButRow(const KExtendedObj& other) const;

  // ---- Geometry -------------------------------------------------------------
  int GetRow() const { return m_row; }
  void SetRow(int row) { m_row = row; }
  // The row moved by delta, refused (0, nothing changes) below 0, above 36, or
  // above 9 on a line of the tablature family (family code 2); else 1.
  int MoveRow(int delta, int lineFamily);
  int GetKind() const { return m_kind; }
  // Converts among the bracket kinds 7..24 only: a move across the reversed
  // group flips the height (offsetY += sizeY, sizeY = -sizeY); kinds 13, 20
  // and 21 are set as they are.
  void ChangeKind(int kind);
  // The bracket kinds drawn upside down (10, 11, 12, 17, 18, 19).
  static bool IsReversedBracket(int kind);

  CPoint GetAnchor() const { return {m_anchorX, m_anchorY}; }
  void SetAnchor(int x, int y) { m_anchorX = x, m_anchorY = y; }
  CSize GetSize() const { return {m_sizeX, m_sizeY}; }
  // A width of 0 or less becomes 5; the height is kept as passed.
  void SetSize(int cx, int cy);
  CPoint GetOffset() const { return {m_offsetX, m_offsetY}; }
  void SetOffset(int x, int y) { m_offsetX = x, m_offsetY = y; }
  // End point 0 or 1 of the curve kinds (any other index reads point 1).
  CPoint GetPoint(int index) const;
  void SetPoint(int index, int x, int y);

  // ---- Text, font and link --------------------------------------------------
  const CString& GetText() const { return m_text; }
  // Stores the text; a non-empty text without a font text takes the default
  // font text of its kind (the number font for kind 2, the text font else).
  void SetText(const CString& text);
  const CString& GetFontText() const { return m_fontText; }
  // Ignored when empty. Otherwise stores it and makes the font and the colour
  // from it (a link underlines and takes the link colour).
  void SetFontText(const CString& fontText);
  int GetOpaque() const { return m_opaque; }
  void SetOpaque(int opaque) { m_opaque = opaque ? 1 : 0; }
  // The name the view's text command uses for the opaque flag.
  void SetBold(int opaque) { SetOpaque(opaque); }
  const CString& GetLinkTarget() const { return m_linkTarget; }
  // Ignored when empty. A target shorter than 5 characters, or one holding
  // neither "www." nor "ftp.", gets "www." in front. Makes the font again.
  void SetLinkTarget(const CString& target);
  int IsVisited() const { return m_visited; }
  // Makes the font again (visited colour) when the flag turns on.
  void SetVisited(int visited);
  // Text colour (0x00BBGGRR): from the font text, or the link colours.
  COLORREF GetColor() const { return m_color; }
  // The font made from the font text, or null when there is none yet.
  CFont* GetFont() const { return m_fontPtr; }
  // Makes the font from the font text when it does not exist yet (as
  // SetFontText does); returns it, or null without a usable font text.
  CFont* EnsureFont();

  // ---- Measuring ------------------------------------------------------------
  // The text's extent: measured with the font on dc when there is a dc and a
  // font (made first from the font text when needed); otherwise estimated from
  // the font height h (the font text's first number, 13 when it lies outside
  // 2..50 or is missing): width = length x h x 3 / 8, height = h.
  CSize TextExtent(CDC* dc);
  // Kind 3: the text extent; other kinds: (sizeX, sizeY).
  CSize GetExtent(CDC* dc);
  // Kind 3: the width of the text extent; other kinds: sizeX.
  int MeasureText(CDC* dc);

  // ---- Placement, grips and drawing (KExtendedObjPlace*.cpp, KExtendedObjDraw*.cpp)
  // The lines pass their line type, the pixel x of the attachment's column, the
  // pixel y of their drawing top and the size index (0 normal, 1 large); see
  // KExtendedObjPlace.h for where the attachment lies from there.
  //
  // Draws the attachment in black with the scaled primitives (screen, printer
  // or device-resolution export), its text in its font and colour. A slur
  // without points and a numbered bracket without text take their defaults
  // first. When the pen cannot be made, reports 7008 "OC2-2" (screen) or
  // "OC2-1" once per run and draws nothing. The device context's pen, font and
  // text colour come back as they were; the background mode ends OPAQUE.
  void Draw(CDC* dc, int lineType, int x, int y, int sizeIndex);
  // The two 3 x 3 grips: on the end points, or both on the anchor of a line
  // or V (kind 6). Returns 1.
  int GetHandleRects(CRect& first, CRect& second, int lineType, int x, int y, int sizeIndex);
  // The two end handles the mouse drags on a tie, slur or line/V (kinds 0, 1
  // and 6): each grip of GetHandleRects grown by kHandleMargin on every side,
  // so that a pointer can take hold of it. Returns 1; other kinds have no
  // handles and get two empty rectangles and 0 (KExtendedObjHandles.cpp).
  static constexpr int kHandleMargin = 2;
  int HitTestHandle(CRect& first, CRect& second, int lineType, int top, int x, int sizeIndex);
  // Which handle holds the point: 0 the first, 1 the second, -1 neither (the
  // first wins where they overlap).
  static int HandleAtPoint(const CRect& first, const CRect& second, CPoint point);
  // Moves grip 0 or 1 (end point 0 or 1, or the anchor of kind 6) by the
  // mouse movement from `from` to `to` on screen, taken back to the stored
  // scale (x 9 / 11 at size 1), so that the grip follows the pointer.
  // Returns 1.
  int MoveHandleBy(int grip, CPoint from, CPoint to, int sizeIndex);
  // The rectangle the attachment covers (hit testing and redrawing),
  // normalised and at least 4 pixels wide and high; dc measures a text box's
  // text (estimated without one).
  void GetScreenRect(CRect& rect, CDC* dc, int lineType, int x, int y, int sizeIndex);
  // The rectangle a text box's text covers as Draw puts it at (x, y) on a line
  // of the type: the text's extent measured on dc.
  CRect GetDrawnTextRect(CDC* dc, int lineType, int x, int y, int sizeIndex);
  // Applies a mouse drag that took the covered rectangle from `before` to
  // `after`: an unchanged size moves the attachment, a changed one reshapes it
  // by its kind's rules. Returns 1, or 0 when the kind refuses (a text box
  // keeps its size).
  int DragTo(const RECT& before, const RECT& after);

  // ---- Stored forms ---------------------------------------------------------
  // The packed word record: kind, pos, row, anchorX, anchorY, sizeX, sizeY, n,
  // then the n text bytes four to a word, first byte highest (a last partial
  // word holds its bytes in its low bytes). 8 + (n + 3) / 4 words.
  std::vector<std::int32_t> Pack();
  // The number of words of the packed record that starts at words[0], or -1
  // when the words do not hold a whole header.
  static int PackedLength(std::span<const std::int32_t> words);
  void Serialize(CArchive& ar) override;

  // The texts that travel in the stored forms (KExtendedObjText.cpp); public
  // for the line code that stores attachments and for tests.
  // Kinds 0 and 1: offsets and both points as a 34-byte text without zero
  // bytes. Kind 6: the offsets as two bytes.
  CString EncodeGeometry() const;
  // The inverse of EncodeGeometry for kinds 0, 1 and 6; then the text is
  // cleared. A text shorter than the form leaves the missing values 0.
  void DecodeGeometry(const CString& coded);
  // The text, opaque flag, font text and link target in one text.
  CString ComposeText() const;
  // Takes a composed text apart into text, opaque flag, font text and link
  // target, makes the font and raises g_coloredText for a coloured text.
  void DecomposeText(const CString& composed);

 private:
  // Kinds whose anchor travels as the offset in the stored forms.
  bool AnchorIsOffset() const { return m_kind < 0 || (m_kind >= 2 && m_kind != kLineOrV); }
  bool IsCurve() const { return m_kind == kTie || m_kind == kSlur; }
  bool HasCodedGeometry() const { return IsCurve() || m_kind == kLineOrV; }
  // The text the stored forms carry in their text field.
  CString StoredText() const;
  // Fills the fields read from either stored form, after the fixed fields and
  // the text were read: offsets, points, anchor and the composed text.
  void FinishLoad(const CString& stored, bool checkVersion);
  // (Re)makes m_font from m_fontText with the link underline and colours.
  void MakeFont();
  void DeleteFont();
  // Kinds 7..9 with sizeY 0 get 13; kind 2 with an empty text gets "-3".
  void ApplyKindDefaults();

  int m_row = 0;
  int m_kind = kLineOrV;
  int m_anchorX = 0;
  int m_anchorY = 0;
  int m_sizeX = 0;
  int m_sizeY = 0;
  int m_offsetX = 0;
  int m_offsetY = 0;
  int m_point0X = 0;
  int m_point0Y = 0;
  int m_point1X = 0;
  int m_point1Y = 0;
  CString m_text;
  CString m_fontText;
  int m_opaque = 0;
  CFont m_font;
  CFont* m_fontPtr = nullptr;
  CString m_linkTarget;
  int m_visited = 0;
  COLORREF m_color = 0;
};
