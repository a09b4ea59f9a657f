#include "platform/Clipboard.h"

#include <algorithm>

namespace {

constexpr UINT kFirstPrivateFormat = 0xC000;

std::string Lowered(std::string_view name) {
  std::string out(name);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return out;
}

// Format numbers are the process's, shared by every clipboard, so a format
// registered at start-up keeps its number whichever clipboard is in use.
struct FormatRegistry {
  std::map<std::string, UINT> formatsByName;  // names in lower case
  std::map<UINT, std::string> namesByFormat;
};

FormatRegistry& Formats() {
  static FormatRegistry registry;
  return registry;
}

ClipboardPort* g_clipboard = nullptr;

}  // namespace

UINT ClipboardPort::RegisterFormat(std::string_view name) {
  if (name.empty()) return 0;
  FormatRegistry& formats = Formats();
  const std::string key = Lowered(name);
  if (const auto it = formats.formatsByName.find(key); it != formats.formatsByName.end()) return it->second;
  const UINT format = kFirstPrivateFormat + static_cast<UINT>(formats.formatsByName.size());
  formats.formatsByName.emplace(key, format);
  formats.namesByFormat.emplace(format, std::string(name));
  return format;
}

std::string ClipboardPort::FormatName(UINT format) {
  const FormatRegistry& formats = Formats();
  const auto it = formats.namesByFormat.find(format);
  return it == formats.namesByFormat.end() ? std::string() : it->second;
}

bool ClipboardPort::IsKnownFormat(UINT format) {
  return format == CF_TEXT || Formats().namesByFormat.count(format) != 0;
}

BOOL ClipboardPort::Open() {
  if (m_open) return FALSE;
  m_open = true;
  return TRUE;
}

BOOL ClipboardPort::Close() {
  if (!m_open) return FALSE;
  m_open = false;
  return TRUE;
}

BOOL ClipboardPort::Empty() {
  if (!m_open) return FALSE;
  EmptyStore();
  return TRUE;
}

BOOL ClipboardPort::SetData(UINT format, std::vector<BYTE> bytes) {
  if (!m_open || !IsKnownFormat(format)) return FALSE;
  if (format == CF_TEXT) {
    const auto nul = std::find(bytes.begin(), bytes.end(), BYTE{0});
    bytes.erase(nul, bytes.end());
  }
  return Store(format, std::move(bytes)) ? TRUE : FALSE;
}

std::optional<std::vector<BYTE>> ClipboardPort::GetData(UINT format) {
  if (!m_open || !IsKnownFormat(format)) return std::nullopt;
  return Fetch(format);
}

bool ClipboardPort::IsFormatAvailable(UINT format) { return IsKnownFormat(format) && Holds(format); }

bool MemoryClipboard::Store(UINT format, std::vector<BYTE> bytes) {
  if (m_storeFails) return false;
  m_data[format] = std::move(bytes);
  return true;
}

std::optional<std::vector<BYTE>> MemoryClipboard::Fetch(UINT format) {
  const auto it = m_data.find(format);
  if (it == m_data.end()) return std::nullopt;
  return it->second;
}

ClipboardPort& CurrentClipboard() {
  static MemoryClipboard processClipboard;
  return g_clipboard ? *g_clipboard : processClipboard;
}

ClipboardPort* SetClipboardPort(ClipboardPort* port) {
  ClipboardPort* previous = g_clipboard;
  g_clipboard = port;
  return previous;
}

UINT RegisterClipboardFormat(const char* name) { return CurrentClipboard().RegisterFormat(name ? name : ""); }
BOOL OpenClipboard() { return CurrentClipboard().Open(); }
BOOL CloseClipboard() { return CurrentClipboard().Close(); }
BOOL EmptyClipboard() { return CurrentClipboard().Empty(); }
BOOL SetClipboardData(UINT format, std::vector<BYTE> bytes) {
  return CurrentClipboard().SetData(format, std::move(bytes));
}
std::optional<std::vector<BYTE>> GetClipboardData(UINT format) { return CurrentClipboard().GetData(format); }
BOOL IsClipboardFormatAvailable(UINT format) {
  return CurrentClipboard().IsFormatAvailable(format) ? TRUE : FALSE;
}
