#pragma once
// The clipboard as the program uses it: open it, empty it, put data on it by
// format, read data by format, close it. Formats are numbers: CF_TEXT for
// plain text (Windows-1252 bytes) and private formats registered by name
// (such as "Stavlin", a score's word stream), numbered from 0xC000 as Windows
// numbers them. The Qt shell puts formats on the desktop clipboard
// (KQtClipboard); MemoryClipboard keeps them in memory for tests and headless
// use.
//
// As with Windows, data can be put and read only while the clipboard is open,
// and only one user may have it open at a time.

#include "platform/WinTypes.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr UINT CF_TEXT = 1;

class ClipboardPort {
 public:
  virtual ~ClipboardPort() = default;

  // The number of a private format; the same name (compared without regard to
  // case) always gives the same number, on every clipboard of the process. 0
  // for an empty name.
  static UINT RegisterFormat(std::string_view name);
  // The name a private format was registered with; empty for other numbers.
  static std::string FormatName(UINT format);

  // FALSE when it is already open.
  BOOL Open();
  // FALSE when it was not open.
  BOOL Close();
  bool IsOpen() const { return m_open; }

  // Removes every format; FALSE when not open.
  BOOL Empty();
  // Puts one format's data on the clipboard, replacing that format's data
  // before it. CF_TEXT takes the bytes up to the first NUL. FALSE when not
  // open, for an unknown format number, or when the data cannot be stored.
  BOOL SetData(UINT format, std::vector<BYTE> bytes);
  // A format's data; nothing when not open or when the format is not there.
  std::optional<std::vector<BYTE>> GetData(UINT format);
  // Whether the clipboard holds the format (open or not).
  bool IsFormatAvailable(UINT format);

 protected:
  // The storage beneath; the base class checks the open state and formats.
  virtual void EmptyStore() = 0;
  virtual bool Store(UINT format, std::vector<BYTE> bytes) = 0;
  virtual std::optional<std::vector<BYTE>> Fetch(UINT format) = 0;
  virtual bool Holds(UINT format) = 0;

  static bool IsKnownFormat(UINT format);

 private:
  bool m_open = false;
};

// The clipboard in memory. Tests can make storing fail, as when the system
// has no memory for the data.
class MemoryClipboard : public ClipboardPort {
 public:
  void SetStoreFails(bool fails) { m_storeFails = fails; }

 protected:
  void EmptyStore() override { m_data.clear(); }
  bool Store(UINT format, std::vector<BYTE> bytes) override;
  std::optional<std::vector<BYTE>> Fetch(UINT format) override;
  bool Holds(UINT format) override { return m_data.count(format) != 0; }

 private:
  std::map<UINT, std::vector<BYTE>> m_data;
  bool m_storeFails = false;
};

// The clipboard in use; without one installed, a MemoryClipboard of the process.
ClipboardPort& CurrentClipboard();
ClipboardPort* SetClipboardPort(ClipboardPort* port);  // returns the previous; nullptr: the memory one

// The Windows calls on the current clipboard.
UINT RegisterClipboardFormat(const char* name);
BOOL OpenClipboard();
BOOL CloseClipboard();
BOOL EmptyClipboard();
BOOL SetClipboardData(UINT format, std::vector<BYTE> bytes);
std::optional<std::vector<BYTE>> GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
