// The chords of one tuning: their order, removal, lookups, root errors and
// reading one root's chords from the file.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ChordRecordTestSupport.h"
#include "chords/ChordDictionary.h"
#include "chords/ChordRecordTuningInfo.h"
#include "common/Globals.h"
#include "platform/FakeUiPort.h"

using chordtest::MakeRecord;
using chordtest::Record;
using chordtest::RecordFields;

namespace {

const char* const kGuitar = "E A D G B E  323742475156";

class ChordList : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCommonGlobals();
    ResetChordDictionary();
  }
  void TearDown() override {
    ResetChordDictionary();
    ResetCommonGlobals();
  }

  // (root index, name, shape head) of every chord in list order.
  std::vector<std::string> Listing() const {
    std::vector<std::string> rows;
    const CObList& list = m_info.GetChordList();
    for (POSITION position = list.GetHeadPosition(); position != nullptr;) {
      const auto* chord = static_cast<const KUserChordData*>(list.GetNext(position));
      rows.push_back(std::to_string(chord->GetKeyIndex()) + " " + chord->GetName().Str() + " " +
                     chord->GetShape().Left(7).Str());
    }
    return rows;
  }
  void Add(const std::string& root, const std::string& name, const std::string& head) {
    m_info.AddChord(Record(root, name, head).c_str());
  }

  FakeUiPort m_ui;
  ScopedUiPort m_scope{m_ui};
  KTuningInfo m_info{kGuitar, "323742475156"};
};

TEST_F(ChordList, NewVariationFollowsFirstRunOfItsNameAndNewNameEndsItsRoot) {
  const struct {
    std::vector<std::pair<std::string, std::string>> adds;  // (root, name)
    std::vector<std::string> order;
  } cases[] = {
      {{{"C ", "P"}, {"C ", "Q"}, {"C ", "P"}}, {"5 P 1", "5 P 3", "5 Q 2"}},
      {{{"C ", "P"}, {"D ", "X"}, {"C ", "Q"}, {"C ", "P"}}, {"5 P 1", "5 P 4", "5 Q 3", "8 X 2"}},
      {{{"D ", "X"}, {"C ", "P"}, {"D ", "X"}}, {"8 X 1", "8 X 3", "5 P 2"}},
      {{{"C ", "P"}, {"C ", "Q"}, {"C ", "Q"}, {"C ", "R"}, {"C ", "Q"}},
       {"5 P 1", "5 Q 2", "5 Q 3", "5 Q 5", "5 R 4"}},
  };
  for (const auto& c : cases) {
    KTuningInfo info(kGuitar, "323742475156");
    int n = 0;
    for (const auto& [root, name] : c.adds)
      info.AddChord(Record(root, name, "0" + std::to_string(++n) + "22100").c_str());
    std::vector<std::string> rows;
    for (POSITION position = info.GetChordList().GetHeadPosition(); position != nullptr;) {
      const auto* chord = static_cast<const KUserChordData*>(info.GetChordList().GetNext(position));
      rows.push_back(std::to_string(chord->GetKeyIndex()) + " " + chord->GetName().Str() + " " +
                     chord->GetShape().Mid(1, 1).Str());
    }
    EXPECT_EQ(rows, c.order);
  }
}

