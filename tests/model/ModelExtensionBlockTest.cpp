#include <array>
#include <string>

#include "ModelTestSupport.h"

namespace {

class ModelExtensionBlock : public ModelTest {};

struct Read {
  BYTE ordinary;
  int knownCount;
  std::array<BYTE, 2> known;
};

Read ReadPlace(const Bytes& bytes) {
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  Read r{0, -1, {0, 0}};
  r.ordinary = ReadByteAfterExtension(ar, r.known, &r.knownCount);
  BYTE left = 0;
  EXPECT_THROW(ar >> left, CArchiveException) << "bytes left after the place";
  return r;
}

TEST_F(ModelExtensionBlock, ReaderKeepsWhatItKnowsAndSkipsTheRest) {
  struct Case {
    Bytes bytes;
    BYTE ordinary;
    int knownCount;
    bool warns;
  };
  const Case cases[] = {
      {{7}, 7, 0, false},                           // no block
      {{250, 0, 7}, 7, 0, false},                   // an empty block
      {{250, 2, 0xA1, 0xA2, 7}, 7, 2, false},       // exactly what is known
      {{250, 4, 0xA1, 0xA2, 1, 2, 7}, 7, 2, true},  // two bytes from a newer program
  };
  for (const Case& c : cases) {
    ResetModelGlobals();
    m_ui.ClearRecords();
    const Read r = ReadPlace(c.bytes);
    EXPECT_EQ(r.ordinary, c.ordinary);
    EXPECT_EQ(r.knownCount, c.knownCount);
    if (c.knownCount == 2) {
      EXPECT_EQ(r.known, (std::array<BYTE, 2>{0xA1, 0xA2}));
    }
    EXPECT_EQ(m_ui.CountOf(7089), c.warns ? 1 : 0) << int(c.bytes.size());
  }
}

TEST_F(ModelExtensionBlock, NewerFileWarningShowsOncePerRun) {
  g_FileVersionText = "4.0.1.0";
  const Bytes newer = {250, 3, 1, 2, 3, 9};
  ReadPlace(newer);
  ReadPlace(newer);  // a second file of the same run
  ASSERT_EQ(m_ui.CountOf(7089), 1);
  const std::string& text = m_ui.Messages().front().text;
  EXPECT_NE(text.find("of Stavlin (4.0.1.0) than you are using now (3.94.0.2)."), std::string::npos) << text;
  EXPECT_EQ(g_newerFileWarned, 1);
}

TEST_F(ModelExtensionBlock, WrittenBlocksReadBack) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    const BYTE data[] = {0x11, 0x22};
    WriteExtensionBlock(ar, data);
    ar << BYTE(5);
    ar.Close();
  }
  EXPECT_EQ(file.Data(), Bytes({250, 2, 0x11, 0x22, 5}));
  const Read r = ReadPlace(file.Data());
  EXPECT_EQ(r.ordinary, 5);
  EXPECT_EQ(r.known, (std::array<BYTE, 2>{0x11, 0x22}));
}

TEST_F(ModelExtensionBlock, CutBlockIsAnArchiveError) {
  const Bytes whole = {250, 3, 1, 2, 3, 9};
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    CMemFile file(whole.data(), cut);
    CArchive ar(&file, CArchive::load);
    EXPECT_THROW(ReadByteAfterExtension(ar, {}), CArchiveException) << cut;
  }
}

}  // namespace
