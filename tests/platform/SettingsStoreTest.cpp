#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/SettingsStore.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

using stavlin_test::RunInChild;

namespace {

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override { path_ = dir_ / "stavlin" / "settings.txt"; }

  std::optional<std::string> ValueIn(const KSettingsStore& store, const char* group) {
    const std::optional<KSettingsTable::Group> found = store.Find(group);
    return found ? found->value : std::nullopt;
  }

  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_.parent_path())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  stavlin_test::TempFolder folder_{"settings"};
  const fs::path& dir_ = folder_.Path();
  fs::path path_;
};

TEST_F(SettingsStore, EveryTextSurvivesTheFileByteForByte) {
  std::string everyByte;
  for (int b = 1; b < 256; ++b) everyByte += static_cast<char>(b);
  struct Case {
    const char* group;
    std::string text;
  };
  const Case cases[] = {
      {"LineGroups", "1,0,530,0,1,,2,1,,"},
      {"TabFont", "15,0,0,0,700,0,0,0,0,3,2,1,34,Arial"},
      {"TabTuning", "E A D G B E  323742475156"},
      {"BassTabTuning", "  E A D G   "},
      {"StartFolder", "C:\\Users\\Fl\xFCgel\\Stavlin\\Samples\\"},
      {"AltTunings", "^D A D G A D  38455055576250-Dsus \x96 \x80 \x81"},
      {"Odd=Name", "a=b\nc\r\td\\n"},
      {"#NotAComment", ""},
      {"EveryByte", everyByte},
  };
  {
    KFileSettingsStore store(path_);
    for (const Case& c : cases) ASSERT_EQ(store.SetValue(c.group, c.text), KSettingsResult::kDone) << c.group;
  }
  const KFileSettingsStore reloaded(path_);
  for (const Case& c : cases) EXPECT_EQ(ValueIn(reloaded, c.group), c.text) << c.group;

  // The file is UTF-8 text, one line per group, readable by a person.
  const std::string file = ReadText(path_);
  EXPECT_NE(file.find("\nLineGroups=1,0,530,0,1,,2,1,,\n"), std::string::npos);
  EXPECT_NE(file.find("\nStartFolder=C:\\\\Users\\\\Fl\xC3\xBCgel\\\\Stavlin\\\\Samples\\\\\n"),
            std::string::npos);
  EXPECT_EQ(static_cast<size_t>(std::count(file.begin(), file.end(), '\n')), 1 + std::size(cases));
}

TEST_F(SettingsStore, NamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
  KFileSettingsStore store(path_);
  ASSERT_EQ(store.SetValue("StaffLines", "1,700,0,0,1,1,0"), KSettingsResult::kDone);
  ASSERT_EQ(store.SetValue("STAFFLINES", "0,800,0,0,1,1,0"), KSettingsResult::kDone);

  const std::optional<KSettingsTable::Group> found = KFileSettingsStore(path_).Find("stafflines");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->name, "StaffLines");
  EXPECT_EQ(found->value, "0,800,0,0,1,1,0");
  EXPECT_EQ(store.GroupNames(), std::vector<std::string>{"StaffLines"});
}

TEST_F(SettingsStore, ADamagedFileIsReadAsFarAsItIsSoundAndKeptOnRewrite) {
  // Lines this program cannot take as groups: comments, bytes that are not
  // UTF-8, a character Windows-1252 lacks, a bad escape, a line with no name,
  // binary junk. They stay in the file, in place, as they were.
  const std::string kept[] = {
      "Broken\xFF\xFE=1,2",
      "Chinese=\xE4\xB8\xAD",
      "BadEscape=\\q",
      "=no name",
      std::string("\x01\x02junk\0\x7F", 8),
  };
  std::string file = "# written by hand\nMidi=120,0,0,100,-1,1\r\n";
  for (const std::string& line : kept) file += line + "\n";
  file += "UnknownFuture=7,7,7\nmidi=shadowed by the first spelling\nNoValue\nLast=no newline";
  fs::create_directories(path_.parent_path());
  WriteText(path_, file);

  KFileSettingsStore store(path_);
  EXPECT_EQ(ValueIn(store, "MIDI"), "120,0,0,100,-1,1");
  EXPECT_EQ(ValueIn(store, "UnknownFuture"), "7,7,7");
  EXPECT_EQ(ValueIn(store, "Last"), "no newline");
  ASSERT_TRUE(store.Find("NoValue"));
  EXPECT_FALSE(store.Find("NoValue")->value);
  EXPECT_FALSE(store.Find("BadEscape"));

  ASSERT_EQ(store.SetValue("Midi", "90,1,0,100,-1,1"), KSettingsResult::kDone);
  std::string expected = "# written by hand\nMidi=90,1,0,100,-1,1\n";
  for (const std::string& line : kept) expected += line + "\n";
  expected += "UnknownFuture=7,7,7\nNoValue\nLast=no newline\n";
  EXPECT_EQ(ReadText(path_), expected);
}

TEST_F(SettingsStore, AWriteThatFailsMidwayLeavesTheOldFileWhole) {
  KFileSettingsStore store(path_);
  ASSERT_EQ(store.SetValue("LineGroups", "1,0,530,0,1,,2,1,,"), KSettingsResult::kDone);
  const std::string before = ReadText(path_);

  // The child may write files of at most 4 KB, so its 100 KB text breaks off
  // in the middle of the temporary file, as a full disk would.
  const int result = RunInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
    return store.SetValue("ToolBoxPos", std::string(100000, '7')) == KSettingsResult::kWriteFailed ? 0 : 1;
  });
  ASSERT_NE(result, 2) << "could not limit the file size";
  EXPECT_EQ(result, 0) << "the failed write must be reported";

  EXPECT_EQ(ReadText(path_), before);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"settings.txt"});
  const KFileSettingsStore reloaded(path_);
  EXPECT_EQ(ValueIn(reloaded, "LineGroups"), "1,0,530,0,1,,2,1,,");
  EXPECT_FALSE(reloaded.Find("ToolBoxPos"));
}

