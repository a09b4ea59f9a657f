// KChordPicLine: drawing the chord names at the columns of their diagrams,
// each diagram's picture under its name when the line shows diagrams, and the
// line's attachments.
//
// A name is drawn in pieces split at its accidentals: the text pieces in the
// name font, each "b" as the chord-name flat and each "#" as the chord-name
// sharp from the music-symbol pictures. The picture is the diagram's own
// bitmap (KChordPic::DrawDiagram) stretched to the line's diagram size and
// combined with the page by AND; enlarged pictures and printed ones are drawn
// at three times the size first so that they stay sharp.

#include <algorithm>
#include <string_view>

#include "common/RecentChords.h"
#include "common/ScaledDraw.h"
#include "common/SharedGdiObjects.h"
#include "common/SymbolCache.h"
#include "common/ViewServices.h"
#include "lines/KChordPicLine.h"
#include "lines/KChordPicLineServices.h"
#include "model/KChordPic.h"
#include "model/KExtendedObj.h"
#include "platform/CDC.h"
#include "platform/GdiConstants.h"

namespace {

constexpr int kFlatFamily = 8;
constexpr int kSharpFamily = 11;
constexpr int kAccidentalAdvance = 8;
// The explicit width of a diagram: its name's width and this margin.
constexpr int kNameMargin = 10;
// Shape flags: 3 hides the display value, 4 shows the finger label.
constexpr int kFlagHideValue = 3;
constexpr int kFlagFingerLabel = 4;
// The keyboard picture that DrawDiagram draws for a non-empty picture name.
constexpr const char* kKeyboardPicture = "Keyboard";
// The device path draws diagram pieces this many times larger.
constexpr int kDeviceScale = 3;
constexpr int kNameRowGap = 2;

bool IsBlankName(const CString& name) {
  return name.Find("Blank") >= 0 || name.Find("BLANK") >= 0 || name.Find("blank") >= 0;
}

int TextWidth(CDC* dc, std::string_view text) { return text.empty() ? 0 : dc->GetTextExtent(text).cx; }

// The text that stands for the name: a blank for a blank or empty name, "/"
// for a slash name ("A/" or "Am/"), else the name.
CString ShownName(const CString& name) {
  if (name.IsEmpty() || IsBlankName(name)) return " ";
  const std::string_view text = name.View();
  if ((text.size() == 2 && text[1] == '/') || (text.size() == 3 && text[2] == '/')) return "/";
  return name;
}

// Draws the name from x at y in pieces split at "b" and "#".
void DrawName(CDC* dc, int x, int y, int rowHeight, const CString& name) {
  const std::string_view text = name.View();
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t mark = std::min(text.find_first_of("b#", start), text.size());
    const std::string_view piece = text.substr(start, mark - start);
    if (!piece.empty()) {
      const int width = TextWidth(dc, piece);
      const RECT rect{x, y + kNameRowGap, x + width, y + rowHeight};
      const CString pieceText(piece.data(), static_cast<int>(piece.size()));
      ScaledExtTextOutStr(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, rect, pieceText, pieceText.GetLength(),
                          nullptr);
      x += width;
    }
    if (mark == text.size()) break;
    LoadSymbolBitmap(dc, text[mark] == 'b' ? kFlatFamily : kSharpFamily, 0, x, y, 100, 100, SRCAND);
    x += kAccidentalAdvance;
    start = mark + 1;
  }
}

int Scaled(int value, int numerator, int denominator) {
  if (denominator <= 0) return value;
  return static_cast<int>(
      std::clamp<long long>(static_cast<long long>(value) * numerator / denominator, 1, 1000000));
}

// How many times larger than its layout size the diagram's bitmap was drawn.
int PictureScale(const KChordPic& diagram) {
  const CBitmap* bitmap = diagram.GetDiagramObj();
  const int layout = diagram.GetDiagramSize();
  if (bitmap == nullptr || layout <= 0) return 1;
  return std::max(1, static_cast<int>((bitmap->GetSize().cx + layout / 2) / layout));
}

}  // namespace

