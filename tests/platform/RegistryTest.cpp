#include "platform/Registry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/SettingsStore.h"

namespace {

class Registry : public ::testing::Test {
 protected:
  Registry() : scope_(std::make_unique<KMemorySettingsStore>()) {}

  // Opens "Software\Stavlin" as the preference reader does.
  HKEY OpenRoot() {
    HKEY root = nullptr;
    EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\Stavlin", &root), ERROR_SUCCESS);
    return root;
  }

  // The default value of a group, read with the reader's 1000-byte buffer.
  std::string Query(HKEY key, const char* subKey, LONG* error = nullptr) {
    char buffer[1000];
    LONG size = sizeof buffer;
    const LONG result = RegQueryValue(key, subKey, buffer, &size);
    if (error) *error = result;
    return result == ERROR_SUCCESS ? std::string(buffer) : std::string("<failed>");
  }

  KSettingsStoreScope scope_;
};

TEST_F(Registry, TextsWrittenByEitherPathReadBackByteForByte) {
  const char* texts[] = {
      "1,0,530,0,1,,2,1,,",
      "16,0,0,0,700,0,0,0,0,3,2,1,25,Courier New",
      "E A D G B E  323742475156",
      "^D A D G A D  38455055576250-Open D\x96low \x80",
      "",
  };
  HKEY root = OpenRoot();
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    // Written through the full path, read through the open root key with the
    // name in another case, and the other way round.
    ASSERT_EQ(RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\LineGroups", REG_SZ, text, 0),
              ERROR_SUCCESS);
    EXPECT_EQ(Query(root, "LINEGROUPS"), text);
    ASSERT_EQ(RegSetValue(root, "linegroups", REG_SZ, text, 0), ERROR_SUCCESS);
    EXPECT_EQ(Query(HKEY_CURRENT_USER, "software\\stavlin\\LineGroups"), text);
  }
  EXPECT_EQ(CurrentSettingsStore().GroupNames(), std::vector<std::string>{"LineGroups"});
  EXPECT_EQ(RegCloseKey(root), ERROR_SUCCESS);
}

