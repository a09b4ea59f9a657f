#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/AppServices.h"
#include "common/ScaledDraw.h"
#include "common/ViewServices.h"

namespace {

// The font selected in a device context, scaled from screen to device units for
// the life of the object, then the previous font selected back. When the scaled
// font cannot be made, the text is drawn in the font that is selected.
class DeviceFont {
 public:
  // The height is multiplied by device / screen resolution and by percent / 100.
  DeviceFont(CDC* dc, int percent) : m_dc(dc), m_screenFont(dc->SelectedFont()) {
    LOGFONT font = m_screenFont;
    if (g_screenResY > 0 && g_deviceResY > 0) {
      font.lfHeight = static_cast<LONG>(static_cast<std::int64_t>(font.lfHeight) * percent * g_deviceResY /
                                        (static_cast<std::int64_t>(g_screenResY) * 100));
    }
    font.lfWidth = 0;
    if (m_font.CreateFontIndirect(&font)) m_previous = m_dc->SelectObject(&m_font);
  }
  ~DeviceFont() {
    if (m_previous != nullptr) m_dc->SelectObject(m_previous);
    m_font.DeleteObject();
  }
  DeviceFont(const DeviceFont&) = delete;
  DeviceFont& operator=(const DeviceFont&) = delete;

  // The font as it was before scaling.
  const LOGFONT& ScreenFont() const { return m_screenFont; }

 private:
  CDC* m_dc;
  LOGFONT m_screenFont;
  CFont m_font;
  CFont* m_previous = nullptr;
};

constexpr int kFullSize = 100;

CRect MapRect(const RECT& r) {
  return CRect(MapToDeviceX(r.left), MapToDeviceY(r.top), MapToDeviceX(r.right), MapToDeviceY(r.bottom));
}

}  // namespace

void ScaledTextOutBk(CDC* dc, int x, int y, const char* text, int count, int opaque) {
  if (dc == nullptr) return;
  if (text == nullptr) text = "";
  if (count < 0) count = 0;
  dc->SetBkMode(opaque != 0 ? OPAQUE : TRANSPARENT);
  if (UsesDevicePath(dc)) {
    DeviceFont font(dc, kFullSize);
    dc->TextOut(MapToDeviceX(x), MapToDeviceY(y), text, count);
  } else {
    dc->TextOut(x, y, text, count);
  }
  dc->SetBkMode(OPAQUE);
}

void ScaledTextOut(CDC* dc, int x, int y, const CString& text, int opaque) {
  ScaledTextOutBk(dc, x, y, text, text.GetLength(), opaque);
}

void ScaledExtTextOut(CDC* dc, int x, int y, UINT options, RECT rect, const char* text, int count,
                      const int* widths) {
  if (dc == nullptr) return;
  if (text == nullptr) text = "";
  if (count < 0) count = 0;
  if (!UsesDevicePath(dc)) {
    dc->ExtTextOut(x, y, options, &rect, text, static_cast<UINT>(count), widths);
    return;
  }
  DeviceFont font(dc, kFullSize);
  const CRect mapped = MapRect(rect);
  dc->ExtTextOut(MapToDeviceX(x), MapToDeviceY(y), options, &mapped, text, static_cast<UINT>(count), widths);
}

void ScaledExtTextOutStr(CDC* dc, int x, int y, UINT options, RECT rect, const CString& text, int count,
                         const int* widths) {
  ScaledExtTextOut(dc, x, y, options, rect, text, std::min(count, text.GetLength()), widths);
}

void ScaledTextOutFitted(CDC* dc, int x, int y, const CString& text) {
  if (dc == nullptr || !UsesDevicePath(dc) || text.IsEmpty()) return;
  const std::string_view chars = text.View();
  dc->SetBkMode(TRANSPARENT);
  {
    DeviceFont font(dc, g_textPrintCorr);
    const bool italic = dc->SelectedFont().lfItalic != 0;
    const int space = std::max(1, dc->GetTextExtent(std::string_view("          ")).cx / 10 - 1);
    const int deviceY = MapToDeviceY(y);
    // Where the text before a character ends on the screen.
    auto screenWidth = [&](size_t count) {
      const std::string_view before = chars.substr(0, count);
      if (g_layoutDC != nullptr) return g_layoutDC->GetTextExtent(before).cx;
      return dc->Measurer().GetTextExtent(font.ScreenFont(), before).cx;
    };

    int previousEnd = 0;
    int wordX = 0;
    std::string word;
    auto drawWord = [&]() {
      const int at = wordX == 0 ? 0 : std::max(wordX, previousEnd + space);
      dc->TextOut(at, deviceY, word);
      previousEnd = at + dc->GetTextExtent(word).cx;
      word.clear();
    };
    for (size_t i = 0; i < chars.size(); ++i) {
      const char ch = chars[i];
      if (ch == ' ') {
        if (!word.empty()) drawWord();
        continue;
      }
      if (word.empty()) {
        wordX = MapToDeviceX(screenWidth(i) + x);
        if (italic) {
          // Italic text keeps its screen start and is not split into words.
          dc->TextOut(wordX, deviceY, chars.substr(i));
          word.clear();
          break;
        }
      }
      word += ch;
    }
    if (!word.empty()) drawWord();
  }
  dc->SetBkMode(OPAQUE);
}
