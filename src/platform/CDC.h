#pragma once
// The device context: everything the program draws goes through one. It keeps
// the classic drawing model the drawing code is written in:
// - a selected pen, brush, font and (in memory device contexts) bitmap;
//   selecting returns what was selected before, starting with the stock
//   objects BLACK_PEN, WHITE_BRUSH and SYSTEM_FONT;
// - a current position for MoveTo/LineTo; LineTo does not paint its end point;
// - text placed by the top-left corner of its character cell, painted in the
//   text colour; in OPAQUE background mode the cell is first filled with the
//   background colour; colours are COLORREF (0x00BBGGRR);
// - raster operations for blits and pattern fills, a mix mode for pens and
//   brushes, a stretch mode for shrinking blits;
// - monochrome pixels blitted onto colour take the text colour for 0 bits and
//   the background colour for 1 bits; colour blitted onto monochrome gives 1
//   where the source matches the source context's background colour;
// - logical coordinates (what callers pass) = device coordinates moved by the
//   window and viewport origins; one logical unit is one device pixel;
// - a rectangular clip, a save/restore stack, device capabilities.
//
// CDC keeps that state and forwards the drawing, in device coordinates, to
// its implementation: KQtImageDC (a Qt image: screen and image export),
// KQtPrintDC (printers and PDF) or RecordingDC (tests). Memory device contexts
// come from CreateCompatibleDC of an existing one.
//
// Text is passed as Windows-1252 bytes.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/GdiObjects.h"
#include "platform/Geometry.h"
#include "platform/TextMeasurer.h"

// What GetDeviceCaps reports.
struct DeviceCaps {
  int technology = DT_RASDISPLAY;
  int logPixelsX = 96;
  int logPixelsY = 96;
  int horzRes = 1024;  // drawable width in pixels
  int vertRes = 768;
  int horzSizeMm = 0;  // 0: worked out from the resolution
  int vertSizeMm = 0;
  int bitsPixel = 32;
  int planes = 1;
  int numColors = -1;     // -1: more than 256 colours; 2 on a black-and-white printer
  int physicalWidth = 0;  // printers: the whole sheet in pixels and the offset of the drawable area
  int physicalHeight = 0;
  int physicalOffsetX = 0;
  int physicalOffsetY = 0;
};

class CDC {
 public:
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;
  virtual ~CDC();

  // ------------------------------------------------------------ device
  BOOL IsPrinting() const { return m_printing ? TRUE : FALSE; }
  bool IsMemoryDC() const { return m_memory; }
  int GetDeviceCaps(int index) const;
  const DeviceCaps& Caps() const { return m_caps; }

  // A memory device context compatible with this one, holding the stock 1 x 1
  // monochrome bitmap until a bitmap is selected; null when it cannot be made.
  std::unique_ptr<CDC> CreateCompatibleDC();
  // Bits per pixel of a bitmap made by CBitmap::CreateCompatibleBitmap for this
  // context: that of the selected bitmap in a memory context, else the device's.
  int GetCompatibleBitsPixel() const;

  // ------------------------------------------------------------ objects
  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CFont* SelectObject(CFont* font);
  // Memory device contexts only; a bitmap selected elsewhere is refused (null).
  CBitmap* SelectObject(CBitmap* bitmap);
  CGdiObject* SelectObject(CGdiObject* object);
  // Returns the previously selected object of the stock object's kind.
  CGdiObject* SelectStockObject(int index);

  CPen* GetCurrentPen() const { return m_state.pen; }
  CBrush* GetCurrentBrush() const { return m_state.brush; }
  CFont* GetCurrentFont() const { return m_state.font; }
  CBitmap* GetCurrentBitmap() const { return m_state.bitmap; }
  // The descriptions copied at selection.
  const LOGPEN& SelectedPen() const { return m_state.penData; }
  const LOGBRUSH& SelectedBrush() const { return m_state.brushData; }
  const LOGFONT& SelectedFont() const { return m_state.fontData; }

