// Once installed, the translator answers a text line's ABC reading.
#include <gtest/gtest.h>

#include "AbcReaderTestSupport.h"
#include "translate/KTextLineTranslatorImpl.h"

namespace {

class AbcTranslatorServiceTest : public AbcReaderTest {
 protected:
  AbcTranslatorServiceTest() { SetTextLineTranslator(&m_translator); }
  ~AbcTranslatorServiceTest() override { ResetTextLineServices(); }

  KTextLineTranslatorImpl m_translator;
};

TEST_F(AbcTranslatorServiceTest, TextLineReadsItsTextAsAbc) {
  EXPECT_EQ(KStrLine::ReadAbc(KStrLine("K:D", 3), 0), nullptr);
  EXPECT_EQ(GetAbcReaderState().key, 4);

  std::unique_ptr<KLineObj> line = KStrLine::ReadAbc(KStrLine("G:Band", 3), 0);
  auto* text = dynamic_cast<KStrLine*>(line.get());
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::string(text->GetText().View()), "Group: Band");

  ClearPending();
  line = KStrLine::ReadAbc(KStrLine("d2", 3), 0);
  auto* staff = dynamic_cast<KStaffLine*>(line.get());
  ASSERT_NE(staff, nullptr);
  EXPECT_EQ(DumpColumns(*staff), "0:16/9");
}

}  // namespace
