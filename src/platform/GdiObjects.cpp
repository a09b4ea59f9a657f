#include "platform/GdiObjects.h"

#include <algorithm>
#include <cstring>

#include "platform/CDC.h"
#include "platform/GdiFaults.h"

void SetFaceName(LOGFONT& font, std::string_view face) {
  const size_t n = std::min(face.size(), static_cast<size_t>(LF_FACESIZE - 1));
  std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), '\0');
  std::copy_n(face.data(), n, font.lfFaceName);
}

std::string_view FaceNameOf(const LOGFONT& font) {
  return {font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE)};
}

bool SameLogFont(const LOGFONT& a, const LOGFONT& b) {
  return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
         a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
         a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
         a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
         a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
         FaceNameOf(a) == FaceNameOf(b);
}

// ---------------------------------------------------------------- CGdiObject

namespace {

GdiResource ResourceOf(GdiKind kind) {
  switch (kind) {
    case GdiKind::Pen:
      return GdiResource::Pen;
    case GdiKind::Brush:
      return GdiResource::Brush;
    case GdiKind::Font:
      return GdiResource::Font;
    case GdiKind::Bitmap:
      return GdiResource::Bitmap;
    case GdiKind::Region:
      return GdiResource::Region;
  }
  return GdiResource::Pen;
}

}  // namespace

BOOL CGdiObject::DeleteObject() {
  if (!m_created) return FALSE;
  if (m_stock) return TRUE;
  m_created = false;
  return TRUE;
}

bool CGdiObject::BeginCreate() {
  if (m_stock) return false;
  if (TakeGdiFault(ResourceOf(m_kind))) {
    m_created = false;
    return false;
  }
  m_created = true;
  return true;
}

// ---------------------------------------------------------------- CPen

CPen::CPen(int style, int width, COLORREF color) : CGdiObject(GdiKind::Pen) {
  CreatePen(style, width, color);
}

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > PS_INSIDEFRAME) return FALSE;
  if (!BeginCreate()) return FALSE;
  m_pen.lopnStyle = static_cast<UINT>(style);
  m_pen.lopnWidth = {std::max(width, 0), 0};
  m_pen.lopnColor = color & 0x00FFFFFF;
  return TRUE;
}

BOOL CPen::CreatePenIndirect(const LOGPEN* pen) {
  if (pen == nullptr) return FALSE;
  return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

int CPen::GetLogPen(LOGPEN* pen) const {
  if (!m_created || pen == nullptr) return 0;
  *pen = m_pen;
  return static_cast<int>(sizeof(LOGPEN));
}

// ---------------------------------------------------------------- CBrush

CBrush::CBrush(COLORREF color) : CGdiObject(GdiKind::Brush) { CreateSolidBrush(color); }

BOOL CBrush::CreateSolidBrush(COLORREF color) {
  if (!BeginCreate()) return FALSE;
  m_brush = {BS_SOLID, color & 0x00FFFFFF, 0};
  return TRUE;
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* brush) {
  if (brush == nullptr || (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_NULL)) return FALSE;
  if (!BeginCreate()) return FALSE;
  m_brush = *brush;
  m_brush.lbColor &= 0x00FFFFFF;
  return TRUE;
}

int CBrush::GetLogBrush(LOGBRUSH* brush) const {
  if (!m_created || brush == nullptr) return 0;
  *brush = m_brush;
  return static_cast<int>(sizeof(LOGBRUSH));
}

// ---------------------------------------------------------------- CFont

BOOL CFont::CreateFontIndirect(const LOGFONT* font) {
  if (font == nullptr) return FALSE;
  if (!BeginCreate()) return FALSE;
  m_font = *font;
  SetFaceName(m_font, FaceNameOf(*font));  // guarantees the terminator
  return TRUE;
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, LPCTSTR faceName) {
  LOGFONT font;
  font.lfHeight = height;
  font.lfWidth = width;
  font.lfEscapement = escapement;
  font.lfOrientation = orientation;
  font.lfWeight = weight;
  font.lfItalic = italic;
  font.lfUnderline = underline;
  font.lfStrikeOut = strikeOut;
  font.lfCharSet = charSet;
  font.lfOutPrecision = outPrecision;
  font.lfClipPrecision = clipPrecision;
  font.lfQuality = quality;
  font.lfPitchAndFamily = pitchAndFamily;
  SetFaceName(font, faceName != nullptr ? std::string_view(faceName) : std::string_view());
  return CreateFontIndirect(&font);
}

int CFont::GetLogFont(LOGFONT* font) const {
  if (!m_created || font == nullptr) return 0;
  *font = m_font;
  return static_cast<int>(sizeof(LOGFONT));
}

// ---------------------------------------------------------------- CBitmap

namespace {

int DdbRowBytes(int width, int bitsPixel) { return bitsPixel == 1 ? ((width + 15) / 16) * 2 : width * 4; }

}  // namespace

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPixel, const void* bits) {
  const bool mono = planes == 1 && bitsPixel == 1;
  if (bits != nullptr && !mono && (planes != 1 || (bitsPixel != 24 && bitsPixel != 32))) return FALSE;
  auto data = BitmapData::Make(width, height, mono ? 1 : 32);
  if (!data) return FALSE;
  if (!BeginCreate()) return FALSE;
  if (bits != nullptr) {
    const auto* src = static_cast<const BYTE*>(bits);
    PixelSurface surface = data->Surface();
    if (mono) {
      const int srcStride = DdbRowBytes(width, 1);
      for (int y = 0; y < height; ++y)
        std::memcpy(surface.bits + static_cast<std::ptrdiff_t>(y) * surface.stride,
                    src + static_cast<std::ptrdiff_t>(y) * srcStride, static_cast<size_t>((width + 7) / 8));
    } else {
      const int bytesPixel = static_cast<int>(bitsPixel) / 8;
      const int srcStride = ((width * bytesPixel + 1) / 2) * 2;
      for (int y = 0; y < height; ++y) {
        const BYTE* row = src + static_cast<std::ptrdiff_t>(y) * srcStride;
        for (int x = 0; x < width; ++x) {
          const BYTE* p = row + x * bytesPixel;
          surface.Set(x, y, (RgbWord{p[2]} << 16) | (RgbWord{p[1]} << 8) | p[0]);
        }
      }
    }
  }
  // Recreating a selected bitmap leaves the device context with the old pixels,
  // which it owns jointly until it selects something else.
  m_pixels = std::move(data);
  return TRUE;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  if (dc == nullptr) return FALSE;
  return CreateBitmap(width, height, 1, static_cast<UINT>(dc->GetCompatibleBitsPixel()), nullptr);
}