  // ------------------------------------------------------------ attributes
  COLORREF SetTextColor(COLORREF color);
  COLORREF GetTextColor() const { return m_state.textColor; }
  COLORREF SetBkColor(COLORREF color);
  COLORREF GetBkColor() const { return m_state.bkColor; }
  int SetBkMode(int mode);  // TRANSPARENT or OPAQUE; 0 for anything else
  int GetBkMode() const { return m_state.bkMode; }
  int SetROP2(int mode);  // R2_BLACK .. R2_WHITE; 0 for anything else
  int GetROP2() const { return m_state.rop2; }
  int SetStretchBltMode(int mode);  // BLACKONWHITE .. HALFTONE; 0 for anything else
  int GetStretchBltMode() const { return m_state.stretchMode; }
  int SetPolyFillMode(int mode);  // ALTERNATE or WINDING
  int GetPolyFillMode() const { return m_state.polyFillMode; }
  // Only MM_TEXT exists; asking for another mode changes nothing and answers 0.
  int SetMapMode(int mode);
  int GetMapMode() const { return MM_TEXT; }

  // ------------------------------------------------------------ coordinates
  CPoint SetViewportOrg(int x, int y);
  CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
  CPoint OffsetViewportOrg(int dx, int dy);
  CPoint GetViewportOrg() const { return m_state.viewportOrg; }
  CPoint SetWindowOrg(int x, int y);
  CPoint SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
  CPoint OffsetWindowOrg(int dx, int dy);
  CPoint GetWindowOrg() const { return m_state.windowOrg; }
  void LPtoDP(LPPOINT points, int count = 1) const;
  void LPtoDP(LPRECT rect) const;
  void DPtoLP(LPPOINT points, int count = 1) const;
  void DPtoLP(LPRECT rect) const;

  // ------------------------------------------------------------ clipping
  // Narrows the clip to the rectangle (logical coordinates).
  int IntersectClipRect(int left, int top, int right, int bottom);
  int IntersectClipRect(LPCRECT rect);
  // Replaces the clip by the region (device coordinates); null removes the clip.
  int SelectClipRgn(CRgn* region);
  // The clip (or, without one, the whole drawing surface) in logical coordinates.
  int GetClipBox(LPRECT rect) const;
  BOOL PtVisible(int x, int y) const;

  // ------------------------------------------------------------ save and restore
  // Pushes the state; answers the new depth (1 for the first save).
  int SaveDC();
  // A positive level restores the state saved at that depth; a negative one
  // goes that many saves back. FALSE for a level that does not exist.
  BOOL RestoreDC(int level);

  // ------------------------------------------------------------ lines and shapes
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
  BOOL LineTo(int x, int y);
  BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
  CPoint GetCurrentPosition() const { return m_state.position; }
  // Neither uses nor moves the current position; the last point is not painted.
  BOOL Polyline(const POINT* points, int count);
  // count = 3n + 1: a start point, then two control points and an end point per curve.
  BOOL PolyBezier(const POINT* points, int count);
  // Closed, outlined with the pen and filled with the brush.
  BOOL Polygon(const POINT* points, int count);
  // Outlined with the pen inside the rectangle, filled with the brush.
  BOOL Rectangle(int left, int top, int right, int bottom);
  BOOL Rectangle(LPCRECT rect);
  BOOL Ellipse(int left, int top, int right, int bottom);
  BOOL Ellipse(LPCRECT rect);

  // ------------------------------------------------------------ fills and pixels
  // Fills with the colour whatever the modes; the background colour is left alone.
  void FillSolidRect(LPCRECT rect, COLORREF color);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
  void FillRect(LPCRECT rect, CBrush* brush);
  // Pattern (selected brush) and destination raster operations.
  BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
  void InvertRect(LPCRECT rect);
  COLORREF SetPixel(int x, int y, COLORREF color);
  COLORREF SetPixel(POINT p, COLORREF color) { return SetPixel(p.x, p.y, color); }
  COLORREF GetPixel(int x, int y) const;
  COLORREF GetPixel(POINT p) const { return GetPixel(p.x, p.y); }

