// The reader's text comes from files: truncated and garbage lines must never
// crash or leave the reader in a broken state.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "AbcReaderTestSupport.h"

namespace {

class AbcGarbageTest : public AbcReaderTest, public ::testing::WithParamInterface<const char*> {};

// What a fresh reader makes of a plain tune's first music line.
std::string FreshTuneLine() {
  ResetAbcReaderState();
  std::unique_ptr<KLineObj> line = Read("CDEF|GABc|");
  auto* staff = dynamic_cast<KStaffLine*>(line.get());
  const std::string columns = staff != nullptr ? DumpColumns(*staff) : "no staff";
  ResetAbcReaderState();
  return columns;
}

TEST_P(AbcGarbageTest, LeavesAWellFormedLineAndAReaderThatReadsTheNextTune) {
  const std::string fresh = FreshTuneLine();
  ASSERT_NE(fresh, "no staff");
  for (const int continuation : {0, 1}) {
    SCOPED_TRACE("continuation " + std::to_string(continuation));
    ResetAbcReaderState();
    std::unique_ptr<KLineObj> line = Read(GetParam(), continuation);

    // The line made, if any, is a text line or a treble staff whose columns
    // stand at rising positions from 0 on.
    if (line != nullptr) {
      auto* staff = dynamic_cast<KStaffLine*>(line.get());
      EXPECT_TRUE(staff != nullptr || dynamic_cast<KStrLine*>(line.get()) != nullptr);
      if (staff != nullptr) {
        EXPECT_EQ(staff->GetType(), 0);
        int last = -1;
        for (POSITION node = staff->GetObjList()->GetHeadPosition(); node != nullptr;) {
          const KChord* column = AsChord(staff->GetObjList()->GetNext(node));
          ASSERT_NE(column, nullptr);
          EXPECT_GT(column->GetPos(), last) << DumpColumns(*staff);
          last = column->GetPos();
        }
      }
    }

    // The state keeps values a tune can have, and without continuation no
    // line is left open.
    const AbcReaderState& state = GetAbcReaderState();
    EXPECT_GT(state.unitLength, 0);
    EXPECT_GE(state.key, 0);
    EXPECT_LE(state.key, 15);
    EXPECT_GT(state.tempo, 0);
    EXPECT_GT(state.tempoUnit, 0);
    EXPECT_NE(state.meterCode, 0);
    if (continuation == 0) {
      EXPECT_EQ(state.continued, nullptr);
    }

    // The next tune (a line left open handed over first, as the command
    // does at the end of its text) reads as it does from a fresh reader.
    std::unique_ptr<KStaffLine> open = TakeContinuedAbcLine();
    EXPECT_EQ(GetAbcReaderState().continued, nullptr);
    StartAbcTune();
    std::unique_ptr<KLineObj> next = Read("CDEF|GABc|");
    auto* staff = dynamic_cast<KStaffLine*>(next.get());
    ASSERT_NE(staff, nullptr);
    EXPECT_EQ(DumpColumns(*staff), fresh);
  }
}

INSTANTIATE_TEST_SUITE_P(Truncated, AbcGarbageTest,
                         ::testing::Values("[", "(", "\"", "\"unterminated", "((((((((((A)))))))))", "{",
                                           "{A", "A{", "A/0", "A99/99", "z99", "A//////", "[1", "[9A|]",
                                           "A>>>>>>B", "A<<<<B", "---------A", "(3", "(3AB", "(9A",
                                           "::::", ":", "A:", "|]", "[|", "K:", "M:", "Q:=", "Q:=5",
                                           "L:", "M:1/", "M:/", "A'''''',,,,,,", "\xff\xfe\x80 A", "^^^^^^^^",
                                           "~~~~~~~A", "\"\"\"\"\"\"", "}}}}", "]]]]"));

TEST_F(AbcReaderTest, RandomBytesNeverFault) {
  std::mt19937 random(1234);
  const std::string alphabet = "ABCDEFGabcdefgz|:[]()<>{}\"'-,/0123456789^_=~.vu \\%KLMQT";
  for (int round = 0; round < 400; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) {
      text += round % 4 == 0 ? static_cast<char>(random() % 255 + 1) : alphabet[random() % alphabet.size()];
    }
    std::unique_ptr<KLineObj> line = ReadAbcLine(CString(text.c_str()), static_cast<int>(round % 2));
    if (auto* staff = dynamic_cast<KStaffLine*>(line.get())) (void)DumpColumns(*staff);
  }
  ResetAbcReaderState();
  EXPECT_EQ(GetAbcReaderState().continued, nullptr);
}

}  // namespace
