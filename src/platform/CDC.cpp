#include "platform/CDC.h"

#include <algorithm>
#include <utility>

#include "platform/DcCallText.h"
#include "platform/FixedTextMeasurer.h"
#include "platform/GdiFaults.h"
#include "platform/RasterOps.h"

namespace {

const TextMeasurer& DefaultMeasurer() {
  static const FixedTextMeasurer measurer;
  return measurer;
}

CRect Normalized(CRect r) {
  r.NormalizeRect();
  return r;
}

}  // namespace

CDC::CDC(const DeviceCaps& caps, const TextMeasurer* measurer, bool printing, bool memory)
    : m_caps(caps),
      m_measurer(measurer != nullptr ? measurer : &DefaultMeasurer()),
      m_printing(printing),
      m_memory(memory) {
  m_state.pen = StockPen(BLACK_PEN);
  m_state.penData = m_state.pen->Data();
  m_state.brush = StockBrush(WHITE_BRUSH);
  m_state.brushData = m_state.brush->Data();
  m_state.font = StockFont(SYSTEM_FONT);
  m_state.fontData = m_state.font->Data();
  if (m_memory) {
    m_state.bitmap = StockBitmap();
    m_state.bitmapData = m_state.bitmap->Pixels();
  }
}

CDC::~CDC() {
  // The bitmap stays usable once its device context is gone.
  if (m_state.bitmapData && m_state.bitmapData->selectedIn == this) m_state.bitmapData->selectedIn = nullptr;
}

void CDC::SetMeasurer(const TextMeasurer* measurer) {
  m_measurer = measurer != nullptr ? measurer : &DefaultMeasurer();
}

void CDC::Record(std::string) {}

// ---------------------------------------------------------------- device

int CDC::GetDeviceCaps(int index) const {
  switch (index) {
    case TECHNOLOGY:
      return m_caps.technology;
    case HORZSIZE:
      return m_caps.horzSizeMm != 0 ? m_caps.horzSizeMm
                                    : m_caps.horzRes * 254 / (std::max(1, m_caps.logPixelsX) * 10);
    case VERTSIZE:
      return m_caps.vertSizeMm != 0 ? m_caps.vertSizeMm
                                    : m_caps.vertRes * 254 / (std::max(1, m_caps.logPixelsY) * 10);
    case HORZRES:
      return m_caps.horzRes;
    case VERTRES:
      return m_caps.vertRes;
    case BITSPIXEL:
      return m_caps.bitsPixel;
    case PLANES:
      return m_caps.planes;
    case NUMCOLORS:
      return m_caps.numColors;
    case RASTERCAPS:
      return RC_BITBLT | RC_STRETCHBLT;
    case LOGPIXELSX:
      return m_caps.logPixelsX;
    case LOGPIXELSY:
      return m_caps.logPixelsY;
    case PHYSICALWIDTH:
      return m_caps.physicalWidth;
    case PHYSICALHEIGHT:
      return m_caps.physicalHeight;
    case PHYSICALOFFSETX:
      return m_caps.physicalOffsetX;
    case PHYSICALOFFSETY:
      return m_caps.physicalOffsetY;
    default:
      return 0;
  }
}

std::unique_ptr<CDC> CDC::CreateCompatibleDC() {
  std::unique_ptr<CDC> dc;
  if (!TakeGdiFault(GdiResource::MemoryDC)) dc = NewCompatibleDC(m_caps);
  if (IsRecording()) Record(DcCallText("CreateCompatibleDC").Word(dc ? dc->RecordName() : "failed").Str());
  return dc;
}

int CDC::GetCompatibleBitsPixel() const {
  if (m_memory && m_state.bitmapData) return m_state.bitmapData->bitsPixel;
  return m_caps.bitsPixel == 1 ? 1 : 32;
}

std::optional<PixelSurface> CDC::ReadablePixels() const {
  if (m_memory && m_state.bitmapData) return m_state.bitmapData->Surface();
  return std::nullopt;
}

// ---------------------------------------------------------------- objects