int CBitmap::GetBitmap(BITMAP* info) const {
  if (!m_created || !m_pixels || info == nullptr) return 0;
  info->bmType = 0;
  info->bmWidth = m_pixels->width;
  info->bmHeight = m_pixels->height;
  info->bmWidthBytes = DdbRowBytes(m_pixels->width, m_pixels->bitsPixel);
  info->bmPlanes = 1;
  info->bmBitsPixel = static_cast<WORD>(m_pixels->bitsPixel);
  info->bmBits = nullptr;
  return static_cast<int>(sizeof(BITMAP));
}

int CBitmap::GetObject(int size, void* buffer) const {
  if (buffer == nullptr || size < static_cast<int>(sizeof(BITMAP))) return 0;
  return GetBitmap(static_cast<BITMAP*>(buffer));
}

CSize CBitmap::GetSize() const {
  if (!m_created || !m_pixels) return {0, 0};
  return {m_pixels->width, m_pixels->height};
}

DWORD CBitmap::GetBitmapBits(DWORD count, void* bits) const {
  if (!m_created || !m_pixels || bits == nullptr) return 0;
  const BitmapData& data = *m_pixels;
  const int rowBytes = DdbRowBytes(data.width, data.bitsPixel);
  const DWORD total = static_cast<DWORD>(rowBytes) * static_cast<DWORD>(data.height);
  const DWORD n = std::min(count, total);
  auto* out = static_cast<BYTE*>(bits);
  const auto* words = reinterpret_cast<const BYTE*>(data.words.data());
  for (DWORD i = 0; i < n; ++i) {
    const int y = static_cast<int>(i / static_cast<DWORD>(rowBytes));
    const int col = static_cast<int>(i % static_cast<DWORD>(rowBytes));
    if (data.bitsPixel == 1) {
      out[i] = col < data.stride ? words[static_cast<size_t>(y) * data.stride + col] : 0;
    } else {
      const RgbWord rgb = data.Get(col / 4, y);
      const int channel = col % 4;
      out[i] = channel == 3 ? 0 : static_cast<BYTE>(rgb >> (8 * channel));
    }
  }
  return n;
}

DWORD CBitmap::SetBitmapBits(DWORD count, const void* bits) {
  if (!m_created || !m_pixels || bits == nullptr) return 0;
  BitmapData& data = *m_pixels;
  PixelSurface surface = data.Surface();
  const int rowBytes = DdbRowBytes(data.width, data.bitsPixel);
  const DWORD total = static_cast<DWORD>(rowBytes) * static_cast<DWORD>(data.height);
  const DWORD n = std::min(count, total);
  const auto* in = static_cast<const BYTE*>(bits);
  if (data.bitsPixel == 1) {
    for (DWORD i = 0; i < n; ++i) {
      const int y = static_cast<int>(i / static_cast<DWORD>(rowBytes));
      const int col = static_cast<int>(i % static_cast<DWORD>(rowBytes));
      if (col < data.stride) surface.bits[static_cast<size_t>(y) * data.stride + col] = in[i];
    }
  } else {
    for (DWORD i = 0; i + 4 <= n; i += 4) {
      const int y = static_cast<int>(i / static_cast<DWORD>(rowBytes));
      const int x = static_cast<int>(i % static_cast<DWORD>(rowBytes)) / 4;
      surface.Set(x, y, (RgbWord{in[i + 2]} << 16) | (RgbWord{in[i + 1]} << 8) | in[i]);
    }
  }
  ++data.generation;
  return n;
}