TEST_F(ChordList, AddChordMarksTheRootListedAndLoaded) {
  Add("A#", "m", "0000000");
  EXPECT_EQ(m_info.GetListedMask(), 1u << 2);
  EXPECT_EQ(m_info.GetLoadedMask(), 1u << 2);
  EXPECT_EQ(m_info.HasKey("A#"), 1);
  EXPECT_EQ(m_info.IsKeyLoaded("A#"), 1);
  EXPECT_EQ(m_info.HasKey("Bb"), 0);
  m_info.AddKey("G#");
  EXPECT_EQ(m_info.HasKey("G#"), 1);
  EXPECT_EQ(m_info.IsKeyLoaded("G#"), 0);
  EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(ChordList, RemoveReportsWhatRemains) {
  const struct {
    std::vector<std::pair<std::string, std::string>> chords;  // (root+name, head)
    std::string root, name, head;
    int removed, listEmpty, nameRemains;
    bool rootBitsStay;
  } cases[] = {
      // the second of two variations: the name and the root stay
      {{{"C m", "0111111"}, {"C m", "0222222"}}, "C ", "m", "0222222", 1, 0, 1, true},
      // the first of two variations: the next chord has the name
      {{{"C m", "0111111"}, {"C m", "0222222"}}, "C ", "m*", "0111111", 1, 0, 1, true},
      // the only chord of its root, another root left
      {{{"C m", "0111111"}, {"D 7", "0333333"}}, "C ", "m", "0111111", 1, 0, 0, false},
      // the last chord of the tuning
      {{{"C m", "0111111"}}, "C ", "m", "0111111", 1, 1, 0, false},
      // after another name of the root: the root keeps its bits
      {{{"C 7", "0444444"}, {"C m", "0111111"}}, "C ", "m", "0111111", 1, 0, 0, true},
      // nothing matches: no change
      {{{"C m", "0111111"}}, "C ", "m", "0999999", 0, 0, 1, true},
      {{{"C m", "0111111"}}, "C ", "7", "0111111", 0, 0, 1, true},
      {{{"C m", "0111111"}}, "D ", "m", "0111111", 0, 0, 1, true},
  };
  for (const auto& c : cases) {
    KTuningInfo info(kGuitar, "323742475156");
    for (const auto& [rootName, head] : c.chords)
      info.AddChord(Record(rootName.substr(0, 2), rootName.substr(2), head).c_str());
    const int before = info.GetChordList().GetCount();
    int listEmpty = -1, nameRemains = -1;
    const CString shape = CString(c.head.c_str()) + "        " + " 0000";
    EXPECT_EQ(info.RemoveChord(c.root.c_str(), c.name.c_str(), shape, listEmpty, nameRemains), c.removed)
        << c.head;
    EXPECT_EQ(info.GetChordList().GetCount(), before - c.removed);
    EXPECT_EQ(listEmpty, c.listEmpty) << c.name << " " << c.head;
    EXPECT_EQ(nameRemains, c.nameRemains) << c.name << " " << c.head;
    EXPECT_EQ((info.GetListedMask() & (1u << 5)) != 0, c.rootBitsStay) << c.name << " " << c.head;
    EXPECT_EQ((info.GetLoadedMask() & (1u << 5)) != 0, c.rootBitsStay) << c.name << " " << c.head;
  }
}

TEST_F(ChordList, CountsFieldsAndNextNames) {
  RecordFields f;
  f.root = "C ";
  f.type = "m";
  f.details = "first";
  f.hint = "hint1";
  f.flags = " 1000";
  f.seventh = '2';
  f.seventhFinger = '1';
  m_info.AddChord(MakeRecord(f).c_str());
  Add("C ", "m", "0222222");
  Add("C ", "7", "0333333");
  Add("D ", "m", "0444444");

  EXPECT_EQ(m_info.CountVariations("C ", "m"), 2);
  EXPECT_EQ(m_info.CountVariations("C ", "m*"), 2);
  EXPECT_EQ(m_info.CountVariations("C ", "7"), 1);
  EXPECT_EQ(m_info.CountVariations("C ", "9"), 0);
  EXPECT_EQ(m_info.CountVariations("Db", "m"), 0);

  const struct {
    int n, selector;
    const char* value;
  } fields[] = {
      {1, kChordFieldDescription, "first"},
      {1, kChordFieldVariationHint, "hint1   "},
      {1, kChordFieldFlagText, " 1000"},
      {1, kChordFieldExtraStrings, "7201"},
      {2, kChordFieldShape, "0222222         0000"},
      {1, 99, ""},
  };
  for (const auto& c : fields)
    EXPECT_EQ(m_info.GetChordField("C ", "m*", c.n, c.selector), c.value) << c.selector;
  EXPECT_TRUE(m_ui.Messages().empty());

  // past the stored variations: the confusion message and the last chord examined
  EXPECT_EQ(m_info.GetChordField("C ", "m", 3, kChordFieldDescription).Left(7), "0444444");
  EXPECT_EQ(m_ui.MessageIds(), std::vector<UINT>{kMsgChordConfusion});

  const struct {
    const char* root;
    const char* name;
    const char* next;
  } names[] = {{"C ", "", "m"}, {"C ", "m", "7"}, {"C ", "7", ""},
               {"C ", "9", ""}, {"D ", "", "m"},  {"E ", "", ""}};
  for (const auto& c : names) EXPECT_EQ(m_info.GetNextChordName(c.root, c.name), c.next) << c.root << c.name;
}

TEST_F(ChordList, EmptyListFieldIsEmptyWithTheMessage) {
  EXPECT_EQ(m_info.GetChordField("C ", "m", 1, kChordFieldShape), "");
  EXPECT_EQ(m_ui.MessageIds(), std::vector<UINT>{kMsgChordConfusion});
}

TEST_F(ChordList, BadRootCodeWaitsForTheViewThenIsReportedOnce) {
  m_info.AddKey("X ");  // while starting: counted, not shown
  EXPECT_EQ(g_ChordFileErrors, 1010);
  EXPECT_TRUE(m_ui.Messages().empty());
  ReportPendingChordFileErrors();
  ASSERT_EQ(m_ui.MessageIds(), std::vector<UINT>{7053});
  EXPECT_NE(m_ui.Messages()[0].text.find("(Error QV1-1)"), std::string::npos);
  EXPECT_EQ(g_ChordFileErrors, 0);

  m_ui.ClearRecords();
  g_ChordRootErrorShown = false;
  EXPECT_EQ(m_info.HasKey("Q "), 0);
  EXPECT_EQ(m_info.IsKeyLoaded("Q "), 0);
  m_info.AddKey("Q ");
  ASSERT_EQ(m_ui.MessageIds(), std::vector<UINT>{7053});  // once, for the first
  EXPECT_NE(m_ui.Messages()[0].text.find("(Error OC2-2)"), std::string::npos);
  EXPECT_EQ(m_info.GetListedMask(), 0u);
  EXPECT_EQ(g_ChordFileErrors, 30);
}

TEST_F(ChordList, LoadChordsReadsOneTuningAndRootFromTheFile) {
  chordtest::TempFolder folder;
  const auto path = folder.Path() / "ZODireda.dat";
  const char* const dropD = "D A D G B E  303742475156";
  std::string file = Record("C ", "m", "0111111") + Record("D ", "m", "0222222") +
                     Record("C ", "m", "0333333", dropD) + Record("C ", "7", "0444444");
  file += Record("C ", "m", "0555555").substr(0, 131);  // the last record without its line feed
  chordtest::WriteBytes(path, file);
  g_ChordFilePath = path.string().c_str();

  m_info.LoadChords(kGuitar, "C ");
  EXPECT_EQ(Listing(), (std::vector<std::string>{"5 m 0111111", "5 m 0555555", "5 7 0444444"}));
  EXPECT_EQ(m_info.IsKeyLoaded("C "), 1);
  EXPECT_EQ(m_info.IsKeyLoaded("D "), 0);

  g_ChordFilePath = (folder.Path() / "missing.dat").string().c_str();
  KTuningInfo other(kGuitar, "323742475156");
  other.LoadChords(kGuitar, "C ");
  EXPECT_TRUE(other.GetChordList().IsEmpty());
  EXPECT_EQ(other.IsKeyLoaded("C "), 0);
  EXPECT_EQ(m_ui.Beeps(), std::vector<UINT>{MB_ICONASTERISK});
}

}  // namespace
