// The instrument table's repair at the first update: user labels that sit in
// the places of the unlabelled line kinds move to the end, repeated labels go.

#include <string>
#include <vector>

#include "ViewLifeTestSupport.h"
#include "view/core/ViewInitialSteps.h"

namespace {

// The seven default entries with the built-in programs and loudness.
const std::vector<std::string> kDefaults = {"  1100UL Treble",     " 34100UL Bass", " 26100UL Tab",
                                            "130100UL Percussion", " 42100UL Alto", " 58100UL Tenor",
                                            " 34100UL Bass Tab"};
const std::vector<std::string> kDefaultNames = {"UL Treble", "UL Bass",  "UL Tab",     "UL Percussion",
                                                "UL Alto",   "UL Tenor", "UL Bass Tab"};

std::vector<std::string> With(std::vector<std::string> base, const std::vector<std::string>& more) {
  base.insert(base.end(), more.begin(), more.end());
  return base;
}

std::vector<std::string> Replaced(std::vector<std::string> base, size_t index, const std::string& entry) {
  base[index] = entry;
  return base;
}

std::vector<std::string> FullTable() {
  std::vector<std::string> table = Replaced(kDefaults, 2, " 25 90Guitar");
  for (int i = 7; i < 37; ++i) table.push_back(" 10 80Label " + std::to_string(i));
  return table;
}

std::vector<std::string> NamesOf(const std::vector<std::string>& entries) {
  std::vector<std::string> names;
  for (const std::string& entry : entries) names.push_back(entry.size() > 6 ? entry.substr(6) : "");
  return names;
}

struct TableCase {
  const char* name;
  std::vector<std::string> entries;
  int count;  // the stored count; may disagree with the entries
  std::vector<std::string> expectedNames;
};

void PrintTo(const TableCase& c, std::ostream* os) { *os << c.name; }

const TableCase kCases[] = {
    {"UserLabelInThirdPlaceMovesToTheEnd", Replaced(kDefaults, 2, " 25 90Guitar"), 7,
     With(kDefaultNames, {"Guitar"})},
    {"FullTableMovesAndReplacesNothing", FullTable(), 37, NamesOf(FullTable())},
    {"TableWithoutAnyKindEntryIsLeftAlone",
     {" 25 90A", " 25 90B", " 25 90C", " 25 90D", " 25 90E", " 25 90F", " 25 90G"},
     7,
     {"A", "B", "C", "D", "E", "F", "G"}},
    {"UnlabeledNameStaysInItsPlace",
     Replaced(Replaced(kDefaults, 1, " 34100Unlabeled bass"), 4, " 11 70Cello"), 7,
     With(Replaced(Replaced(kDefaultNames, 1, "Unlabeled bass"), 4, "UL Alto"), {"Cello"})},
    {"RepeatedLabelIsReplacedByTheLast",
     With(kDefaults, {"  1100Piano", " 41100Violin", "  1100Piano", " 74100Flute"}), 11,
     With(kDefaultNames, {"Piano", "Violin", "Flute"})},
    {"CountBelowSevenStillHasEveryKindPlace", {"  1100UL Treble", " 34100UL Bass"}, 2, kDefaultNames},
};

class InstrumentTableTest : public ViewLifeTest, public ::testing::WithParamInterface<TableCase> {};

TEST_P(InstrumentTableTest, RepairGivesTheExpectedLabels) {
  CStavlinView& view = View();
  const TableCase& c = GetParam();
  for (CString& entry : view.m_options.instrumentTable) entry.Empty();
  for (size_t i = 0; i < c.entries.size(); ++i) view.m_options.instrumentTable[i] = c.entries[i].c_str();
  view.m_options.instrumentCount = static_cast<BYTE>(c.count);

  RepairInstrumentTable(view);

  std::vector<std::string> names;
  for (int i = 0; i < view.m_labelCount; ++i) names.emplace_back(view.m_labels[static_cast<size_t>(i)].name);
  ASSERT_EQ(names, c.expectedNames);
  // The settings copy holds the repaired table too.
  EXPECT_EQ(view.m_options.instrumentCount, view.m_labelCount);
  for (int i = 0; i < view.m_labelCount; ++i) {
    EXPECT_EQ(std::string(view.m_options.instrumentTable[i].View().substr(6)),
              c.expectedNames[static_cast<size_t>(i)]);
  }
}

INSTANTIATE_TEST_SUITE_P(Tables, InstrumentTableTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<TableCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(ViewLifeTest, MovedLabelKeepsItsProgramAndVolume) {
  CStavlinView& view = View();
  const std::vector<std::string> entries = Replaced(kDefaults, 2, " 25 90Guitar");
  for (size_t i = 0; i < entries.size(); ++i) view.m_options.instrumentTable[i] = entries[i].c_str();
  view.m_options.instrumentCount = 7;

  RepairInstrumentTable(view);

  ASSERT_EQ(view.m_labelCount, 8);
  EXPECT_EQ(view.m_labels[7].program, 25);
  EXPECT_EQ(view.m_labels[7].volume, 90);
  // The tab place has its default back: program of the tab preference, loudness of new lines.
  EXPECT_EQ(view.m_labels[2].program, 26);
  EXPECT_EQ(view.m_labels[2].volume, 100);
}

}  // namespace
