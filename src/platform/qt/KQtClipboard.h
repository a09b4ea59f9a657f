#pragma once
// The clipboard port on the desktop clipboard. Plain text is the clipboard's
// text (Windows-1252 bytes converted at this boundary, CR LF line ends in the
// core, LF on the desktop); each private format is its own MIME type,
// application/x-qt-windows-mime;value="<name>", the type Qt gives a named
// Windows clipboard format, so the data also meets the program on Windows.

#include "platform/Clipboard.h"

#include <QString>

class KQtClipboard : public ClipboardPort {
 public:
  // The MIME type that carries a private format, by the format's name.
  static QString MimeTypeOf(UINT format);

 protected:
  void EmptyStore() override;
  bool Store(UINT format, std::vector<BYTE> bytes) override;
  std::optional<std::vector<BYTE>> Fetch(UINT format) override;
  bool Holds(UINT format) override;
};
