#include "dialogs/DialogTextFont.h"

#include <cstdint>

#include "common/FontCodec.h"
#include "platform/GdiObjects.h"
#include "platform/UiPort.h"

bool ChooseTextFont(CString& fontText) {
  LOGFONT font;
  StringToLogFont(fontText, font);
  COLORREF colour = static_cast<COLORREF>(font.lfEscapement);
  font.lfEscapement = 0;
  if (!ChooseFontWithColour(font, colour)) return false;
  // A character height (negative) is stored as the cell height the text
  // owners expect; the most negative value has no positive twin.
  if (font.lfHeight < 0) font.lfHeight = font.lfHeight == INT32_MIN ? INT32_MAX : -font.lfHeight;
  font.lfEscapement = static_cast<LONG>(colour);
  LogFontToString(font, fontText);
  return true;
}