BOOL CBitmap::DeleteObject() {
  if (!m_created) return FALSE;
  if (m_stock) return TRUE;
  if (m_pixels && m_pixels->selectedIn != nullptr) return FALSE;
  m_pixels.reset();
  m_created = false;
  return TRUE;
}

// ---------------------------------------------------------------- CRgn

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
  if (!BeginCreate()) return FALSE;
  SetRectRgn(left, top, right, bottom);
  return TRUE;
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT rect) {
  if (rect == nullptr) return FALSE;
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

void CRgn::SetRectRgn(int left, int top, int right, int bottom) {
  m_box = CRect(left, top, right, bottom);
  m_box.NormalizeRect();
  if (m_box.IsRectEmpty()) m_box.SetRectEmpty();
}

int CRgn::GetRgnBox(LPRECT rect) const {
  if (!m_created) return RGN_ERROR;
  if (rect != nullptr) *rect = m_box;
  return m_box.IsRectEmpty() ? NULLREGION : SIMPLEREGION;
}

int CRgn::OffsetRgn(int dx, int dy) {
  if (!m_created) return RGN_ERROR;
  if (!m_box.IsRectEmpty()) m_box.OffsetRect(dx, dy);
  return m_box.IsRectEmpty() ? NULLREGION : SIMPLEREGION;
}

BOOL CRgn::PtInRegion(int x, int y) const { return m_created && m_box.PtInRect(CPoint(x, y)); }

// ---------------------------------------------------------------- stock objects

CPen* StockPen(int index) {
  static CPen pens[3];
  static const bool made = [] {
    const COLORREF colors[3] = {RGB(255, 255, 255), RGB(0, 0, 0), 0};
    for (int i = 0; i < 3; ++i) {
      pens[i].m_pen = {i == 2 ? static_cast<UINT>(PS_NULL) : static_cast<UINT>(PS_SOLID), {0, 0}, colors[i]};
      pens[i].MarkStock();
    }
    return true;
  }();
  (void)made;
  if (index < WHITE_PEN || index > NULL_PEN) return nullptr;
  return &pens[index - WHITE_PEN];
}

CBrush* StockBrush(int index) {
  static CBrush brushes[6];
  static const bool made = [] {
    const int greys[5] = {255, 192, 128, 64, 0};
    for (int i = 0; i < 6; ++i) {
      brushes[i].m_brush =
          i < 5 ? LOGBRUSH{BS_SOLID, RGB(greys[i], greys[i], greys[i]), 0} : LOGBRUSH{BS_NULL, 0, 0};
      brushes[i].MarkStock();
    }
    return true;
  }();
  (void)made;
  if (index < WHITE_BRUSH || index > NULL_BRUSH) return nullptr;
  return &brushes[index - WHITE_BRUSH];
}

CFont* StockFont(int index) {
  static CFont fonts[DEFAULT_GUI_FONT - OEM_FIXED_FONT + 1];
  static const bool made = [] {
    struct Stock {
      int index;
      LONG height;
      LONG weight;
      BYTE pitchAndFamily;
      const char* face;
    };
    const Stock stock[] = {
        {OEM_FIXED_FONT, 12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Terminal"},
        {ANSI_FIXED_FONT, 12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Courier"},
        {ANSI_VAR_FONT, 12, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif"},
        {SYSTEM_FONT, 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System"},
        {DEVICE_DEFAULT_FONT, 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System"},
        {15, 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System"},  // unused index, kept like the system font
        {SYSTEM_FIXED_FONT, 15, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Fixedsys"},
        {DEFAULT_GUI_FONT, -11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Shell Dlg"},
    };
    for (const Stock& s : stock) {
      LOGFONT& f = fonts[s.index - OEM_FIXED_FONT].m_font;
      f.lfHeight = s.height;
      f.lfWeight = s.weight;
      f.lfPitchAndFamily = s.pitchAndFamily;
      SetFaceName(f, s.face);
      fonts[s.index - OEM_FIXED_FONT].MarkStock();
    }
    return true;
  }();
  (void)made;
  if (index < OEM_FIXED_FONT || index > DEFAULT_GUI_FONT || index == 15) return nullptr;
  return &fonts[index - OEM_FIXED_FONT];
}

CBitmap* StockBitmap() {
  static CBitmap bitmap;
  static const bool made = [] {
    bitmap.m_pixels = BitmapData::Make(1, 1, 1);
    bitmap.MarkStock();
    return true;
  }();
  (void)made;
  return &bitmap;
}

CGdiObject* GetStockObject(int index) {
  if (CPen* pen = StockPen(index)) return pen;
  if (CBrush* brush = StockBrush(index)) return brush;
  return StockFont(index);
}
