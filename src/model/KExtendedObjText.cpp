// The texts that carry an attachment's geometry and its text fields in both
// stored forms (the archive record and the packed word record).
//
// Coded geometry (kinds 0, 1 and 6), a text without zero bytes:
//   byte 0, 1   offsetX, offsetY as signed bytes; 0 is written as -127 (and
//               -127 reads back as 0)
//   kinds 0, 1: then point0X, point0Y, point1X, point1Y, each as its four
//               bytes from the lowest, every byte as a pair: flag 1 and the
//               byte, or flag 2 and '*' for a zero byte (34 bytes in all)
//
// Composed text (the other kinds with a text, but kind 2):
//   text, 0xB5 up to a length of 50, '1' or '0' for the opaque flag, the font
//   text, then "!@@!" and the link target when there is one.
// A text of 50 characters or more does not fit that layout (older readers
// take the flag from character 50, inside the text). It is written as the
// text, one 0xB5, the flag and the font text; readers find the flag and the
// font text from the end of the text, where the font text's fixed form (13
// comma-separated numbers and a face name) stands, so the text comes back
// whole. An older reader of that layout keeps the whole text too.

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "model/AttachmentServices.h"
#include "model/KExtendedObj.h"

namespace {
constexpr char kPad = '\xB5';
// The text part of the composed text is padded to this length.
constexpr int kComposedTextWidth = 50;
// Older readers take the flag and the font text only from a composed text
// longer than this.
constexpr int kComposedMinLength = 81;
// A text box whose stored text starts with the padding shows this.
constexpr const char* kEmptyTextBox = "***";

// Coded geometry.
constexpr signed char kZeroOffset = -127;
constexpr char kByteFlag = 1;
constexpr char kZeroFlag = 2;
constexpr char kZeroByte = '*';
constexpr int kOffsetBytes = 2;
constexpr int kPointValues = 4;
constexpr int kBytesPerValue = 4;

// The number of comma-separated numbers in a font text before its face name.
constexpr int kFontTextNumbers = 13;

char OffsetByte(int offset) {
  const auto value = static_cast<signed char>(offset & 0xFF);
  return static_cast<char>(value == 0 ? kZeroOffset : value);
}

int OffsetValue(const CString& coded, int index) {
  if (index >= coded.GetLength()) return 0;
  const auto value = static_cast<signed char>(coded.GetAt(index));
  return value == kZeroOffset ? 0 : value;
}

bool IsInteger(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  if (text.empty()) return false;
  for (char ch : text) {
    if (!std::isdigit(static_cast<unsigned char>(ch))) return false;
  }
  return true;
}

// A font text of the stored form: 13 comma-separated integers and a face
// name without commas.
bool IsWellFormedFontText(std::string_view text) {
  for (int k = 0; k < kFontTextNumbers; ++k) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos || !IsInteger(text.substr(0, comma))) return false;
    text.remove_prefix(comma + 1);
  }
  return text.find(',') == std::string_view::npos;
}

// The largest font height (in either sign) that a font text after a flag is
// taken to start with when the flag has no 0xB5 before it: the flag is then
// told from digits at the end of the text by the height it leaves.
constexpr int kLargestFontHeight = 100;

// Where the text of a composed text ends and its flag and font text start.
struct FontTrailer {
  int textEnd = -1;  // the length of the text part; -1 when there is no trailer
  int flag = -1;     // the index of the flag character
  bool padded = false;  // the text part is padded up to the flag
};

// Finds the flag and the font text at the end of a composed text (the font
// text ends the text and has exactly 13 commas). Two layouts end that way:
//  - the flag right after a 0xB5: the padded layout of a short text, and this
//    program's layout of a long one (the text, one 0xB5, the flag);
//  - a text of 50 characters or more written whole and followed at once by
//    the flag, as older writers store it. The flag is then the first digit
//    from character 50 on, in the run of digits before the first comma, that
//    leaves a plausible font height after it.
FontTrailer FindFontTrailer(std::string_view text) {
  int commas[kFontTextNumbers];
  int found = 0;
  for (int i = static_cast<int>(text.size()) - 1; i >= 0 && found < kFontTextNumbers; --i) {
    if (text[i] == ',') commas[kFontTextNumbers - 1 - found++] = i;
  }
  if (found < kFontTextNumbers) return {};
  for (int k = 0; k + 1 < kFontTextNumbers; ++k) {
    if (!IsInteger(text.substr(commas[k] + 1, commas[k + 1] - commas[k] - 1))) return {};
  }
  // The flag is a digit too, so the run of digits before the first comma
  // holds the flag and the font height.
  int run = commas[0];
  while (run > 0 && (std::isdigit(static_cast<unsigned char>(text[run - 1])) || text[run - 1] == '-')) --run;
  auto isFlag = [&](int at) { return text[at] == '0' || text[at] == '1'; };
  auto heightAfter = [&](int at) { return text.substr(at + 1, commas[0] - at - 1); };

  if (run > 0 && text[run - 1] == kPad) {
    if (run + 1 >= commas[0] || !isFlag(run) || !IsInteger(heightAfter(run))) return {};
    return {run - 1, run, true};
  }
  for (int at = std::max(run, kComposedTextWidth); at + 1 < commas[0]; ++at) {
    const std::string_view height = heightAfter(at);
    if (!isFlag(at) || !IsInteger(height) || height.front() == '0') continue;
    const std::string_view digits = height.front() == '-' ? height.substr(1) : height;
    if (digits.size() > 3 || std::stoi(std::string(digits)) > kLargestFontHeight) continue;
    return {at, at, false};
  }
  return {};
}
}  // namespace