TEST_F(Registry, MissingGroupOrValueFailsSoTheReaderWritesItsDefault) {
  HKEY root = OpenRoot();
  LONG error = 0;
  Query(root, "PgMargins", &error);
  EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);

  std::string text = "kept";
  EXPECT_EQ(RegQueryValueString(root, "PgMargins", text), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(text, "kept");
  HKEY group = nullptr;
  EXPECT_EQ(RegOpenKey(root, "PgMargins", &group), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(RegCreateKey(root, "PgMargins", &group), ERROR_SUCCESS);
  Query(root, "PgMargins", &error);
  EXPECT_EQ(error, ERROR_FILE_NOT_FOUND) << "a key without a value has nothing to read";

  ASSERT_EQ(RegSetValue(group, nullptr, REG_SZ, "25,25,25,25,0,9,9,9,9", 0), ERROR_SUCCESS);
  EXPECT_EQ(Query(group, ""), "25,25,25,25,0,9,9,9,9");
  EXPECT_EQ(Query(root, "PgMargins"), "25,25,25,25,0,9,9,9,9");
  EXPECT_EQ(RegCloseKey(group), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(root), ERROR_SUCCESS);
}

TEST_F(Registry, AValueLongerThanTheBufferFailsWithoutTouchingIt) {
  const std::string text(1200, 'x');
  ASSERT_EQ(RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\AltTunings", REG_SZ, text.c_str(), 0),
            ERROR_SUCCESS);
  struct Case {
    LONG bufferSize;
    LONG result;
  };
  const LONG needed = static_cast<LONG>(text.size() + 1);
  for (const Case& c :
       {Case{1000, ERROR_MORE_DATA}, Case{needed - 1, ERROR_MORE_DATA}, Case{needed, ERROR_SUCCESS}}) {
    SCOPED_TRACE(c.bufferSize);
    std::string buffer(static_cast<size_t>(c.bufferSize) + 16, '#');
    LONG size = c.bufferSize;
    EXPECT_EQ(RegQueryValue(HKEY_CURRENT_USER, "Software\\Stavlin\\AltTunings", buffer.data(), &size),
              c.result);
    EXPECT_EQ(size, needed);
    if (c.result == ERROR_SUCCESS) {
      EXPECT_EQ(std::string(buffer.c_str()), text);
    } else {
      EXPECT_EQ(buffer, std::string(buffer.size(), '#'));
    }
  }
  // The size alone, and the text whatever its length.
  LONG size = 0;
  EXPECT_EQ(RegQueryValue(HKEY_CURRENT_USER, "Software\\Stavlin\\AltTunings", nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, needed);
  std::string whole;
  EXPECT_EQ(RegQueryValueString(HKEY_CURRENT_USER, "Software\\Stavlin\\AltTunings", whole), ERROR_SUCCESS);
  EXPECT_EQ(whole, text);
}

TEST_F(Registry, DeletingKeys) {
  HKEY root = OpenRoot();
  ASSERT_EQ(RegSetValue(root, "Midi", REG_SZ, "120,0,0,100,-1,1", 0), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValue(root, "AltTunings", REG_SZ, "^x", 0), ERROR_SUCCESS);
  HKEY midi = nullptr;
  ASSERT_EQ(RegOpenKey(HKEY_CURRENT_USER, "Software\\Stavlin\\Midi", &midi), ERROR_SUCCESS);

  // The root goes only once it has no groups left.
  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Software\\Stavlin"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKey(root, "MIDI"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKey(root, "Midi"), ERROR_FILE_NOT_FOUND);
  LONG error = 0;
  Query(root, "Midi", &error);
  EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
  Query(midi, nullptr, &error);
  EXPECT_EQ(error, ERROR_KEY_DELETED);
  EXPECT_EQ(RegSetValue(midi, nullptr, REG_SZ, "1", 0), ERROR_KEY_DELETED);
  EXPECT_EQ(Query(root, "AltTunings"), "^x");

  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Software\\Stavlin\\AltTunings"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Software\\Stavlin"), ERROR_SUCCESS);
  EXPECT_TRUE(CurrentSettingsStore().GroupNames().empty());
  EXPECT_EQ(RegCloseKey(midi), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(root), ERROR_SUCCESS);
}

TEST_F(Registry, RejectsBadHandlesArgumentsAndKeysOutsideTheStore) {
  HKEY root = OpenRoot();
  ASSERT_EQ(RegCloseKey(root), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(root), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegSetValue(root, "Midi", REG_SZ, "1", 0), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);

  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKey(HKEY_CURRENT_USER, "Software\\Classes", &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\Other", &key), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\Stavlin\\Midi\\Deeper", &key), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\\\Stavlin", &key), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin", REG_SZ, "1", 0), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\Midi", 4, "1", 0), ERROR_INVALID_PARAMETER);
  char buffer[10];
  EXPECT_EQ(RegQueryValue(HKEY_CURRENT_USER, "Software\\Stavlin\\Midi", buffer, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_TRUE(CurrentSettingsStore().GroupNames().empty());
}

TEST_F(Registry, AChangeTheStoreCannotWriteFailsAndChangesNothing) {
  // The file would have to go below a plain file, which no one can do.
  const std::filesystem::path blocker =
      std::filesystem::temp_directory_path() / ("stavlin-registry-" + std::to_string(::getpid()));
  { std::ofstream(blocker) << "x"; }
  KSettingsStoreScope unwritable(std::make_unique<KFileSettingsStore>(blocker / "settings.txt"));

  EXPECT_EQ(RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\Midi", REG_SZ, "1", 0), ERROR_CANTWRITE);
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\Stavlin\\Midi", &key), ERROR_CANTWRITE);
  LONG error = 0;
  Query(HKEY_CURRENT_USER, "Software\\Stavlin\\Midi", &error);
  EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
  std::filesystem::remove(blocker);
}

}  // namespace
