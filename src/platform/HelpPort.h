#pragma once
// Help topics: every Help button and help command opens a topic by its name
// (such as "HIDD_GOTO" or "main_index"). The Qt shell shows the topic's page
// from the help folder; tests record the topics asked for.

#include <string>
#include <string_view>
#include <vector>

class HelpPort {
 public:
  virtual ~HelpPort() = default;
  // Opens the topic in a help window that lives on its own, so it stays
  // open when the dialog that asked for it closes. Failures are the help
  // window's to show; the caller goes on.
  virtual void ShowTopic(std::string_view topic) = 0;
};

class FakeHelpPort : public HelpPort {
 public:
  void ShowTopic(std::string_view topic) override { m_topics.emplace_back(topic); }
  const std::vector<std::string>& Topics() const { return m_topics; }

 private:
  std::vector<std::string> m_topics;
};

namespace help_port_detail {
class NoHelp final : public HelpPort {
 public:
  void ShowTopic(std::string_view) override {}
};
inline NoHelp g_noHelp;
inline HelpPort* g_helpPort = nullptr;
}  // namespace help_port_detail

// The port in use; without one installed, topics open nothing.
inline HelpPort& CurrentHelpPort() {
  return help_port_detail::g_helpPort ? *help_port_detail::g_helpPort : help_port_detail::g_noHelp;
}
// Installs a port (not owned); returns the previous one. nullptr: none.
inline HelpPort* SetHelpPort(HelpPort* port) {
  HelpPort* previous = help_port_detail::g_helpPort;
  help_port_detail::g_helpPort = port;
  return previous;
}

// Opens a help topic by name.
inline void ShowHelpTopic(std::string_view topic) { CurrentHelpPort().ShowTopic(topic); }
