#pragma once
// The clipboard port on the desktop clipboard. Plain text is the clipboard's
// text (Windows-1252 bytes converted at this boundary, CR LF line ends in the
// core, LF on the desktop); each private format is its own MIME type,
// application/x-qt-windows-mime;value="<name>", the type Qt gives a named
// Windows clipboard format, so the data also meets the program on Windows.
//
// Asking the desktop clipboard what it holds is a round trip to the display
// server (on X, one GetSelectionOwner per question, and a conversion when
// another program owns the clipboard). The menus ask after every key, so the
// answers are kept until the clipboard says it changed (its dataChanged
// signal, which X delivers when any program takes the clipboard).

#include <QMetaObject>
#include <QString>
#include <map>

#include "platform/Clipboard.h"

class KQtClipboard : public ClipboardPort {
 public:
  KQtClipboard();
  ~KQtClipboard() override;
  KQtClipboard(const KQtClipboard&) = delete;
  KQtClipboard& operator=(const KQtClipboard&) = delete;

  // The MIME type that carries a private format, by the format's name.
  static QString MimeTypeOf(UINT format);

 protected:
  void EmptyStore() override;
  bool Store(UINT format, std::vector<BYTE> bytes) override;
  std::optional<std::vector<BYTE>> Fetch(UINT format) override;
  bool Holds(UINT format) override;

 private:
  // Listens to the desktop clipboard's changes once an application exists;
  // whether it does.
  bool Watch();

  std::map<UINT, bool> m_holds;  // answers since the clipboard last changed
  QMetaObject::Connection m_changed;
};