CString KExtendedObj::EncodeGeometry() const {
  CString coded;
  coded += OffsetByte(m_offsetX);
  coded += OffsetByte(m_offsetY);
  if (!IsCurve()) return coded;
  for (int value : {m_point0X, m_point0Y, m_point1X, m_point1Y}) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int k = 0; k < kBytesPerValue; ++k) {
      const auto byte = static_cast<char>((bits >> (8 * k)) & 0xFF);
      coded += byte != 0 ? kByteFlag : kZeroFlag;
      coded += byte != 0 ? byte : kZeroByte;
    }
  }
  return coded;
}

void KExtendedObj::DecodeGeometry(const CString& coded) {
  m_offsetX = OffsetValue(coded, 0);
  m_offsetY = OffsetValue(coded, 1);
  if (IsCurve()) {
    int values[kPointValues] = {};
    int at = kOffsetBytes;
    for (int& value : values) {
      std::uint32_t bits = 0;
      for (int k = 0; k < kBytesPerValue; ++k, at += 2) {
        if (at + 1 >= coded.GetLength() || coded.GetAt(at) == kZeroFlag) continue;
        bits |= static_cast<std::uint32_t>(static_cast<BYTE>(coded.GetAt(at + 1))) << (8 * k);
      }
      value = static_cast<int>(bits);
    }
    SetPoint(0, values[0], values[1]);
    SetPoint(1, values[2], values[3]);
  }
  m_text.Empty();
}

CString KExtendedObj::ComposeText() const {
  CString composed = m_text;
  const int length = m_text.GetLength();
  composed += length < kComposedTextWidth ? CString(kPad, kComposedTextWidth - length) : CString(kPad);
  composed += m_opaque ? '1' : '0';
  // A text always travels with a font text: readers give a text without one
  // the default font text anyway, and the flag is only read before a font text.
  // Readers find the flag by the font text's form, so a font text that does
  // not have it (or holds the link marker) travels as the default one.
  if (IsWellFormedFontText(m_fontText.View()) && m_fontText.Find(g_FretListMarker) < 0) {
    composed += m_fontText;
  } else {
    composed += m_kind == kNumberedBracket ? g_defaultNumberFontText : g_defaultTextFontText;
  }
  if (!m_linkTarget.IsEmpty()) composed += g_FretListMarker + m_linkTarget;
  return composed;
}

void KExtendedObj::DecomposeText(const CString& composed) {
  CString text = composed;
  m_fontText.Empty();
  m_linkTarget.Empty();
  const int marker = text.Find(g_FretListMarker);
  if (marker >= 0) {
    m_linkTarget = text.Mid(marker + g_FretListMarker.GetLength());
    text = text.Left(marker);
  }

  bool whole = false;  // the text was written whole, without padding
  m_opaque = 0;
  const FontTrailer trailer = FindFontTrailer(text.View());
  if (trailer.flag >= 0) {
    m_opaque = text.GetAt(trailer.flag) == '1' ? 1 : 0;
    m_fontText = text.Mid(trailer.flag + 1);
    // A pad right before character 50 is the short text's padding, which
    // ends at its first 0xB5; any other place ends a text written whole.
    whole = !trailer.padded || trailer.textEnd != kComposedTextWidth - 1;
    text = text.Left(whole ? trailer.textEnd : kComposedTextWidth);
  } else if (text.GetLength() > kComposedMinLength) {
    m_opaque = text.GetAt(kComposedTextWidth) == '1' ? 1 : 0;
    m_fontText = text.Mid(kComposedTextWidth + 1);
  }
  if (!whole) {
    const int pad = text.Find(kPad);
    if (pad == 0) {
      text = m_kind == kTextBox ? CString(kEmptyTextBox) : CString();
    } else if (pad > 0) {
      text = text.Left(pad);
    }
  }
  m_text = text;

  if (!m_text.IsEmpty() && m_fontText.IsEmpty()) {
    m_fontText = m_kind == kNumberedBracket ? g_defaultNumberFontText : g_defaultTextFontText;
  }
  if (m_kind == kNumberedBracket) m_linkTarget.Empty();
  if (!m_text.IsEmpty()) {
    MakeFont();
    if (m_color != 0) g_coloredText = 1;
  } else {
    m_color = 0;
    m_opaque = 0;
    DeleteFont();
  }
  if (g_staffLines3Second == kStaffLinesNoOpaque) m_opaque = 0;
}

CString KExtendedObj::StoredText() const {
  if (HasCodedGeometry()) return EncodeGeometry();
  if (m_kind == kNumberedBracket || m_text.IsEmpty()) return m_text;
  return ComposeText();
}
