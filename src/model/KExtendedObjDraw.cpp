// Drawing an attachment on its line: ties and slurs, tuplet numbers, text
// boxes, hairpins, lines and V-shapes, bracket lines and double bars. Every
// point goes through the scaled primitives, so one drawing serves the screen,
// the printer and device-resolution export; the pens grow with the print size
// on the device path.

#include <algorithm>
#include <initializer_list>

#include "common/AppServices.h"
#include "common/ErrorReporter.h"
#include "common/ScaledDraw.h"
#include "common/ViewServices.h"
#include "model/KExtendedObj.h"
#include "model/KExtendedObjPlace.h"
#include "model/KLineObj.h"
#include "platform/CDC.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
// What a numbered bracket without a text shows: a triplet with its hooks down.
constexpr const char* kDefaultTupletText = "-3";
// Dashed bracket lines on the device path: a dash this long every kDashPeriod.
constexpr int kDashLength = 6;
constexpr int kDashPeriod = 12;
// The double bar's lines: this wide on the screen, kDoubleBarPrintWidth x the
// print size on the device path; its end bars reach kDoubleBarReach up and down.
constexpr int kDoubleBarScreenWidth = 2;
constexpr int kDoubleBarPrintWidth = 6;
constexpr int kDoubleBarReach = 6;

// The width of the solid pen on the device path: the line thickness
// preference at the print size.
int PrintPenWidth() { return std::max(1, ((g_lineWidthSetting - 1) * g_printSizePct) / 100 + 1); }

// A black pen made and selected for the life of the object; the previous pen
// is selected again at its end.
class SelectedPen {
 public:
  SelectedPen(CDC* dc, int style, int width) : m_dc(dc) {
    m_made = m_pen.CreatePen(style, width, kBlack) != FALSE;
    if (m_made) m_previous = m_dc->SelectObject(&m_pen);
  }
  ~SelectedPen() {
    if (m_made && m_previous != nullptr) m_dc->SelectObject(m_previous);
  }
  SelectedPen(const SelectedPen&) = delete;
  SelectedPen& operator=(const SelectedPen&) = delete;

  bool Made() const { return m_made; }

 private:
  CDC* m_dc;
  CPen m_pen;
  CPen* m_previous = nullptr;
  bool m_made = false;
};

// The attachment's text font and colour selected for the life of the object,
// and the text's extent in that font. Without a text nothing is selected and
// the extent is 0. At the end the font and the text colour are selected again
// and the background mode is OPAQUE.
class SelectedText {
 public:
  SelectedText(CDC* dc, KExtendedObj& attachment) : m_dc(dc) {
    if (attachment.GetText().IsEmpty()) return;
    m_active = true;
    if (CFont* font = attachment.EnsureFont()) m_previousFont = m_dc->SelectObject(font);
    m_previousColor = m_dc->SetTextColor(attachment.GetColor());
    m_extent = m_dc->GetTextExtent(attachment.GetText().View());
  }
  ~SelectedText() {
    if (!m_active) return;
    m_dc->SetBkMode(OPAQUE);
    m_dc->SetTextColor(m_previousColor);
    if (m_previousFont != nullptr) m_dc->SelectObject(m_previousFont);
  }
  SelectedText(const SelectedText&) = delete;
  SelectedText& operator=(const SelectedText&) = delete;

  int Width() const { return m_extent.cx; }
  int Height() const { return m_extent.cy; }

 private:
  CDC* m_dc;
  bool m_active = false;
  CFont* m_previousFont = nullptr;
  COLORREF m_previousColor = kBlack;
  CSize m_extent;
};

// Lines through the points, in order.
void Path(CDC* dc, std::initializer_list<CPoint> points) {
  bool first = true;
  for (const CPoint& p : points) {
    if (first) {
      ScaledMoveTo(dc, p.x, p.y);
    } else {
      ScaledLineTo(dc, p.x, p.y);
    }
    first = false;
  }
}

void Line(CDC* dc, int x1, int y1, int x2, int y2) { Path(dc, {CPoint(x1, y1), CPoint(x2, y2)}); }

// The curve of a tie or slur from (x0, y0) through the two control points to
// the end. A second pass with both control points a pixel higher thickens it
// in the middle; the device path adds two more passes before that one, as its
// pixels are finer.
void DrawCurve(CDC* dc, const KAttachmentFrame& f, bool device) {
  const POINT curve[4] = {{f.x, f.y},
                          {f.x + f.points[0].x, f.y + f.points[0].y},
                          {f.x + f.points[1].x, f.y + f.points[1].y},
                          {f.x + f.w, f.y + f.h}};
  auto pass = [&](int lift0, int lift1) {
    POINT points[4] = {curve[0], curve[1], curve[2], curve[3]};
    points[1].y += lift0;
    points[2].y += lift1;
    ScaledPolyBezier(dc, points, 4);
  };
  pass(0, 0);
  if (device) {
    pass(-1, 0);
    pass(1, -1);
  }
  pass(-1, -1);
}