  // ------------------------------------------------------------ blits
  // The source is a memory device context (or another readable context);
  // null for operations that use no source. FALSE when nothing could be drawn.
  BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop);
  // Sizes must be positive; shrinking follows the stretch mode.
  BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                  int srcHeight, DWORD rop);

  // ------------------------------------------------------------ text
  BOOL TextOut(int x, int y, std::string_view text);
  BOOL TextOut(int x, int y, LPCTSTR text, int count);
  // options: ETO_OPAQUE fills rect with the background colour; ETO_CLIPPED
  // clips the text to rect. dx, when given, holds the advance of each byte.
  BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, std::string_view text, const int* dx = nullptr);
  BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, UINT count, const int* dx);
  CSize GetTextExtent(std::string_view text) const;
  CSize GetTextExtent(LPCTSTR text, int count) const;
  CSize GetOutputTextExtent(std::string_view text) const { return GetTextExtent(text); }
  BOOL GetTextExtentPoint32(std::string_view text, SIZE* size) const;
  BOOL GetTextMetrics(TEXTMETRIC* metrics) const;
  const TextMeasurer& Measurer() const { return *m_measurer; }

  // ------------------------------------------------------------ for implementations
  // The pixels a blit may read from this context, if it has readable pixels.
  virtual std::optional<PixelSurface> ReadablePixels() const;
  // The pixels of the selected bitmap of a memory device context, or null.
  const std::shared_ptr<BitmapData>& SelectedBitmapData() const { return m_state.bitmapData; }

 protected:
  CDC(const DeviceCaps& caps, const TextMeasurer* measurer, bool printing, bool memory);

  // Drawing, in device coordinates, after CDC has checked its arguments. The
  // current pen, brush, font, colours, modes and clip are read from the
  // accessors above and DeviceClip(). Each does nothing by default.
  virtual void DeviceLine(const CPoint& from, const CPoint& to);  // the end point is not painted
  virtual void DevicePolyline(const std::vector<CPoint>& points);
  virtual void DevicePolyBezier(const std::vector<CPoint>& points);
  virtual void DevicePolygon(const std::vector<CPoint>& points);
  virtual void DeviceRectangle(const CRect& rect);
  virtual void DeviceEllipse(const CRect& rect);
  virtual void DeviceFillSolid(const CRect& rect, COLORREF color);
  virtual void DevicePatBlt(const CRect& rect, DWORD rop, const LOGBRUSH& brush);
  virtual void DeviceSetPixel(int x, int y, COLORREF color);
  virtual COLORREF DeviceGetPixel(int x, int y) const;
  virtual bool DeviceBlt(const CRect& dest, const CDC& source, const CRect& sourceRect, DWORD rop);
  virtual void DeviceText(int x, int y, UINT options, const CRect* rect, std::string_view text,
                          const int* dx);
  // A new memory device context of the implementation's kind with caps.
  virtual std::unique_ptr<CDC> NewCompatibleDC(const DeviceCaps& caps);
  // The whole drawing surface, in device coordinates.
  virtual CRect DeviceBounds() const;
  // Called after the clip or the selected bitmap changed.
  virtual void StateChanged() {}

  // Recording of calls (RecordingDC): when IsRecording() answers true, every
  // drawing and state call hands a text line to Record.
  virtual bool IsRecording() const { return false; }
  virtual void Record(std::string line);
  // How this context names itself in recorded lines of other contexts ("mem1").
  virtual std::string RecordName() const { return {}; }

  // The clip in device coordinates, limited to the surface; empty when nothing is visible.
  CRect DeviceClip() const;
  void SetPrintingFlag(bool printing) { m_printing = printing; }
  void SetCaps(const DeviceCaps& caps) { m_caps = caps; }
  void SetMeasurer(const TextMeasurer* measurer);
  CPoint ToDevice(int x, int y) const;
  CRect ToDevice(const RECT& r) const;

 private:
  struct State {
    CPen* pen = nullptr;
    CBrush* brush = nullptr;
    CFont* font = nullptr;
    CBitmap* bitmap = nullptr;
    LOGPEN penData;
    LOGBRUSH brushData;
    LOGFONT fontData;
    std::shared_ptr<BitmapData> bitmapData;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int stretchMode = BLACKONWHITE;
    int polyFillMode = ALTERNATE;
    CPoint position;
    CPoint viewportOrg;
    CPoint windowOrg;
    std::optional<CRect> clip;  // device coordinates
  };

  void SwitchBitmap(CBitmap* bitmap, const std::shared_ptr<BitmapData>& data);
  std::vector<CPoint> ToDevice(const POINT* points, int count) const;
  static std::string PointsText(const POINT* points, int count);

  DeviceCaps m_caps;
  const TextMeasurer* m_measurer;
  bool m_printing;
  bool m_memory;
  State m_state;
  std::vector<State> m_saved;
};
