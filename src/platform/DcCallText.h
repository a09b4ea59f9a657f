#pragma once
// The text form of device-context calls, as recorded lines: the call's name,
// then its arguments separated by blanks. A point is "x,y", a rectangle
// "left,top,right,bottom", a size "WxH", a colour "RGB(r,g,b)", a text in
// double quotes (bytes below 0x20 and from 0x7F, the quote and the backslash
// escaped as \xHH, \" and \\), constants by name ("SRCAND", "TRANSPARENT").
// Objects: "pen(PS_SOLID,1,RGB(0,0,0))", "brush(BS_SOLID,RGB(255,255,255))",
// "font(<the thirteen numbers and the face, comma-separated>)",
// "bitmap(<label> WxHxBITS)", stock objects as "stock(BLACK_PEN)".

#include <string>
#include <string_view>

#include "platform/GdiObjects.h"

class DcCallText {
 public:
  explicit DcCallText(std::string_view name) : m_text(name) {}

  DcCallText& Int(long value);
  DcCallText& Point(int x, int y);
  DcCallText& Rect(const RECT& r);
  DcCallText& Size(int cx, int cy);
  DcCallText& Color(COLORREF color);
  DcCallText& Text(std::string_view bytes);
  DcCallText& Word(std::string_view word);

  const std::string& Str() const { return m_text; }

 private:
  std::string m_text;
};

std::string ColorText(COLORREF color);
std::string QuotedText(std::string_view bytes);
std::string RopName(DWORD rop);
std::string Rop2Name(int mode);
std::string BkModeName(int mode);
std::string StretchModeName(int mode);
std::string PenStyleName(UINT style);
std::string StockObjectName(const CGdiObject* object);  // empty when not a stock object
std::string LogFontText(const LOGFONT& font);
std::string DescribeObject(const CGdiObject* object);
std::string ExtTextOptionsText(UINT options);
