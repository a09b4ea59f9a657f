#pragma once
// The fixture of the reliability tests: every program-wide value at its start
// value, the program's own score classes, a recording UI port, the real
// compound-file container and a fresh temporary folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/CompoundFile.h"
#include "platform/FakeUiPort.h"
#include "support/TempFolder.h"

class CStavlinDoc;

class ReliabilityTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  static void ResetProgram();

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  // The archive bytes of the score file at the path (empty when it does not read).
  static std::vector<std::uint8_t> Contents(const std::string& path);
  // The bytes of the file itself.
  static std::vector<std::uint8_t> FileBytes(const std::string& path);

  FakeUiPort ui_;
  std::filesystem::path dir_;

 private:
  std::optional<stavlin_test::TempFolder> folder_;
  std::unique_ptr<ScopedUiPort> uiScope_;
  std::unique_ptr<KCompoundFile> previousContainer_;
};