// A tuplet number: a sloping line with a hook at each end (down, or up when
// the text starts with '+') and the number (the text after its sign) centred
// on the line over a blanked box.
void DrawNumberedBracket(CDC* dc, const KAttachmentFrame& f, int x0, const CString& text, int tw) {
  const bool up = !text.IsEmpty() && text.GetAt(0) == '+';
  const int startHook = up ? -5 : 5;
  const int endHook = up ? -6 : 6;
  const int y0 = f.y;
  Path(dc, {CPoint(x0, y0 + startHook), CPoint(x0, y0), CPoint(x0 + f.w, y0 + f.h),
            CPoint(x0 + f.w, y0 + f.h + endHook)});
  const CString number = text.Mid(1);
  const int tx = x0 + f.w / 2 - tw / 2 + 2;
  const int ty = y0 + f.h / 2 - 7 + 1;
  const RECT box = {tx - 2, ty + 3, tx + tw, ty + 11};
  ScaledExtTextOutStr(dc, tx, ty, ETO_OPAQUE | ETO_CLIPPED, box, number, number.GetLength(), nullptr);
}

// Two lines 2 pixels apart drawn with a wide pen, closed by an end bar at each
// end, the text centred above.
void DrawDoubleBar(CDC* dc, const KAttachmentFrame& f, int x0, const CString& text, const SelectedText& t,
                   bool device) {
  const int y0 = f.y;
  {
    SelectedPen wide(dc, PS_SOLID,
                     device ? kDoubleBarPrintWidth * g_printSizePct / 100 : kDoubleBarScreenWidth);
    if (wide.Made()) {
      Line(dc, x0 + 1, y0 - 1, x0 + f.w, y0 - 1);
      Line(dc, x0 + 1, y0 + 1, x0 + f.w, y0 + 1);
    } else {
      ReportInternalErrorOnce(kOncePenFailed, kMsgInternalProblem, device ? "OC2-4" : "OC2-5");
    }
  }
  Line(dc, x0, y0 - kDoubleBarReach, x0, y0 + kDoubleBarReach);
  Line(dc, x0 + f.w, y0 - kDoubleBarReach, x0 + f.w, y0 + kDoubleBarReach);
  if (!text.IsEmpty()) ScaledTextOut(dc, x0 + (f.w - t.Width()) / 2, y0 - t.Height(), text, 0);
}

// How each bracket line 7..24 (but 21) looks: where its text stands, which
// hooks it has, whether its line starts after the text, whether it is dashed
// and whether a bottom line closes it.
enum class TextX { Indented, AtStart, Centred };
enum class TextY { Below, FurtherBelow, HalfAbove, Above, Middle };
struct BracketStyle {
  TextX textX;
  TextY textY;
  bool startHook;
  bool endHook;
  bool lineAfterText;
  bool dashed;
  bool bottom;
};
constexpr BracketStyle kBracketStyles[] = {
    {TextX::Indented, TextY::Below, true, true, false, false, false},         // 7
    {TextX::Indented, TextY::Below, true, false, false, false, false},        // 8
    {TextX::AtStart, TextY::HalfAbove, false, true, true, false, false},      // 9
    {TextX::Centred, TextY::Below, true, true, false, false, false},          // 10
    {TextX::Indented, TextY::Below, true, false, false, false, false},        // 11
    {TextX::AtStart, TextY::HalfAbove, false, true, true, false, false},      // 12
    {TextX::AtStart, TextY::HalfAbove, false, false, true, false, false},     // 13
    {TextX::Centred, TextY::Above, true, true, false, true, false},           // 14
    {TextX::Indented, TextY::FurtherBelow, true, false, false, true, false},  // 15
    {TextX::AtStart, TextY::HalfAbove, false, true, true, true, false},       // 16
    {TextX::Centred, TextY::Below, true, true, false, true, false},           // 17
    {TextX::Indented, TextY::Below, true, false, false, true, false},         // 18
    {TextX::AtStart, TextY::HalfAbove, false, true, true, true, false},       // 19
    {TextX::AtStart, TextY::HalfAbove, false, false, true, true, false},      // 20
    {TextX::AtStart, TextY::Above, false, false, false, false, false},        // 21: drawn by DrawDoubleBar
    {TextX::Centred, TextY::Middle, true, true, false, false, true},          // 22
    {TextX::AtStart, TextY::Above, true, false, false, false, true},          // 23
    {TextX::AtStart, TextY::Above, false, true, false, false, true},          // 24
};