TEST_F(SettingsStore, RefusesChangesWhereTheFileCannotBeReadOrWritten) {
  // A settings "file" that is a folder cannot be read: replacing it would lose
  // what it holds. A path below a plain file cannot be made at all.
  fs::create_directories(path_);
  WriteText(dir_ / "plain", "x");
  for (const fs::path& path : {path_, dir_ / "plain" / "settings.txt", fs::path()}) {
    SCOPED_TRACE(path.string());
    KFileSettingsStore store(path);
    EXPECT_EQ(store.SetValue("Midi", "1"), KSettingsResult::kWriteFailed);
    EXPECT_FALSE(store.Find("Midi"));
  }
  EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(SettingsStore, TwoStoresOnOneFileKeepEachOthersChanges) {
  KFileSettingsStore first(path_);
  KFileSettingsStore second(path_);
  ASSERT_EQ(first.SetValue("Midi", "120,0,0,100,-1,1"), KSettingsResult::kDone);
  ASSERT_EQ(second.SetValue("MidiInput", "2,1,1,0,38,120,100,1,1,3,0,9"), KSettingsResult::kDone);
  ASSERT_EQ(first.DeleteGroup("MIDIINPUT"), KSettingsResult::kDone);
  EXPECT_EQ(first.DeleteGroup("MidiInput"), KSettingsResult::kNotFound);

  EXPECT_EQ(KFileSettingsStore(path_).GroupNames(), std::vector<std::string>{"Midi"});
}

TEST_F(SettingsStore, ReadsTheFileOnceUntilSomeoneElseChangesIt) {
  fs::create_directories(path_.parent_path());
  std::string text = "Big=" + std::string(1 << 20, '7') + "\n";
  for (int i = 0; i < 110; ++i) text += "Group" + std::to_string(i) + "=" + std::to_string(i) + "\n";
  WriteText(path_, text);

  KFileSettingsStore store(path_);
  // Every preference read at start, and one written back.
  for (int i = 0; i < 110; ++i)
    EXPECT_EQ(ValueIn(store, ("Group" + std::to_string(i)).c_str()), std::to_string(i));
  EXPECT_EQ(store.FileReads(), 1);
  ASSERT_EQ(store.SetValue("Group3", "33"), KSettingsResult::kDone);
  EXPECT_EQ(ValueIn(store, "Group3"), "33");
  EXPECT_EQ(store.FileReads(), 1) << "its own write needs no new read";

  // Another copy of the program writes: the store sees it, and keeps it.
  KFileSettingsStore other(path_);
  ASSERT_EQ(other.SetValue("Group4", "44"), KSettingsResult::kDone);
  EXPECT_EQ(ValueIn(store, "Group4"), "44");
  EXPECT_EQ(store.FileReads(), 2);
  ASSERT_EQ(store.SetValue("Group5", "55"), KSettingsResult::kDone);
  const KFileSettingsStore reloaded(path_);
  EXPECT_EQ(ValueIn(reloaded, "Group3"), "33");
  EXPECT_EQ(ValueIn(reloaded, "Group4"), "44");
  EXPECT_EQ(ValueIn(reloaded, "Group5"), "55");

  // A hand edit in place (same file, new contents) is seen too.
  WriteText(path_, "Group6=hand\n");
  EXPECT_EQ(ValueIn(store, "Group6"), "hand");
  EXPECT_FALSE(store.Find("Group3"));
}

TEST_F(SettingsStore, DefaultPathFollowsTheXdgConfigFolder) {
  const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = savedConfig ? savedConfig : "";
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  struct Case {
    const char* config;  // null: unset
    fs::path expected;
  };
  const Case cases[] = {
      {"/srv/cfg", "/srv/cfg/stavlin/settings.txt"},
      {nullptr, fs::path(home) / ".config/stavlin/settings.txt"},
      {"", fs::path(home) / ".config/stavlin/settings.txt"},
      {"relative/cfg", fs::path(home) / ".config/stavlin/settings.txt"},
  };
  for (const Case& c : cases) {
    if (c.config) {
      ::setenv("XDG_CONFIG_HOME", c.config, 1);
    } else {
      ::unsetenv("XDG_CONFIG_HOME");
    }
    EXPECT_EQ(KFileSettingsStore::DefaultPath(), c.expected) << (c.config ? c.config : "unset");
  }
  if (savedConfig) {
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace

namespace {

// A line kept as it was read keeps the carriage returns it ends with: each
// rewrite of the file used to lose one of them.
TEST(SettingsTable, KeptLineEndingInCarriageReturnsIsStableThroughRewrites) {
  const std::string file = "# by hand\nStaff=1\ndup=2\r\r\r\r\n\xFF\xFE\r\n";
  const std::string first = KSettingsTable::Parse(file).Format();
  EXPECT_EQ(first, "# by hand\nStaff=1\ndup=2\r\r\r\r\n\xFF\xFE\r\n");
  EXPECT_EQ(KSettingsTable::Parse(first).Format(), first);
}

}  // namespace