CPen* CDC::SelectObject(CPen* pen) {
  if (pen == nullptr || pen->GetSafeHandle() == nullptr) return nullptr;
  if (IsRecording()) Record(DcCallText("SelectObject").Word(DescribeObject(pen)).Str());
  CPen* previous = m_state.pen;
  m_state.pen = pen;
  m_state.penData = pen->Data();
  return previous;
}

CBrush* CDC::SelectObject(CBrush* brush) {
  if (brush == nullptr || brush->GetSafeHandle() == nullptr) return nullptr;
  if (IsRecording()) Record(DcCallText("SelectObject").Word(DescribeObject(brush)).Str());
  CBrush* previous = m_state.brush;
  m_state.brush = brush;
  m_state.brushData = brush->Data();
  return previous;
}

CFont* CDC::SelectObject(CFont* font) {
  if (font == nullptr || font->GetSafeHandle() == nullptr) return nullptr;
  if (IsRecording()) Record(DcCallText("SelectObject").Word(DescribeObject(font)).Str());
  CFont* previous = m_state.font;
  m_state.font = font;
  m_state.fontData = font->Data();
  return previous;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  if (!m_memory || bitmap == nullptr || bitmap->GetSafeHandle() == nullptr || !bitmap->Pixels())
    return nullptr;
  const std::shared_ptr<BitmapData>& data = bitmap->Pixels();
  if (!bitmap->IsStock() && data->selectedIn != nullptr && data->selectedIn != this) return nullptr;
  if (IsRecording()) Record(DcCallText("SelectObject").Word(DescribeObject(bitmap)).Str());
  CBitmap* previous = m_state.bitmap;
  SwitchBitmap(bitmap, data);
  StateChanged();
  return previous;
}

void CDC::SwitchBitmap(CBitmap* bitmap, const std::shared_ptr<BitmapData>& data) {
  const std::shared_ptr<BitmapData> old = m_state.bitmapData;
  if (old && old->selectedIn == this) old->selectedIn = nullptr;
  m_state.bitmap = bitmap;
  m_state.bitmapData = data;
  if (data && data != StockBitmap()->Pixels()) data->selectedIn = this;
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
  if (object == nullptr) return nullptr;
  switch (object->Kind()) {
    case GdiKind::Pen:
      return SelectObject(static_cast<CPen*>(object));
    case GdiKind::Brush:
      return SelectObject(static_cast<CBrush*>(object));
    case GdiKind::Font:
      return SelectObject(static_cast<CFont*>(object));
    case GdiKind::Bitmap:
      return SelectObject(static_cast<CBitmap*>(object));
    case GdiKind::Region:
      SelectClipRgn(static_cast<CRgn*>(object));
      return nullptr;
  }
  return nullptr;
}

CGdiObject* CDC::SelectStockObject(int index) { return SelectObject(GetStockObject(index)); }

// ---------------------------------------------------------------- attributes

COLORREF CDC::SetTextColor(COLORREF color) {
  if (IsRecording()) Record(DcCallText("SetTextColor").Color(color).Str());
  return std::exchange(m_state.textColor, color & 0x00FFFFFF);
}

COLORREF CDC::SetBkColor(COLORREF color) {
  if (IsRecording()) Record(DcCallText("SetBkColor").Color(color).Str());
  return std::exchange(m_state.bkColor, color & 0x00FFFFFF);
}

int CDC::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  if (IsRecording()) Record(DcCallText("SetBkMode").Word(BkModeName(mode)).Str());
  return std::exchange(m_state.bkMode, mode);
}

int CDC::SetROP2(int mode) {
  if (mode < R2_BLACK || mode > R2_WHITE) return 0;
  if (IsRecording()) Record(DcCallText("SetROP2").Word(Rop2Name(mode)).Str());
  return std::exchange(m_state.rop2, mode);
}

int CDC::SetStretchBltMode(int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  if (IsRecording()) Record(DcCallText("SetStretchBltMode").Word(StretchModeName(mode)).Str());
  return std::exchange(m_state.stretchMode, mode);
}

