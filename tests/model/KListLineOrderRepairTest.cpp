// The order repair of a loaded object list: what a load keeps, a save writes
// and the next load keeps again, byte for byte.

#include <string>
#include <vector>

#include "LineTestSupport.h"

namespace {

struct OrderCase {
  const char* name;
  std::vector<int> stored;
  std::vector<int> loaded;
};

void PrintTo(const OrderCase& c, std::ostream* out) { *out << c.name; }

// A staff line record as a damaged file may hold it: one note column at each
// stored position, in the given order, then key 0, the two extension words and
// no attachments.
Bytes RecordWithColumnsAt(const std::vector<int>& positions) {
  RecordBytes head;
  head.Byte(0).Int(0).Int(-1).Int(0).Int(100).String("").Int(0);  // line base part with indent 0
  head.Word(int(positions.size()));
  Bytes bytes = head.Get();
  bool first = true;
  for (int pos : positions) {
    RecordBytes tag;
    if (first) {
      tag.Word(0xFFFF).Word(90).Word(6).Chars("KChord");
    } else {
      tag.Word(0x8001);  // the class named by the first column
    }
    first = false;
    bytes = Concat({bytes, tag, ColumnRecord(pos, 0, 0, 0, {{8, 18}})});
  }
  RecordBytes tail;
  tail.Byte(0).Int(2000).Int(32767 * 65536 + 22 * 256 + 26).Int(0).Word(0);
  return Concat({bytes, tail});
}

class OrderRepairTest : public LineTest, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(OrderRepairTest, ASavedRepairedListOpensUnchanged) {
  const OrderCase& c = GetParam();
  KListLine first;
  LoadFields(first, RecordWithColumnsAt(c.stored));
  EXPECT_EQ(Positions(*first.GetObjList()), c.loaded);

  const Bytes saved = StoreFields(first);
  KListLine second;
  LoadFields(second, saved);
  EXPECT_EQ(Positions(*second.GetObjList()), c.loaded);
  EXPECT_EQ(StoreFields(second), saved);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OrderRepairTest,
    ::testing::Values(OrderCase{"OrderedColumnsStay", {0, 2, 2, 7}, {0, 2, 2, 7}},
                      OrderCase{"OneColumnTooHighIsDropped", {1, 9, 3, 5}, {1, 3, 5}},
                      OrderCase{"TwoColumnsTooHighInARowAreBothDropped",
                                {0, 1, 2, 3, 4, 23301, 252, 7, 8},
                                {0, 1, 2, 3, 4, 7, 8}},
                      OrderCase{"ThreeColumnsTooHighInARowAreAllDropped", {1, 30, 20, 10, 3, 5}, {1, 3, 5}},
                      OrderCase{"ColumnsWithoutASuccessorToJudgeByStay", {1, 9, 8, 3}, {1, 9, 8, 3}}),
    [](const ::testing::TestParamInfo<OrderCase>& info) { return std::string(info.param.name); });

}  // namespace
