#pragma once
// The drawing objects that device contexts select: pens, brushes, fonts,
// bitmaps and clip regions, with their description records (LOGFONT, LOGPEN,
// LOGBRUSH, BITMAP) and the stock objects every device context starts with.
//
// An object is "created" once one of its Create calls succeeded; an object that
// was never created (or whose creation failed) selects nothing. Device contexts
// copy what they need from a pen, brush or font when it is selected, so
// changing or destroying the object afterwards cannot corrupt a drawing.
// Bitmap pixels are shared with the device context that has the bitmap
// selected, and stay alive while it is selected.

#include <memory>
#include <string>
#include <string_view>

#include "platform/GdiConstants.h"
#include "platform/Geometry.h"
#include "platform/PixelSurface.h"
#include "platform/WinTypes.h"

class CDC;

constexpr int LF_FACESIZE = 32;

// A font description. Its text form (thirteen numbers and the face name) is
// what score files and settings store. lfEscapement never turns text in this
// program: several owners keep a text colour in it.
struct LOGFONT {
  LONG lfHeight = 0;  // > 0: cell height in pixels; < 0: character height (cell - internal leading)
  LONG lfWidth = 0;   // average character width; 0 = the face's natural width
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = 0;  // 0 = normal, 400 normal, 700 bold
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = 0;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  char lfFaceName[LF_FACESIZE] = {};

  bool operator==(const LOGFONT&) const = default;
};
using LPLOGFONT = LOGFONT*;

// Copies a face name into the record, cut to 31 bytes and zero-terminated.
void SetFaceName(LOGFONT& font, std::string_view face);
std::string_view FaceNameOf(const LOGFONT& font);
// Equal in every field, the face name compared up to its terminator.
bool SameLogFont(const LOGFONT& a, const LOGFONT& b);

// The measures of the selected font, in pixels.
struct TEXTMETRIC {
  LONG tmHeight = 0;  // cell height = tmAscent + tmDescent
  LONG tmAscent = 0;
  LONG tmDescent = 0;
  LONG tmInternalLeading = 0;  // cell height - character (em) height
  LONG tmExternalLeading = 0;  // extra space the face asks for between lines
  LONG tmAveCharWidth = 0;
  LONG tmMaxCharWidth = 0;
  LONG tmWeight = 0;
  LONG tmOverhang = 0;
  BYTE tmItalic = 0;
  BYTE tmUnderlined = 0;
  BYTE tmStruckOut = 0;
  BYTE tmPitchAndFamily = 0;
  BYTE tmCharSet = 0;
};

struct LOGPEN {
  UINT lopnStyle = PS_SOLID;
  POINT lopnWidth;  // x holds the width; 0 and 1 both mean one pixel
  COLORREF lopnColor = 0;
};

struct LOGBRUSH {
  UINT lbStyle = BS_SOLID;
  COLORREF lbColor = 0;
  LONG lbHatch = 0;
};

// What GetObject reports of a bitmap.
struct BITMAP {
  LONG bmType = 0;
  LONG bmWidth = 0;
  LONG bmHeight = 0;
  LONG bmWidthBytes = 0;  // bytes per row as GetBitmapBits gives them (rows padded to 2 bytes)
  WORD bmPlanes = 1;
  WORD bmBitsPixel = 1;
  void* bmBits = nullptr;
};

enum class GdiKind { Pen, Brush, Font, Bitmap, Region };

class CGdiObject {
 public:
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;
  virtual ~CGdiObject() = default;

  GdiKind Kind() const { return m_kind; }
  // Non-null while the object is created; usable as an identity, never dereferenced.
  const void* GetSafeHandle() const { return m_created ? this : nullptr; }
  bool IsStock() const { return m_stock; }

  // Forgets the object's description. Stock objects stay; a bitmap selected
  // into a device context is not deleted (FALSE), as the pixels are in use.
  virtual BOOL DeleteObject();

 protected:
  explicit CGdiObject(GdiKind kind) : m_kind(kind) {}
  // Marks the object created unless an injected failure is pending (GdiFaults.h).
  bool BeginCreate();
  void MarkStock() { m_created = m_stock = true; }

  GdiKind m_kind;
  bool m_created = false;
  bool m_stock = false;
};

class CPen : public CGdiObject {
 public:
  CPen() : CGdiObject(GdiKind::Pen) {}
  CPen(int style, int width, COLORREF color);  // stays uncreated when creation fails

