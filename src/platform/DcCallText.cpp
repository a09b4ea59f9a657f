#include "platform/DcCallText.h"

#include <cstdio>

DcCallText& DcCallText::Int(long value) { return Word(std::to_string(value)); }

DcCallText& DcCallText::Point(int x, int y) { return Word(std::to_string(x) + "," + std::to_string(y)); }

DcCallText& DcCallText::Rect(const RECT& r) {
  return Word(std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
              std::to_string(r.bottom));
}

DcCallText& DcCallText::Size(int cx, int cy) { return Word(std::to_string(cx) + "x" + std::to_string(cy)); }

DcCallText& DcCallText::Color(COLORREF color) { return Word(ColorText(color)); }

DcCallText& DcCallText::Text(std::string_view bytes) { return Word(QuotedText(bytes)); }

DcCallText& DcCallText::Word(std::string_view word) {
  m_text += ' ';
  m_text += word;
  return *this;
}

std::string ColorText(COLORREF color) {
  return "RGB(" + std::to_string(GetRValue(color)) + "," + std::to_string(GetGValue(color)) + "," +
         std::to_string(GetBValue(color)) + ")";
}

std::string QuotedText(std::string_view bytes) {
  std::string out = "\"";
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b == '"' || b == '\\') {
      out += '\\';
      out += ch;
    } else if (b < 0x20 || b >= 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

std::string RopName(DWORD rop) {
  struct Named {
    DWORD rop;
    const char* name;
  };
  static const Named names[] = {
      {SRCCOPY, "SRCCOPY"},         {SRCPAINT, "SRCPAINT"},   {SRCAND, "SRCAND"},
      {SRCINVERT, "SRCINVERT"},     {SRCERASE, "SRCERASE"},   {NOTSRCCOPY, "NOTSRCCOPY"},
      {NOTSRCERASE, "NOTSRCERASE"}, {MERGECOPY, "MERGECOPY"}, {MERGEPAINT, "MERGEPAINT"},
      {PATCOPY, "PATCOPY"},         {PATPAINT, "PATPAINT"},   {PATINVERT, "PATINVERT"},
      {DSTINVERT, "DSTINVERT"},     {BLACKNESS, "BLACKNESS"}, {WHITENESS, "WHITENESS"},
  };
  for (const Named& n : names)
    if (n.rop == rop) return n.name;
  char hex[16];
  std::snprintf(hex, sizeof hex, "ROP(0x%08X)", static_cast<unsigned>(rop));
  return hex;
}

std::string Rop2Name(int mode) {
  static const char* const names[] = {"R2_BLACK",      "R2_NOTMERGEPEN", "R2_MASKNOTPEN", "R2_NOTCOPYPEN",
                                      "R2_MASKPENNOT", "R2_NOT",         "R2_XORPEN",     "R2_NOTMASKPEN",
                                      "R2_MASKPEN",    "R2_NOTXORPEN",   "R2_NOP",        "R2_MERGENOTPEN",
                                      "R2_COPYPEN",    "R2_MERGEPENNOT", "R2_MERGEPEN",   "R2_WHITE"};
  if (mode >= R2_BLACK && mode <= R2_WHITE) return names[mode - 1];
  return "R2(" + std::to_string(mode) + ")";
}

std::string BkModeName(int mode) {
  if (mode == TRANSPARENT) return "TRANSPARENT";
  if (mode == OPAQUE) return "OPAQUE";
  return "BKMODE(" + std::to_string(mode) + ")";
}

std::string StretchModeName(int mode) {
  static const char* const names[] = {"BLACKONWHITE", "WHITEONBLACK", "COLORONCOLOR", "HALFTONE"};
  if (mode >= BLACKONWHITE && mode <= HALFTONE) return names[mode - 1];
  return "STRETCH(" + std::to_string(mode) + ")";
}

std::string PenStyleName(UINT style) {
  static const char* const names[] = {"PS_SOLID",      "PS_DASH", "PS_DOT",        "PS_DASHDOT",
                                      "PS_DASHDOTDOT", "PS_NULL", "PS_INSIDEFRAME"};
  if (style <= static_cast<UINT>(PS_INSIDEFRAME)) return names[style];
  return "PS(" + std::to_string(style) + ")";
}

std::string StockObjectName(const CGdiObject* object) {
  if (object == nullptr || !object->IsStock()) return {};
  static const struct {
    int index;
    const char* name;
  } names[] = {{WHITE_BRUSH, "WHITE_BRUSH"},
               {LTGRAY_BRUSH, "LTGRAY_BRUSH"},
               {GRAY_BRUSH, "GRAY_BRUSH"},
               {DKGRAY_BRUSH, "DKGRAY_BRUSH"},
               {BLACK_BRUSH, "BLACK_BRUSH"},
               {NULL_BRUSH, "NULL_BRUSH"},
               {WHITE_PEN, "WHITE_PEN"},
               {BLACK_PEN, "BLACK_PEN"},
               {NULL_PEN, "NULL_PEN"},
               {OEM_FIXED_FONT, "OEM_FIXED_FONT"},
               {ANSI_FIXED_FONT, "ANSI_FIXED_FONT"},
               {ANSI_VAR_FONT, "ANSI_VAR_FONT"},
               {SYSTEM_FONT, "SYSTEM_FONT"},
               {DEVICE_DEFAULT_FONT, "DEVICE_DEFAULT_FONT"},
               {SYSTEM_FIXED_FONT, "SYSTEM_FIXED_FONT"},
               {DEFAULT_GUI_FONT, "DEFAULT_GUI_FONT"}};
  for (const auto& n : names)
    if (GetStockObject(n.index) == object) return n.name;
  if (object == StockBitmap()) return "DEFAULT_BITMAP";
  return {};
}

std::string LogFontText(const LOGFONT& f) {
  char numbers[160];
  std::snprintf(numbers, sizeof numbers, "%d,%d,%d,%d,%d,%u,%u,%u,%u,%u,%u,%u,%u,",
                static_cast<int>(f.lfHeight), static_cast<int>(f.lfWidth), static_cast<int>(f.lfEscapement),
                static_cast<int>(f.lfOrientation), static_cast<int>(f.lfWeight), f.lfItalic, f.lfUnderline,
                f.lfStrikeOut, f.lfCharSet, f.lfOutPrecision, f.lfClipPrecision, f.lfQuality,
                f.lfPitchAndFamily);
  return numbers + std::string(FaceNameOf(f));
}

std::string DescribeObject(const CGdiObject* object) {
  if (object == nullptr) return "null";
  if (const std::string stock = StockObjectName(object); !stock.empty()) return "stock(" + stock + ")";
  switch (object->Kind()) {
    case GdiKind::Pen: {
      const LOGPEN& p = static_cast<const CPen*>(object)->Data();
      return "pen(" + PenStyleName(p.lopnStyle) + "," + std::to_string(p.lopnWidth.x) + "," +
             ColorText(p.lopnColor) + ")";
    }
    case GdiKind::Brush: {
      const LOGBRUSH& b = static_cast<const CBrush*>(object)->Data();
      if (b.lbStyle == BS_NULL) return "brush(BS_NULL)";
      return "brush(BS_SOLID," + ColorText(b.lbColor) + ")";
    }
    case GdiKind::Font:
      return "font(" + LogFontText(static_cast<const CFont*>(object)->Data()) + ")";
    case GdiKind::Bitmap: {
      const auto* bitmap = static_cast<const CBitmap*>(object);
      std::string text = "bitmap(";
      if (!bitmap->GetLabel().empty()) text += bitmap->GetLabel() + " ";
      const auto& pixels = bitmap->Pixels();
      if (pixels)
        text += std::to_string(pixels->width) + "x" + std::to_string(pixels->height) + "x" +
                std::to_string(pixels->bitsPixel);
      return text + ")";
    }
    case GdiKind::Region: {
      const CRect& box = static_cast<const CRgn*>(object)->Box();
      return "region(" + std::to_string(box.left) + "," + std::to_string(box.top) + "," +
             std::to_string(box.right) + "," + std::to_string(box.bottom) + ")";
    }
  }
  return "object";
}

std::string ExtTextOptionsText(UINT options) {
  std::string text;
  const auto add = [&](const char* name) { text += text.empty() ? name : std::string("|") + name; };
  if (options & ETO_OPAQUE) add("ETO_OPAQUE");
  if (options & ETO_CLIPPED) add("ETO_CLIPPED");
  const UINT rest = options & ~(ETO_OPAQUE | ETO_CLIPPED);
  if (rest != 0) add(std::to_string(rest).c_str());
  return text.empty() ? "0" : text;
}