// The main line of a dashed bracket from x1 to x2 at y: a dotted pen on the
// screen, 6-pixel dashes every 12 pixels on the device path.
void DrawDashedLine(CDC* dc, int x1, int x2, int y, bool device) {
  if (device) {
    for (int x = x1; x < x2; x += kDashPeriod) Line(dc, x, y, std::min(x + kDashLength, x2), y);
    return;
  }
  SelectedPen dotted(dc, PS_DOT, 1);
  if (!dotted.Made()) {
    ReportInternalErrorOnce(kOncePenFailed, kMsgInternalProblem, "OC2-3");
    return;
  }
  Line(dc, x1, y, x2, y);
}

void DrawBracketLine(CDC* dc, const KAttachmentFrame& f, int kind, int x0, const CString& text,
                     const SelectedText& t, bool device) {
  const BracketStyle& style = kBracketStyles[kind - KExtendedObj::kFirstBracketLine];
  const int y0 = f.y;
  const int lineY = y0 + BracketLineY(kind, f.family);
  const int hookY = y0 + BracketHookY(f.family, f.h);
  const int right = x0 + f.w;
  int lineStart = x0;
  if (!text.IsEmpty()) {
    const int tw = t.Width();
    const int th = t.Height();
    int tx = x0;
    if (style.textX == TextX::Indented) tx = x0 + 4;
    if (style.textX == TextX::Centred) tx = x0 + (f.w - tw) / 2;
    int ty = y0 - th;
    switch (style.textY) {
      case TextY::Below:
        ty = y0 + 2;
        break;
      case TextY::FurtherBelow:
        ty = y0 + 4;
        break;
      case TextY::HalfAbove:
        ty = y0 - th / 2;
        break;
      case TextY::Above:
        ty = y0 - th;
        break;
      case TextY::Middle:
        ty = y0 + (f.h - th) / 2 + 1;
        break;
    }
    ScaledTextOut(dc, tx, ty, text, 0);
    if (style.lineAfterText) lineStart = x0 + tw + 2;
  }
  if (style.startHook) Line(dc, x0, lineY, x0, hookY);
  if (style.dashed) {
    DrawDashedLine(dc, lineStart, right, lineY, device);
  } else {
    Line(dc, lineStart, lineY, right, lineY);
  }
  if (style.endHook) Line(dc, right, lineY, right, hookY);
  if (style.bottom) Line(dc, x0, hookY, right, hookY);
}

}  // namespace

void KExtendedObj::Draw(CDC* dc, int lineType, int x, int y, int sizeIndex) {
  if (dc == nullptr || m_kind < 0 || m_kind > kLastBracketLine) return;
  if (m_kind == kSlur && m_point0X == 0 && m_point0Y == 0 && m_point1X == 0 && m_point1Y == 0) {
    SetPoint(0, m_sizeX / 3, m_anchorY);
    SetPoint(1, static_cast<int>(2LL * m_sizeX / 3), m_anchorY);
  }
  if (m_kind == kNumberedBracket && m_text.IsEmpty()) m_text = kDefaultTupletText;

  const KAttachmentFrame f = PlaceAttachment(*this, lineType, x, y, sizeIndex);
  const bool device = UsesDevicePath(dc);
  SelectedPen pen(dc, PS_SOLID, device ? PrintPenWidth() : 0);
  if (!pen.Made()) {
    ReportInternalErrorOnce(kOncePenFailed, kMsgInternalProblem, device ? "OC2-1" : "OC2-2");
    return;
  }
  const SelectedText text(dc, *this);
  const int x0 = f.x + KindShift(m_kind);
  const int y0 = f.y;
  const int w = f.w;
  const int h = f.h;

  switch (m_kind) {
    case kTie:
    case kSlur:
      DrawCurve(dc, f, device);
      break;
    case kNumberedBracket:
      DrawNumberedBracket(dc, f, x0, m_text, text.Width());
      break;
    case kTextBox:
      if (!m_text.IsEmpty()) ScaledTextOut(dc, x0, y0 + kTextBoxShiftY, m_text, m_opaque);
      break;
    case kCrescendo:
      Path(dc, {CPoint(x0 + w, y0), CPoint(x0, y0 + h / 2), CPoint(x0 + w, y0 + h)});
      break;
    case kDecrescendo:
      Path(dc, {CPoint(x0, y0), CPoint(x0 + w, y0 + h / 2), CPoint(x0, y0 + h)});
      break;
    case kLineOrV:
      Path(dc, {CPoint(x0 - 2, y0), CPoint(x0 + f.anchor.x, y0 + f.anchor.y), CPoint(x0 + w, y0 + h)});
      break;
    case kDoubleBar:
      DrawDoubleBar(dc, f, x0, m_text, text, device);
      break;
    default:
      DrawBracketLine(dc, f, m_kind, x0, m_text, text, device);
      break;
  }
}
