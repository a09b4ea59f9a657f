#include "platform/HelpPort.h"
#include "platform/ShellPort.h"

#include <gtest/gtest.h>

namespace {

TEST(HelpPort, TopicsGoToTheInstalledPort) {
  FakeHelpPort help;
  HelpPort* previous = SetHelpPort(&help);
  ShowHelpTopic("HIDD_GOTO");
  ShowHelpTopic("main_index");
  SetHelpPort(previous);
  ShowHelpTopic("HIDD_KEY_SIG");  // no port: opens nothing
  EXPECT_EQ(help.Topics(), (std::vector<std::string>{"HIDD_GOTO", "main_index"}));
}

TEST(ShellPort, LinksGoToTheInstalledPortAndFailWithoutOne) {
  EXPECT_FALSE(OpenLink("www.example.com"));
  FakeShellPort shell;
  ShellPort* previous = SetShellPort(&shell);
  EXPECT_TRUE(OpenLink("www.example.com"));
  shell.SetSucceeds(false);
  EXPECT_FALSE(OpenLink("mailto:someone@example.com"));
  SetShellPort(previous);
  EXPECT_EQ(shell.Links(), (std::vector<std::string>{"www.example.com", "mailto:someone@example.com"}));
}

}  // namespace