void KChordPicLine::Draw(CDC* dc, int top, int, int sizeIndex, int originX, int mode, int, int, int, int) {
  if (dc == nullptr) return;
  const int size = sizeIndex == 1 ? 1 : 0;
  CFont* previousFont = m_currentNameFont != nullptr ? dc->SelectObject(m_currentNameFont) : nullptr;
  const COLORREF previousColor = dc->SetTextColor(m_nameColor);
  const int rowHeight = dc->GetTextExtent(std::string_view("ABCDEFG")).cy;
  const int columnWidth = kChordColumnWidth[size];
  const long long lead = static_cast<long long>(GetIndent()) + originX;
  const bool showDiagrams = TestFlags(kFlagShowDiagrams) != 0 || (mode & kModeAllDiagrams) != 0;
  const bool keyboard = TestFlags(kFlagKeyboardPictures) != 0;
  // Printing, or drawing at device resolution (the high-resolution image).
  const bool printing = UsesDevicePath(dc);

  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    KChordPic* diagram = AsChordPic(m_objects.GetNext(node));
    if (diagram == nullptr) continue;
    const long long xWide = static_cast<long long>(diagram->GetPos()) * columnWidth + lead;
    if (xWide < 0 || xWide > INT32_MAX / 2) continue;
    const int x = static_cast<int>(xWide);
    const CString name = diagram->GetName();
    const bool picture = showDiagrams && !name.IsEmpty() && !IsBlankName(name);
    if (diagram->GetWidth(1) == -1) {
      // A diagram shown with its picture is as wide as that picture when the
      // name is narrower, so that the caret's steps, clicks and Delete take
      // it as the one object it looks.
      int width = TextWidth(dc, name.View()) + kNameMargin;
      if (picture) width = std::max(width, GetDiagramExtent(*diagram));
      diagram->SetWidth(width);
    }
    DrawName(dc, x, top, rowHeight, ShownName(name));
    if (!picture) continue;

    // The picture under the name.
    const int pictureY = top + rowHeight;
    const CString pictureName = keyboard ? kKeyboardPicture : "";
    int widthPct = m_widthPct;
    int heightPct = m_heightPct;
    int pictureX = x;
    int pictureTop = pictureY;
    if (printing) {
      // Drawn afresh for the device (three times the layout size where the
      // device path reaches the picture), stretched to the device's resolution.
      diagram->DrawDiagram(dc, pictureName, m_tuning);
      const int scale = PictureScale(*diagram);
      widthPct = Scaled(m_widthPct, g_deviceResX, scale * g_screenResX);
      heightPct = Scaled(m_heightPct, g_deviceResY, scale * g_screenResY);
      pictureX = MapToDeviceX(x);
      pictureTop = MapToDeviceY(pictureY);
    } else if ((m_widthPct <= 100 && m_heightPct <= 100) || keyboard) {
      diagram->DrawDiagram(dc, pictureName, m_tuning);
    } else {
      const int previousRender = g_deviceRender;
      g_deviceRender = 1;
      diagram->DrawDiagram(dc, pictureName, m_tuning);
      g_deviceRender = previousRender;
      widthPct = m_widthPct / kDeviceScale;
      heightPct = m_heightPct / kDeviceScale;
    }
    StretchBlitBitmap(dc, diagram->GetDiagramObj(), pictureX, pictureTop, widthPct, heightPct, SRCAND);

    // The display value right of the picture, the finger label under it.
    const bool value =
        diagram->GetValue() != 1 && g_diagramFretNumbers != 0 && diagram->IsShapeFlagSet(kFlagHideValue) == 0;
    const bool finger = diagram->IsShapeFlagSet(kFlagFingerLabel) != 0;
    if (!value && !finger) continue;
    const int pictureWidth = diagram->GetDiagramSize() * m_widthPct / 100;
    CFont* nameFont = dc->SelectObject(&g_DiagramFont);
    if (value) ScaledTextOut(dc, x + pictureWidth + 1, pictureY, FormatNumberLabel(diagram->GetValue()), 0);
    if (finger) {
      const int bottom = pictureY + (kDiagramHeight + kRowHeight * GetExtraDiagramRows()) * m_heightPct / 100;
      ScaledTextOut(dc, x, bottom, diagram->GetFingerLabel(), 0);
    }
    if (nameFont != nullptr) dc->SelectObject(nameFont);
  }
  dc->SetTextColor(previousColor);
  if (previousFont != nullptr) dc->SelectObject(previousFont);

  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    KExtendedObj* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
    const long long x = static_cast<long long>(attachment->GetPos()) * columnWidth + lead;
    attachment->Draw(dc, m_type, static_cast<int>(std::clamp<long long>(x, INT32_MIN, INT32_MAX)), top, size);
  }
}
