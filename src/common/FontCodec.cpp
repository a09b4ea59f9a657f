#include "common/FontCodec.h"

#include "common/NumberText.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {
constexpr int kFontNumberCount = 13;
}  // namespace

void LogFontToString(const LOGFONT& font, CString& text) {
  const char* faceEnd = static_cast<const char*>(std::memchr(font.lfFaceName, '\0', LF_FACESIZE));
  std::string face(font.lfFaceName, faceEnd != nullptr ? faceEnd : font.lfFaceName + LF_FACESIZE);
  text.Format("%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%s", font.lfHeight, font.lfWidth, font.lfEscapement,
              font.lfOrientation, font.lfWeight, font.lfItalic, font.lfUnderline, font.lfStrikeOut,
              font.lfCharSet, font.lfOutPrecision, font.lfClipPrecision, font.lfQuality,
              font.lfPitchAndFamily, face.c_str());
}

bool StringToLogFont(const CString& text, LOGFONT& font) {
  int numbers[kFontNumberCount] = {
      font.lfHeight,        font.lfWidth,     font.lfEscapement,    font.lfOrientation, font.lfWeight,
      font.lfItalic,        font.lfUnderline, font.lfStrikeOut,     font.lfCharSet,     font.lfOutPrecision,
      font.lfClipPrecision, font.lfQuality,   font.lfPitchAndFamily};
  int read = ScanCommaIntegers(text.View(), numbers);
  font.lfHeight = numbers[0];
  font.lfWidth = numbers[1];
  font.lfEscapement = numbers[2];
  font.lfOrientation = numbers[3];
  font.lfWeight = numbers[4];
  font.lfItalic = static_cast<BYTE>(numbers[5]);
  font.lfUnderline = static_cast<BYTE>(numbers[6]);
  font.lfStrikeOut = static_cast<BYTE>(numbers[7]);
  font.lfCharSet = static_cast<BYTE>(numbers[8]);
  font.lfOutPrecision = static_cast<BYTE>(numbers[9]);
  font.lfClipPrecision = static_cast<BYTE>(numbers[10]);
  font.lfQuality = static_cast<BYTE>(numbers[11]);
  font.lfPitchAndFamily = static_cast<BYTE>(numbers[12]);

  std::string_view face = text.View();
  std::size_t lastComma = face.rfind(',');
  if (lastComma != std::string_view::npos) face.remove_prefix(lastComma + 1);
  face = face.substr(0, std::min<std::size_t>(face.find('\0'), LF_FACESIZE - 1));
  std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), '\0');
  std::copy(face.begin(), face.end(), font.lfFaceName);
  return read == kFontNumberCount;
}
