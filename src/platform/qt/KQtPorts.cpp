#include "platform/qt/KQtPorts.h"

KQtPorts::KQtPorts() {
  SetUiPort(&m_ui);
  SetClipboardPort(&m_clipboard);
  SetKeyStatePort(&m_keys);
  SetShellPort(&m_shell);
  SetHelpPort(&m_help);
  SetSymbolLoader(&m_symbols);
}

KQtPorts::~KQtPorts() {
  SetSymbolLoader(nullptr);
  SetHelpPort(nullptr);
  SetShellPort(nullptr);
  SetKeyStatePort(nullptr);
  SetClipboardPort(nullptr);
  SetUiPort(nullptr);
}
