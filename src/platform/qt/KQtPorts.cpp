#include "platform/qt/KQtPorts.h"

#include "platform/ImageFiles.h"

KQtPorts::KQtPorts() {
  SetUiPort(&m_ui);
  SetClipboardPort(&m_clipboard);
  SetKeyStatePort(&m_keys);
  SetShellPort(&m_shell);
  SetHelpPort(&m_help);
  SetSymbolLoader(&m_symbols);
  SetPngWriter(&m_png);
}

KQtPorts::~KQtPorts() {
  SetPngWriter(nullptr);
  SetSymbolLoader(nullptr);
  SetHelpPort(nullptr);
  SetShellPort(nullptr);
  SetKeyStatePort(nullptr);
  SetClipboardPort(nullptr);
  SetUiPort(nullptr);
}