int CDC::SetPolyFillMode(int mode) {
  if (mode != ALTERNATE && mode != WINDING) return 0;
  if (IsRecording())
    Record(DcCallText("SetPolyFillMode").Word(mode == ALTERNATE ? "ALTERNATE" : "WINDING").Str());
  return std::exchange(m_state.polyFillMode, mode);
}

int CDC::SetMapMode(int mode) {
  if (mode != MM_TEXT) return 0;
  if (IsRecording()) Record(DcCallText("SetMapMode").Word("MM_TEXT").Str());
  return MM_TEXT;
}

// ---------------------------------------------------------------- coordinates

CPoint CDC::SetViewportOrg(int x, int y) {
  if (IsRecording()) Record(DcCallText("SetViewportOrg").Point(x, y).Str());
  return std::exchange(m_state.viewportOrg, CPoint(x, y));
}

CPoint CDC::OffsetViewportOrg(int dx, int dy) {
  if (IsRecording()) Record(DcCallText("OffsetViewportOrg").Point(dx, dy).Str());
  const CPoint old = m_state.viewportOrg;
  m_state.viewportOrg.Offset(dx, dy);
  return old;
}

CPoint CDC::SetWindowOrg(int x, int y) {
  if (IsRecording()) Record(DcCallText("SetWindowOrg").Point(x, y).Str());
  return std::exchange(m_state.windowOrg, CPoint(x, y));
}

CPoint CDC::OffsetWindowOrg(int dx, int dy) {
  if (IsRecording()) Record(DcCallText("OffsetWindowOrg").Point(dx, dy).Str());
  const CPoint old = m_state.windowOrg;
  m_state.windowOrg.Offset(dx, dy);
  return old;
}

CPoint CDC::ToDevice(int x, int y) const {
  return {x - m_state.windowOrg.x + m_state.viewportOrg.x, y - m_state.windowOrg.y + m_state.viewportOrg.y};
}

CRect CDC::ToDevice(const RECT& r) const {
  return {CPoint(ToDevice(r.left, r.top)), CPoint(ToDevice(r.right, r.bottom))};
}

std::vector<CPoint> CDC::ToDevice(const POINT* points, int count) const {
  std::vector<CPoint> out;
  out.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) out.push_back(ToDevice(points[i].x, points[i].y));
  return out;
}

void CDC::LPtoDP(LPPOINT points, int count) const {
  for (int i = 0; points != nullptr && i < count; ++i) points[i] = ToDevice(points[i].x, points[i].y);
}

void CDC::LPtoDP(LPRECT rect) const {
  if (rect != nullptr) *rect = ToDevice(*rect);
}

void CDC::DPtoLP(LPPOINT points, int count) const {
  const CSize shift = m_state.windowOrg - m_state.viewportOrg;
  for (int i = 0; points != nullptr && i < count; ++i) points[i] = CPoint(points[i]) + shift;
}

void CDC::DPtoLP(LPRECT rect) const {
  if (rect == nullptr) return;
  const CSize shift = m_state.windowOrg - m_state.viewportOrg;
  *rect = CRect(*rect) + CPoint(shift.cx, shift.cy);
}

// ---------------------------------------------------------------- clipping

CRect CDC::DeviceBounds() const {
  if (m_memory && m_state.bitmapData) return {0, 0, m_state.bitmapData->width, m_state.bitmapData->height};
  return {0, 0, m_caps.horzRes, m_caps.vertRes};
}

CRect CDC::DeviceClip() const {
  const CRect bounds = DeviceBounds();
  if (!m_state.clip) return bounds;
  return bounds & *m_state.clip;
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
  if (IsRecording()) Record(DcCallText("IntersectClipRect").Rect(CRect(left, top, right, bottom)).Str());
  const CRect device = Normalized(ToDevice(CRect(left, top, right, bottom)));
  m_state.clip = m_state.clip ? (*m_state.clip & device) : device;
  if (m_state.clip->IsRectEmpty()) m_state.clip->SetRectEmpty();
  StateChanged();
  return m_state.clip->IsRectEmpty() ? NULLREGION : SIMPLEREGION;
}

