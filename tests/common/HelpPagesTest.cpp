// Every help topic the program can open has its page in the help folder,
// and the links between the pages lead to pages that exist.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "common/HelpTopics.h"

namespace {

const std::filesystem::path kHelpFolder = std::filesystem::path(STAVLIN_RESOURCE_DIR) / "help";

std::string ReadPage(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(HelpPages, EveryTopicHasAPageWithATitleAndText) {
  for (int i = 0; i < kHelpTopicCount; ++i) {
    const auto topic = static_cast<HelpTopic>(i);
    const std::filesystem::path page(HelpPagePath(CString(kHelpFolder.string()), topic).Str());
    SCOPED_TRACE(std::string(HelpTopicName(topic)));
    ASSERT_TRUE(std::filesystem::is_regular_file(page)) << page;
    const std::string html = ReadPage(page);
    EXPECT_NE(html.find("<title>"), std::string::npos);
    EXPECT_NE(html.find("<p>"), std::string::npos);
  }
}

TEST(HelpPages, EveryLinkBetweenPagesLeadsToAPage) {
  const std::regex link("href=\"([^\"#:]+\\.html)\"");
  for (const auto& entry : std::filesystem::directory_iterator(kHelpFolder)) {
    const std::string html = ReadPage(entry.path());
    for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it) {
      EXPECT_TRUE(std::filesystem::is_regular_file(kHelpFolder / (*it)[1].str()))
          << entry.path().filename() << " links to " << (*it)[1];
    }
  }
}

}  // namespace
