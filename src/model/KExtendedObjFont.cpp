// The text side of an attachment: its font and colour made from the font
// text, its link target and the measuring of its text.

#include <charconv>

#include "common/FontCodec.h"
#include "model/AttachmentServices.h"
#include "model/KExtendedObj.h"
#include "platform/CDC.h"

namespace {
// The height the estimate uses when the font text gives none that is usable.
constexpr int kEstimateHeight = 13;
constexpr int kMinEstimateHeight = 2;
constexpr int kMaxEstimateHeight = 50;
// A link target needs this prefix unless it names a web or ftp host.
constexpr const char* kWebPrefix = "www.";
constexpr const char* kFtpPrefix = "ftp.";
constexpr int kShortestTarget = 5;

// The font text's first number (the font height), or the estimate's height
// when it is missing or outside 2..50.
int EstimateHeight(const CString& fontText) {
  const std::string_view text = fontText.View();
  int height = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), height);
  if (error != std::errc() || end == text.data()) return kEstimateHeight;
  if (height < kMinEstimateHeight || height > kMaxEstimateHeight) return kEstimateHeight;
  return height;
}
}  // namespace

void KExtendedObj::DeleteFont() {
  m_font.DeleteObject();
  m_fontPtr = nullptr;
}

void KExtendedObj::MakeFont() {
  DeleteFont();
  if (m_fontText.IsEmpty()) return;
  LOGFONT font;
  StringToLogFont(m_fontText, font);
  // The font text keeps the text colour in its escapement field.
  m_color = static_cast<COLORREF>(font.lfEscapement);
  font.lfEscapement = 0;
  if (!m_linkTarget.IsEmpty()) {
    font.lfUnderline = 1;
    m_color = m_visited ? kVisitedLinkColor : kLinkColor;
  }
  if (m_font.CreateFontIndirect(&font)) m_fontPtr = &m_font;
}

CFont* KExtendedObj::EnsureFont() {
  if (!m_fontPtr && !m_fontText.IsEmpty()) MakeFont();
  return m_fontPtr;
}

void KExtendedObj::SetFontText(const CString& fontText) {
  if (fontText.IsEmpty()) return;
  m_fontText = fontText;
  MakeFont();
}

void KExtendedObj::SetText(const CString& text) {
  m_text = text;
  if (!m_text.IsEmpty() && m_fontText.IsEmpty()) {
    SetFontText(m_kind == kNumberedBracket ? g_defaultNumberFontText : g_defaultTextFontText);
  }
}

void KExtendedObj::SetLinkTarget(const CString& target) {
  if (target.IsEmpty()) {
    // No target: the text is no longer a link, and loses the link's colour
    // and underline.
    if (m_linkTarget.IsEmpty()) return;
    m_linkTarget.Empty();
    m_visited = 0;
    MakeFont();
    return;
  }
  const bool namesHost = target.Find(kWebPrefix) >= 0 || target.Find(kFtpPrefix) >= 0;
  m_linkTarget = target.GetLength() < kShortestTarget || !namesHost ? CString(kWebPrefix) + target : target;
  MakeFont();
}

void KExtendedObj::SetVisited(int visited) {
  const int was = m_visited;
  m_visited = visited;
  if (!was && visited) MakeFont();
}

CSize KExtendedObj::TextExtent(CDC* dc) {
  if (dc && EnsureFont()) {
    CFont* old = dc->SelectObject(m_fontPtr);
    SIZE size;
    dc->GetTextExtentPoint32(m_text.View(), &size);
    if (old) dc->SelectObject(old);
    return size;
  }
  const int height = EstimateHeight(m_fontText);
  return {static_cast<int>(static_cast<long long>(m_text.GetLength()) * height * 3 / 8), height};
}
