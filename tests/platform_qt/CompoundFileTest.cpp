#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/qt/GsfCompoundFile.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

using stavlin_test::RunInChild;

namespace {

const fs::path kFixtures = fs::path(STAVLIN_TEST_DIR) / "fixtures";

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> Pattern(size_t size) {
  std::vector<std::uint8_t> bytes(size);
  std::uint32_t x = 2463534242u;
  for (std::uint8_t& b : bytes) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    b = static_cast<std::uint8_t>(x);
  }
  return bytes;
}

// Runs a command and returns what it printed, with its exit status.
std::string RunCommand(const std::string& command, int& status) {
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) {
    status = -1;
    return output;
  }
  char buffer[4096];
  while (size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, got);
  status = ::pclose(pipe);
  return output;
}

class CompoundFile : public ::testing::Test {
 protected:
  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
    return names;
  }

  stavlin_test::TempFolder folder_{"compound"};
  const fs::path& dir_ = folder_.Path();
  KGsfCompoundFile container_;
};

TEST_F(CompoundFile, OutsideReaderFindsTheArchiveInContentsAndSoDoWe) {
  // Small streams live in the container's mini stream, from 4096 bytes on in
  // ordinary sectors; 8 MB needs more allocation-table sectors than the header
  // can list.
  for (const size_t size :
       {size_t{0}, size_t{100}, size_t{4095}, size_t{4096}, size_t{70000}, size_t{8} << 20}) {
    SCOPED_TRACE(size);
    const std::vector<std::uint8_t> contents = Pattern(size);
    const fs::path file = dir_ / "score.svd";
    const fs::path extracted = dir_ / "extracted.bin";
    ASSERT_TRUE(container_.Write(file, contents).ok());

    int status = 0;
    const std::string listing = RunCommand(
        "/usr/bin/python3 -c 'import sys, olefile\n"
        "ole = olefile.OleFileIO(sys.argv[1])\n"
        "print(ole.listdir(streams=True, storages=True))\n"
        "open(sys.argv[2], \"wb\").write(ole.openstream(\"Contents\").read())' " +
            file.string() + " " + extracted.string(),
        status);
    ASSERT_EQ(status, 0) << "python3-olefile is needed: " << listing;
    EXPECT_EQ(listing, "[['Contents']]\n");
    EXPECT_EQ(ReadBytes(extracted), contents);

    const KContainerRead read = container_.Read(file);
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_TRUE(read.compound);
    EXPECT_FALSE(read.hasEmbeddedItems);
    EXPECT_EQ(read.contents, contents);
  }
}

TEST_F(CompoundFile, ReadsAFileThatIsNoCompoundFileAsAPlainArchive) {
  for (const std::vector<std::uint8_t>& bytes :
       {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{0xD0, 0xCF, 0x11}, Pattern(5000)}) {
    SCOPED_TRACE(bytes.size());
    WriteBytes(dir_ / "plain.svd", bytes);
    const KContainerRead read = container_.Read(dir_ / "plain.svd");
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_FALSE(read.compound);
    EXPECT_EQ(read.contents, bytes);
  }
}

TEST_F(CompoundFile, TellsEmbeddedItemsFromBookkeepingStreams) {
  struct Case {
    const char* fixture;
    bool embedded;
  };
  for (const Case& c : {Case{"embedded-item.svd", true}, Case{"system-streams.svd", false}}) {
    SCOPED_TRACE(c.fixture);
    const KContainerRead read = container_.Read(kFixtures / c.fixture);
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_EQ(std::string(read.contents.begin(), read.contents.end()), "score archive bytes");
    EXPECT_EQ(read.hasEmbeddedItems, c.embedded);
  }
}