int CDC::IntersectClipRect(LPCRECT rect) {
  if (rect == nullptr) return RGN_ERROR;
  return IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom);
}

int CDC::SelectClipRgn(CRgn* region) {
  if (region != nullptr && region->GetSafeHandle() == nullptr) return RGN_ERROR;
  if (IsRecording())
    Record(DcCallText("SelectClipRgn").Word(region != nullptr ? DescribeObject(region) : "null").Str());
  if (region == nullptr)
    m_state.clip.reset();
  else
    m_state.clip = region->Box();
  StateChanged();
  return DeviceClip().IsRectEmpty() ? NULLREGION : SIMPLEREGION;
}

int CDC::GetClipBox(LPRECT rect) const {
  CRect box = DeviceClip();
  if (box.IsRectEmpty()) box.SetRectEmpty();
  if (rect != nullptr) {
    *rect = box;
    if (!box.IsRectEmpty()) DPtoLP(rect);
  }
  return box.IsRectEmpty() ? NULLREGION : SIMPLEREGION;
}

BOOL CDC::PtVisible(int x, int y) const { return DeviceClip().PtInRect(ToDevice(x, y)) ? TRUE : FALSE; }

// ---------------------------------------------------------------- save and restore

int CDC::SaveDC() {
  m_saved.push_back(m_state);
  if (IsRecording()) Record(DcCallText("SaveDC").Int(static_cast<long>(m_saved.size())).Str());
  return static_cast<int>(m_saved.size());
}

BOOL CDC::RestoreDC(int level) {
  const int depth = static_cast<int>(m_saved.size());
  const int index = level < 0 ? depth + level : level - 1;
  if (level == 0 || index < 0 || index >= depth) return FALSE;
  if (IsRecording()) Record(DcCallText("RestoreDC").Int(level).Str());
  State restored = m_saved[static_cast<size_t>(index)];
  m_saved.resize(static_cast<size_t>(index));
  if (restored.bitmapData != m_state.bitmapData) {
    const auto& data = restored.bitmapData;
    if (data && data->selectedIn != nullptr && data->selectedIn != this && data != StockBitmap()->Pixels()) {
      // Selected elsewhere since: keep the current bitmap rather than share it.
      restored.bitmap = m_state.bitmap;
      restored.bitmapData = m_state.bitmapData;
    } else {
      SwitchBitmap(restored.bitmap, data);
    }
  }
  m_state = std::move(restored);
  StateChanged();
  return TRUE;
}

// ---------------------------------------------------------------- lines and shapes

std::string CDC::PointsText(const POINT* points, int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += (i ? " " : "") + std::to_string(points[i].x) + "," + std::to_string(points[i].y);
  return text;
}

CPoint CDC::MoveTo(int x, int y) {
  if (IsRecording()) Record(DcCallText("MoveTo").Point(x, y).Str());
  return std::exchange(m_state.position, CPoint(x, y));
}

BOOL CDC::LineTo(int x, int y) {
  if (IsRecording()) Record(DcCallText("LineTo").Point(x, y).Str());
  const CPoint from = ToDevice(m_state.position.x, m_state.position.y);
  m_state.position = CPoint(x, y);
  DeviceLine(from, ToDevice(x, y));
  return TRUE;
}

BOOL CDC::Polyline(const POINT* points, int count) {
  if (points == nullptr || count < 2) return FALSE;
  if (IsRecording()) Record(DcCallText("Polyline").Word(PointsText(points, count)).Str());
  DevicePolyline(ToDevice(points, count));
  return TRUE;
}

BOOL CDC::PolyBezier(const POINT* points, int count) {
  if (points == nullptr || count < 4 || (count - 1) % 3 != 0) return FALSE;
  if (IsRecording()) Record(DcCallText("PolyBezier").Word(PointsText(points, count)).Str());
  DevicePolyBezier(ToDevice(points, count));
  return TRUE;
}

