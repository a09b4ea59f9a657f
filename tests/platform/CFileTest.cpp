#include "ArchiveTestClasses.h"

#include "platform/CArchive.h"
#include "platform/CFile.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>

namespace {

class CFileTest : public testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    m_dir = std::filesystem::temp_directory_path() / ("stavlin-cfile-" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  std::filesystem::path m_dir;
};

TEST_F(CFileTest, ArchiveRoundTripsThroughADiskFile) {
  const std::filesystem::path path = m_dir / "score.bin";
  {
    CDiskFile file(path, CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    TNote note(12, std::string(5000, 'n').c_str());
    ar << &note << DWORD{7};
    ar.Close();
    file.Close();
  }
  CDiskFile file(path, CFile::modeRead);
  // Tag, schema, name length and name; position; text prefix and bytes; DWORD.
  EXPECT_EQ(file.GetLength(), (2u + 2u + 2u + 5u) + 2u + (3u + 5000u) + 4u);
  CArchive ar(&file, CArchive::load);
  CObject* loaded = nullptr;
  DWORD tail = 0;
  ar >> loaded >> tail;
  const std::unique_ptr<CObject> owned(loaded);
  ASSERT_NE(dynamic_cast<TNote*>(loaded), nullptr);
  EXPECT_EQ(static_cast<TNote*>(loaded)->text.GetLength(), 5000);
  EXPECT_EQ(tail, 7u);
  EXPECT_THROW(ar >> tail, CArchiveException);
}

TEST_F(CFileTest, OpenFailuresNameTheirCause) {
  struct Case {
    std::filesystem::path path;
    UINT flags;
    int cause;
  };
  const Case cases[] = {
      {m_dir / "missing.bin", CFile::modeRead, CFileException::fileNotFound},
      {m_dir / "no-folder" / "x.bin", CFile::modeCreate | CFile::modeWrite, CFileException::fileNotFound},
      {m_dir, CFile::modeRead, CFileException::accessDenied},
  };
  for (const Case& c : cases) {
    CDiskFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(c.path, c.flags, &error)) << c.path;
    EXPECT_EQ(error.m_cause, c.cause) << c.path;
    EXPECT_FALSE(file.IsOpen());
  }
  EXPECT_THROW(CDiskFile(m_dir / "missing.bin", CFile::modeRead), CFileException);
}

TEST_F(CFileTest, MemoryFileReadsWritesAndSeeksWithinBounds) {
  CMemFile file;
  file.Write("abcdef", 6);
  EXPECT_EQ(file.Seek(-2, CFile::end), 4u);
  file.Write("XYZ", 3);
  EXPECT_EQ(file.GetLength(), 7u);
  file.SeekToBegin();
  char buffer[8] = {};
  EXPECT_EQ(file.Read(buffer, 8), 7u);
  EXPECT_STREQ(buffer, "abcdXYZ");
  EXPECT_EQ(file.Read(buffer, 8), 0u);
  EXPECT_THROW(file.Seek(-8, CFile::current), CFileException);
  EXPECT_EQ(file.GetPosition(), 7u);
}

}  // namespace
