#pragma once
// A fixture for the preference reader and writers: an in-memory store in place
// of the settings file, a temporary documents folder in place of the user's,
// and every program-wide value back at its start value before and after.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "common/AppServices.h"
#include "common/ChordDiagramServices.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "doc/pref_values/PreferenceGroups.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLineDefaults.h"
#include "lines/KChordPicLineServices.h"
#include "lines/KRhythmLineDefaults.h"
#include "lines/KStaffLine.h"
#include "lines/TabLineOptions.h"
#include "model/DocServices.h"
#include "model/KLineGroup.h"
#include "model/KListLineAutoBeamServices.h"
#include "model/KListLineRestsServices.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "support/TempFolder.h"
#include "translate/ParseTextTabOptions.h"

// Sets or unsets an environment variable for the lifetime of this object.
class KEnvironmentOverride {
 public:
  KEnvironmentOverride(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  KEnvironmentOverride(const KEnvironmentOverride&) = delete;
  KEnvironmentOverride& operator=(const KEnvironmentOverride&) = delete;
  ~KEnvironmentOverride() {
    if (old_)
      ::setenv(name_.c_str(), old_->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
  }

 private:
  std::string name_;
  std::optional<std::string> old_;
};

class PreferenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    temp_.emplace("prefs");
    documents_.emplace("XDG_DOCUMENTS_DIR", temp_->Path().string());
    UseStore(std::make_unique<KMemorySettingsStore>());
    ResetAll();
  }

  void TearDown() override {
    ResetAll();
    store_.reset();
    documents_.reset();
    temp_.reset();
  }

  static void ResetAll() {
    ResetPreferences();
    ResetAppServices();
    ResetViewServices();
    ResetCommonGlobals();
    ResetDocServices();
    ResetTabLineOptions();
    ResetRhythmLineDefaults();
    ResetChordPicLineDefaults();
    ResetLineGroupServices();
    ResetStaffLineServices();
    ResetChordDiagramServices();
    ResetAutoBeamServices();
    ResetRestsServices();
    ResetChordLineServices();
    ResetTextTabOptions();
  }

  void UseStore(std::unique_ptr<KSettingsStore> store) {
    store_.reset();
    store_ = std::make_unique<KSettingsStoreScope>(std::move(store));
  }

  // Stores a group's text as an earlier run of the program left it.
  static void Store(std::string_view group, const std::string& text) {
    const std::string path = "Software\\Stavlin\\" + std::string(group);
    ASSERT_EQ(RegSetValue(HKEY_CURRENT_USER, path.c_str(), REG_SZ, text.c_str(), 0), ERROR_SUCCESS);
  }
  static void Store(KPrefGroup group, const std::string& text) { Store(PreferenceGroupName(group), text); }

  // The group's stored text, or nothing.
  static std::optional<std::string> Stored(std::string_view group) {
    const std::string path = "Software\\Stavlin\\" + std::string(group);
    std::string text;
    if (RegQueryValueString(HKEY_CURRENT_USER, path.c_str(), text) != ERROR_SUCCESS) return std::nullopt;
    return text;
  }
  static std::optional<std::string> Stored(KPrefGroup group) { return Stored(PreferenceGroupName(group)); }

  // The temporary folder that stands for the user's documents folder.
  const std::filesystem::path& Documents() const { return temp_->Path(); }

 private:
  std::optional<stavlin_test::TempFolder> temp_;
  std::optional<KEnvironmentOverride> documents_;
  std::unique_ptr<KSettingsStoreScope> store_;
};
