#include "translate/KTextDoc.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#include "platform/Cp1252.h"
#include "platform/FileBytes.h"

namespace {

constexpr std::array<KTextDoc::KTextKind, 6> kKinds{{
    {".txt", "Text Files (*.txt)"},
    {".tab", "Text-Tab Files (*.tab)"},
    {".crd", "Chord Files (*.crd)"},
    {".bta", "Bass Tab Files (*.bta)"},
    {".pro", "Pro Files (*.pro)"},
    {".abc", "ABC Files (*.abc)"},
}};

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

std::span<const KTextDoc::KTextKind> KTextDoc::Kinds() { return kKinds; }

bool KTextDoc::IsTextFileName(std::string_view path) {
  const std::string lower = Lower(path);
  return std::any_of(kKinds.begin(), kKinds.end(),
                     [&lower](const KTextKind& kind) { return EndsWith(lower, kind.extension); });
}

bool KTextDoc::Load(const std::string& path, CString& message) {
  const CString shown(std::string_view(cp1252::FromUtf8(path)));
  const fileio::ReadResult read = fileio::ReadFileUpTo(std::filesystem::path(path), kMaxFileBytes);
  if (read.error == fileio::ReadError::kTooLarge) {
    message = "The file " + shown + " is too large to open as text (more than 64 MB).";
    return false;
  }
  if (!read.ok()) {
    message = CString(std::string_view(read.message));
    return false;
  }
  if (!LoadBytes(read.bytes)) {
    message = "The file " + shown + " holds binary data, not text, and was not opened.";
    return false;
  }
  m_path = path;
  return true;
}

bool KTextDoc::LoadBytes(std::span<const std::uint8_t> bytes) {
  KDecodedText decoded = DecodeTextFile(bytes);
  if (decoded.binary) return false;
  m_text = std::move(decoded.text);
  m_form = decoded.form;
  m_modified = false;
  return true;
}

bool KTextDoc::Save(const std::string& path, CString& message) {
  KTextFileForm form = m_form;
  const std::vector<std::uint8_t> bytes = EncodeTextFile(m_text, form);
  const fileio::WriteResult written =
      fileio::ReplaceFile(std::filesystem::path(path), std::as_bytes(std::span(bytes.data(), bytes.size())));
  if (!written.ok) {
    // As a failed save of a score is told: the file, then the reason.
    message = CString("Stavlin could not save the text as ") + CString::FromUtf8(path) +
              "\nThe file that was there before (if any) has not been changed.\n( " +
              CString(std::string_view(written.message)) + " )";
    return false;
  }
  m_form = form;
  m_path = path;
  m_modified = false;
  return true;
}

void KTextDoc::SetText(std::string_view utf8) {
  m_text = WithLineFeeds(utf8);
  m_modified = true;
}

CString KTextDoc::TextForScore() const { return CString(std::string_view(cp1252::FromUtf8(m_text))); }

void KTextDoc::SetTextFromScore(const CString& text) { SetText(cp1252::ToUtf8(text.View())); }

std::string KTextDoc::GetTitle() const {
  if (!m_path.empty()) return std::filesystem::path(m_path).filename().string();
  return m_title.empty() ? std::string("Untitled") : m_title;
}

std::string KTextDoc::ScoreTitle() const {
  const std::string name = GetTitle();
  const size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

bool KTextDoc::IsAbcFile() const { return EndsWith(Lower(m_path.empty() ? m_title : m_path), ".abc"); }

KTextDoc::KHandOver KTextDoc::DecideHandOver(bool newEmpty, bool importingAbc, bool handAllText, bool handAbc,
                                             bool translateTab) const {
  KHandOver handOver;
  if (newEmpty) return handOver;
  const bool abc = importingAbc || (handAbc && IsAbcFile());
  if (!abc && !handAllText) return handOver;
  handOver.toScore = true;
  handOver.abc = abc;
  handOver.tablature = !abc && translateTab;
  return handOver;
}