TEST_F(CompoundFile, ReportsFilesItCannotReadAsErrors) {
  ASSERT_TRUE(container_.Write(dir_ / "good.svd", Pattern(70000)).ok());
  const std::vector<std::uint8_t> good = ReadBytes(dir_ / "good.svd");
  std::vector<std::uint8_t> truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
  WriteBytes(dir_ / "truncated.svd", truncated);
  std::vector<std::uint8_t> garbage = Pattern(4096);
  std::copy(good.begin(), good.begin() + 8, garbage.begin());
  WriteBytes(dir_ / "garbage.svd", garbage);
  fs::create_directory(dir_ / "folder.svd");
  // The directory's root entry naming the score stream as its left or right
  // sibling: a root has none.
  std::uint32_t directorySector = 0;
  for (size_t i = 0; i < 4; ++i) directorySector |= static_cast<std::uint32_t>(good[48 + i]) << (8 * i);
  const size_t root = 512 * (static_cast<size_t>(directorySector) + 1);
  for (const size_t sibling : {size_t{0x44}, size_t{0x48}}) {
    std::vector<std::uint8_t> withSibling = good;
    std::fill_n(withSibling.begin() + static_cast<long>(root + sibling), 4, std::uint8_t{0});
    withSibling[root + sibling] = 1;
    WriteBytes(dir_ / ("root-sibling-" + std::to_string(sibling) + ".svd"), withSibling);
  }

  struct Case {
    fs::path path;
    KContainerError error;
  };
  const Case cases[] = {
      {dir_ / "missing.svd", KContainerError::kNotFound},
      {dir_ / "folder.svd", KContainerError::kUnreadable},
      {kFixtures / "no-contents.svd", KContainerError::kNoContents},
      {dir_ / "truncated.svd", KContainerError::kDamaged},
      {dir_ / "garbage.svd", KContainerError::kDamaged},
      {dir_ / "root-sibling-68.svd", KContainerError::kDamaged},
      {dir_ / "root-sibling-72.svd", KContainerError::kDamaged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.filename().string());
    const KContainerRead read = container_.Read(c.path);
    EXPECT_EQ(read.error, c.error);
    EXPECT_FALSE(read.message.empty());
    EXPECT_TRUE(read.contents.empty());
  }
}

TEST_F(CompoundFile, DamageToTheStructureNeverYieldsBytesFromOutsideTheArchive) {
  const std::vector<std::uint8_t> contents = Pattern(6000);
  ASSERT_TRUE(container_.Write(dir_ / "good.svd", contents).ok());
  const std::vector<std::uint8_t> good = ReadBytes(dir_ / "good.svd");
  ASSERT_GE(good.size(), 1024u);
  auto sectorAt = [&](size_t headerOffset) {
    std::uint32_t sector = 0;
    for (size_t i = 0; i < 4; ++i) sector |= static_cast<std::uint32_t>(good[headerOffset + i]) << (8 * i);
    return 512 * (static_cast<size_t>(sector) + 1);
  };
  // Every byte of the header, of the directory and of the allocation table.
  std::vector<size_t> offsets;
  for (const size_t start : {size_t{0}, sectorAt(48), sectorAt(76)}) {
    for (size_t i = start == 0 ? 8 : start; i < start + 512 && i < good.size(); ++i) offsets.push_back(i);
  }

  for (const size_t offset : offsets) {
    for (const std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0xFF}, std::uint8_t{0x7F}}) {
      if (good[offset] == value) continue;
      std::vector<std::uint8_t> damaged = good;
      damaged[offset] = value;
      WriteBytes(dir_ / "damaged.svd", damaged);
      const KContainerRead read = container_.Read(dir_ / "damaged.svd");
      if (!read.ok()) {
        EXPECT_FALSE(read.message.empty()) << offset;
        continue;
      }
      // Only a damaged stream size can go unnoticed: the stream then ends
      // early, or runs on into the unused end of its last sector.
      const size_t common = std::min(read.contents.size(), contents.size());
      EXPECT_TRUE(
          std::equal(contents.begin(), contents.begin() + static_cast<long>(common), read.contents.begin()))
          << offset;
      EXPECT_LT(read.contents.size(), contents.size() + 512) << offset;
    }
  }
}

TEST_F(CompoundFile, SaveReplacesTheOldFileAndKeepsItsPermissions) {
  const fs::path file = dir_ / "score.svd";
  ASSERT_TRUE(container_.Write(file, Pattern(10)).ok());
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const std::vector<std::uint8_t> newer = Pattern(20000);
  ASSERT_TRUE(container_.Write(file, newer).ok());

  EXPECT_EQ(container_.Read(file).contents, newer);
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"score.svd"});
}

TEST_F(CompoundFile, SaveIntoAFolderThatCannotBeWrittenLeavesTheOldFileWhole) {
  const fs::path file = dir_ / "score.svd";
  const std::vector<std::uint8_t> old = Pattern(3000);
  ASSERT_TRUE(container_.Write(file, old).ok());
  const std::vector<std::uint8_t> oldBytes = ReadBytes(file);
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                            fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);

  // Folder permissions do not bind the superuser, so the save runs in a child
  // process that gives up its privileges first.
  const int result = RunInChild([&] {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 2;
    const KContainerWrite write = container_.Write(file, Pattern(9000));
    return !write.ok() && write.error == KContainerError::kWriteFailed && !write.message.empty() ? 0 : 1;
  });
  ASSERT_NE(result, 2) << "could not drop privileges";
  EXPECT_EQ(result, 0) << "the save must report its failure";
  EXPECT_EQ(ReadBytes(file), oldBytes);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"score.svd"});
}

}  // namespace