  BOOL CreatePen(int style, int width, COLORREF color);
  BOOL CreatePenIndirect(const LOGPEN* pen);
  int GetLogPen(LOGPEN* pen) const;
  const LOGPEN& Data() const { return m_pen; }

 private:
  friend CPen* StockPen(int index);
  LOGPEN m_pen;
};

class CBrush : public CGdiObject {
 public:
  CBrush() : CGdiObject(GdiKind::Brush) {}
  explicit CBrush(COLORREF color);  // stays uncreated when creation fails

  BOOL CreateSolidBrush(COLORREF color);
  BOOL CreateBrushIndirect(const LOGBRUSH* brush);
  int GetLogBrush(LOGBRUSH* brush) const;
  const LOGBRUSH& Data() const { return m_brush; }

 private:
  friend CBrush* StockBrush(int index);
  LOGBRUSH m_brush;
};

class CFont : public CGdiObject {
 public:
  CFont() : CGdiObject(GdiKind::Font) {}

  BOOL CreateFontIndirect(const LOGFONT* font);
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                  BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                  BYTE quality, BYTE pitchAndFamily, LPCTSTR faceName);
  int GetLogFont(LOGFONT* font) const;
  const LOGFONT& Data() const { return m_font; }

 private:
  friend CFont* StockFont(int index);
  LOGFONT m_font;
};

// A bitmap owns its pixels: 1 bit per pixel (monochrome) or 32 (colour).
class CBitmap : public CGdiObject {
 public:
  CBitmap() : CGdiObject(GdiKind::Bitmap) {}

  // A bitmap of the given size. One plane and 1 bit per pixel make a
  // monochrome bitmap, anything else a colour one. bits, when given, holds the
  // rows top first in GetBitmapBits' layout for that depth (monochrome rows
  // padded to 2 bytes; colour 24 bits B,G,R or 32 bits B,G,R,unused per
  // pixel); other depths with bits fail. Fails for sizes that are not positive
  // or too large to hold.
  BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPixel, const void* bits);
  // A bitmap in the format of what dc draws on: colour for a colour device,
  // monochrome for a memory device context holding a monochrome bitmap.
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);

  int GetBitmap(BITMAP* info) const;
  int GetObject(int size, void* buffer) const;
  CSize GetSize() const;

  // The pixels in the classic device-dependent layout: rows top first, each
  // padded to 2 bytes; monochrome 1 bit per pixel (MSB first, 1 = white),
  // colour 4 bytes B,G,R,0 per pixel. Copy at most count bytes; return the
  // number copied.
  DWORD GetBitmapBits(DWORD count, void* bits) const;
  DWORD SetBitmapBits(DWORD count, const void* bits);

  BOOL DeleteObject() override;

  // A name for recorded drawing and diagnostics (for example the resource id
  // the pixels came from).
  void SetLabel(std::string label) { m_label = std::move(label); }
  const std::string& GetLabel() const { return m_label; }

  // The pixels, shared with a device context that has the bitmap selected.
  const std::shared_ptr<BitmapData>& Pixels() const { return m_pixels; }

 private:
  friend CBitmap* StockBitmap();
  std::shared_ptr<BitmapData> m_pixels;
  std::string m_label;
};

// A rectangular clip region, in device coordinates.
class CRgn : public CGdiObject {
 public:
  CRgn() : CGdiObject(GdiKind::Region) {}

  BOOL CreateRectRgn(int left, int top, int right, int bottom);
  BOOL CreateRectRgnIndirect(LPCRECT rect);
  void SetRectRgn(int left, int top, int right, int bottom);
  int GetRgnBox(LPRECT rect) const;
  int OffsetRgn(int dx, int dy);
  BOOL PtInRegion(int x, int y) const;
  const CRect& Box() const { return m_box; }

 private:
  CRect m_box;
};

// The stock objects, owned by the program and never deleted. Unknown indexes
// give null.
CPen* StockPen(int index);      // WHITE_PEN, BLACK_PEN, NULL_PEN
CBrush* StockBrush(int index);  // WHITE_BRUSH .. NULL_BRUSH
CFont* StockFont(int index);    // OEM_FIXED_FONT .. DEFAULT_GUI_FONT
CBitmap* StockBitmap();         // the 1 x 1 monochrome bitmap of a new memory device context
CGdiObject* GetStockObject(int index);