BOOL CDC::Polygon(const POINT* points, int count) {
  if (points == nullptr || count < 2) return FALSE;
  if (IsRecording()) Record(DcCallText("Polygon").Word(PointsText(points, count)).Str());
  DevicePolygon(ToDevice(points, count));
  return TRUE;
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom) {
  if (IsRecording()) Record(DcCallText("Rectangle").Rect(CRect(left, top, right, bottom)).Str());
  DeviceRectangle(Normalized(ToDevice(CRect(left, top, right, bottom))));
  return TRUE;
}

BOOL CDC::Rectangle(LPCRECT rect) {
  return rect != nullptr && Rectangle(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CDC::Ellipse(int left, int top, int right, int bottom) {
  if (IsRecording()) Record(DcCallText("Ellipse").Rect(CRect(left, top, right, bottom)).Str());
  DeviceEllipse(Normalized(ToDevice(CRect(left, top, right, bottom))));
  return TRUE;
}

BOOL CDC::Ellipse(LPCRECT rect) {
  return rect != nullptr && Ellipse(rect->left, rect->top, rect->right, rect->bottom);
}

// ---------------------------------------------------------------- fills and pixels

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
  if (rect == nullptr) return;
  if (IsRecording()) Record(DcCallText("FillSolidRect").Rect(*rect).Color(color).Str());
  DeviceFillSolid(Normalized(ToDevice(*rect)), color & 0x00FFFFFF);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
  const CRect rect(x, y, x + cx, y + cy);
  FillSolidRect(&rect, color);
}

void CDC::FillRect(LPCRECT rect, CBrush* brush) {
  if (rect == nullptr || brush == nullptr || brush->GetSafeHandle() == nullptr) return;
  if (IsRecording()) Record(DcCallText("FillRect").Rect(*rect).Word(DescribeObject(brush)).Str());
  DevicePatBlt(Normalized(ToDevice(*rect)), PATCOPY, brush->Data());
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) {
  if (raster::UsesSource(rop)) return FALSE;
  if (IsRecording()) Record(DcCallText("PatBlt").Point(x, y).Size(width, height).Word(RopName(rop)).Str());
  DevicePatBlt(Normalized(ToDevice(CRect(x, y, x + width, y + height))), rop, m_state.brushData);
  return TRUE;
}

void CDC::InvertRect(LPCRECT rect) {
  if (rect == nullptr) return;
  if (IsRecording()) Record(DcCallText("InvertRect").Rect(*rect).Str());
  DevicePatBlt(Normalized(ToDevice(*rect)), DSTINVERT, m_state.brushData);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
  if (IsRecording()) Record(DcCallText("SetPixel").Point(x, y).Color(color).Str());
  const CPoint p = ToDevice(x, y);
  if (!DeviceClip().PtInRect(p)) return CLR_INVALID;
  DeviceSetPixel(p.x, p.y, color & 0x00FFFFFF);
  return color & 0x00FFFFFF;
}

COLORREF CDC::GetPixel(int x, int y) const {
  const CPoint p = ToDevice(x, y);
  if (!DeviceClip().PtInRect(p)) return CLR_INVALID;
  return DeviceGetPixel(p.x, p.y);
}

// ---------------------------------------------------------------- blits

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop) {
  return StretchBlt(x, y, width, height, source, xSrc, ySrc, width, height, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                     int srcHeight, DWORD rop) {
  const bool usesSource = raster::UsesSource(rop);
  if (IsRecording()) {
    std::string from = "null";
    if (source != nullptr) {
      from = source->RecordName();
      if (from.empty()) from = source->IsMemoryDC() ? "memory" : "dc";
      if (source->IsMemoryDC()) from += "=" + DescribeObject(source->GetCurrentBitmap());
    }
    const bool same = width == srcWidth && height == srcHeight;
    DcCallText call(same ? "BitBlt" : "StretchBlt");
    call.Point(x, y).Size(width, height).Word(from).Point(xSrc, ySrc);
    if (!same) call.Size(srcWidth, srcHeight);
    Record(call.Word(RopName(rop)).Str());
  }
  if (width <= 0 || height <= 0) return FALSE;
  const CRect dest(ToDevice(x, y), CSize(width, height));
  if (!usesSource) {
    DevicePatBlt(dest, rop, m_state.brushData);
    return TRUE;
  }
  if (source == nullptr || srcWidth <= 0 || srcHeight <= 0) return FALSE;
  const CRect sourceRect(source->ToDevice(xSrc, ySrc), CSize(srcWidth, srcHeight));
  return DeviceBlt(dest, *source, sourceRect, rop) ? TRUE : FALSE;
}

// ---------------------------------------------------------------- text

BOOL CDC::TextOut(int x, int y, std::string_view text) {
  if (IsRecording()) Record(DcCallText("TextOut").Point(x, y).Text(text).Str());
  const CPoint p = ToDevice(x, y);
  DeviceText(p.x, p.y, 0, nullptr, text, nullptr);
  return TRUE;
}

BOOL CDC::TextOut(int x, int y, LPCTSTR text, int count) {
  if (text == nullptr || count < 0) return FALSE;
  return TextOut(x, y, std::string_view(text, static_cast<size_t>(count)));
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, std::string_view text, const int* dx) {
  if (IsRecording()) {
    DcCallText call("ExtTextOut");
    call.Point(x, y).Word(ExtTextOptionsText(options));
    if (rect != nullptr)
      call.Rect(*rect);
    else
      call.Word("null");
    call.Text(text);
    if (dx != nullptr) {
      std::string widths = "dx=";
      for (size_t i = 0; i < text.size(); ++i) widths += (i ? "," : "") + std::to_string(dx[i]);
      call.Word(widths);
    }
    Record(call.Str());
  }
  const CPoint p = ToDevice(x, y);
  std::optional<CRect> deviceRect;
  if (rect != nullptr) deviceRect = Normalized(ToDevice(*rect));
  DeviceText(p.x, p.y, options, deviceRect ? &*deviceRect : nullptr, text, dx);
  return TRUE;
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, UINT count, const int* dx) {
  if (text == nullptr && count != 0) return FALSE;
  return ExtTextOut(x, y, options, rect, std::string_view(text != nullptr ? text : "", count), dx);
}

CSize CDC::GetTextExtent(std::string_view text) const {
  return m_measurer->GetTextExtent(m_state.fontData, text);
}

CSize CDC::GetTextExtent(LPCTSTR text, int count) const {
  if (text == nullptr || count < 0) return {0, 0};
  return GetTextExtent(std::string_view(text, static_cast<size_t>(count)));
}

BOOL CDC::GetTextExtentPoint32(std::string_view text, SIZE* size) const {
  if (size == nullptr) return FALSE;
  *size = GetTextExtent(text);
  return TRUE;
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* metrics) const {
  if (metrics == nullptr) return FALSE;
  *metrics = m_measurer->GetTextMetrics(m_state.fontData);
  return TRUE;
}

// ---------------------------------------------------------------- device defaults

void CDC::DeviceLine(const CPoint&, const CPoint&) {}
void CDC::DevicePolyline(const std::vector<CPoint>&) {}
void CDC::DevicePolyBezier(const std::vector<CPoint>&) {}
void CDC::DevicePolygon(const std::vector<CPoint>&) {}
void CDC::DeviceRectangle(const CRect&) {}
void CDC::DeviceEllipse(const CRect&) {}
void CDC::DeviceFillSolid(const CRect&, COLORREF) {}
void CDC::DevicePatBlt(const CRect&, DWORD, const LOGBRUSH&) {}
void CDC::DeviceSetPixel(int, int, COLORREF) {}
COLORREF CDC::DeviceGetPixel(int, int) const { return CLR_INVALID; }
bool CDC::DeviceBlt(const CRect&, const CDC&, const CRect&, DWORD) { return false; }
void CDC::DeviceText(int, int, UINT, const CRect*, std::string_view, const int*) {}
std::unique_ptr<CDC> CDC::NewCompatibleDC(const DeviceCaps&) { return nullptr; }
