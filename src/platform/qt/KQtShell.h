#pragma once
// The shell port on the desktop: links open with the desktop's program for
// them (the browser for web addresses, the mail program for mailto:, the
// document's program for a local file).
//
// Link targets come from score files, which may come from anywhere, so only
// what a reader would expect a link to do is opened: web and mail addresses,
// and local documents. Programs, desktop launchers and other URL schemes are
// refused, since opening them would run something.

#include "platform/ShellPort.h"

class QUrl;

class KQtShell : public ShellPort {
 public:
  // The target as the user would type it: "www.example.com" is a web
  // address, a path is a local file.
  bool OpenLink(std::string_view target) override;

  // Whether a link may be handed to the desktop.
  static bool IsSafeLink(const QUrl& url);
};
