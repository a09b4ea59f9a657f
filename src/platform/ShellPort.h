#pragma once
// Links: a web address, a mail address or a file that the desktop opens with
// its own program (a link object's target in a score). The Qt shell hands
// them to the desktop; tests record them.

#include <string>
#include <string_view>
#include <vector>

class ShellPort {
 public:
  virtual ~ShellPort() = default;
  // Asks the desktop to open the target; false when it could not.
  virtual bool OpenLink(std::string_view target) = 0;
};

class FakeShellPort : public ShellPort {
 public:
  bool OpenLink(std::string_view target) override {
    m_links.emplace_back(target);
    return m_succeeds;
  }
  const std::vector<std::string>& Links() const { return m_links; }
  void SetSucceeds(bool succeeds) { m_succeeds = succeeds; }

 private:
  std::vector<std::string> m_links;
  bool m_succeeds = true;
};

namespace shell_port_detail {
class NoShell final : public ShellPort {
 public:
  bool OpenLink(std::string_view) override { return false; }
};
inline NoShell g_noShell;
inline ShellPort* g_shellPort = nullptr;
}  // namespace shell_port_detail

// The port in use; without one installed, nothing opens.
inline ShellPort& CurrentShellPort() {
  return shell_port_detail::g_shellPort ? *shell_port_detail::g_shellPort : shell_port_detail::g_noShell;
}
// Installs a port (not owned); returns the previous one. nullptr: none.
inline ShellPort* SetShellPort(ShellPort* port) {
  ShellPort* previous = shell_port_detail::g_shellPort;
  shell_port_detail::g_shellPort = port;
  return previous;
}

// Opens a link target through the current port (the program's ShellExecute "open").
inline bool OpenLink(std::string_view target) { return CurrentShellPort().OpenLink(target); }
