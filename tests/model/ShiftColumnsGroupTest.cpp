// Column shifts of the note lines of a line group that share a bracket
// number: they take one column mapping together, or none of them changes.

#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "LineTestSupport.h"
#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "support/CaseName.h"

namespace {

constexpr int kBassTab = 15;
constexpr int kGroupId = 31;

// A group of lines of the kinds with the raw bracket numbers, each line
// bound to its slot and pointing back to the group.
class ShiftColumnsGroup : public LineTest {
 protected:
  void Build(const std::vector<int>& types, const std::vector<int>& brackets) {
    group = std::make_unique<KLineGroup>(kGroupId, int(types.size()), 0);
    for (std::size_t i = 0; i < types.size(); ++i) {
      lines.push_back(std::make_unique<KListLine>(0, types[i], 0, KLineObj::kNoGroup, 0));
      group->SetSlotType(int(i), types[i]);
      group->SetSlotBracket(int(i), brackets[i]);
      group->SetSlotLine(int(i), lines.back().get());
      lines.back()->SetGroup(kGroupId, group.get());
    }
  }
  KListLine& Line(int i) { return *lines[i]; }
  std::vector<std::vector<int>> AllPositions() const {
    std::vector<std::vector<int>> out;
    for (const auto& line : lines) out.push_back(Positions(*line->GetObjList()));
    return out;
  }

  std::vector<std::unique_ptr<KListLine>> lines;
  std::unique_ptr<KLineGroup> group;
};

// The note columns and bars of a line, from a text: 'n' a note, 'b' a bar,
// '.' an empty column.
void Columns(KListLine& line, const std::string& text) {
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    if (text[pos] == 'n') Fill(line, {Note(int(pos))});
    if (text[pos] == 'b') Fill(line, {Bar(int(pos))});
  }
}

// The same kind of text read back from a line.
std::string Text(const KListLine& line) {
  std::string out;
  const CObList& list = *line.GetObjList();
  for (POSITION node = list.GetHeadPosition(); node != nullptr;) {
    const auto* object = static_cast<const KPosObj*>(list.GetNext(node));
    if (object->GetPos() < 0 || object->GetPos() > 2000) return "out of range";
    if (out.size() > std::size_t(object->GetPos())) return "out of order";
    out.resize(object->GetPos(), '.');
    const KChord* column = AsChord(object);
    out += column != nullptr && column->IsBarColumn() ? 'b' : 'n';
  }
  return out;
}

// A staff and a tablature line joined by bracket 1: one mapping for both, its
// bar column and its amounts taken over both lines.
TEST_F(ShiftColumnsGroup, BracketedNoteLinesTakeOneMapping) {
  struct Case {
    const char* name;
    std::string staff, tab;
    int first, delta;
    std::string staffAfter, tabAfter;
    int bar;  // the staff's cached bar column afterwards
  };
  const Case cases[] = {
      // Alone, the staff would absorb the column before its bar; the tab
      // has none free, so both bars move.
      {"bars move together", "nn..b.n", "n..nb.n", 1, 1, "n.n..b.n", "n...nb.n", 5},
      {"a free column in both absorbs it", "nn..b.n", "n.n.b.n", 1, 1, "n.n.b.n", "n..nb.n", 4},
      {"the earliest bar of the lines counts", "nn....b", "nn.b", 1, 2, "n..n...b", "n..nb", 7},
      {"a line with nothing to move still lets the others", "nn", "nn...n", 3, 2, "nn", "nn.....n", -1},
      {"closing up before the bars", "n.nb.n", "n..b.n", 2, -1, "nn.b.n", "n..b.n", 3},
      {"the bars close up when nothing stands before them", "nn.b.n", "n..b.n", 2, -1, "nnb.n", "n.b.n", 2},
      {"refused: the tab would land on its neighbour", "n.n.b", "nn..b", 1, -1, "n.n.b", "nn..b", 4},
      {"refused: the tab would go below column 0", "..n", "n.n", 0, -1, "..n", "n.n", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    lines.clear();
    Build({kTreble, kTab}, {1, 1});
    Columns(Line(0), c.staff);
    Columns(Line(1), c.tab);
    Line(0).ClearChanged();
    Line(1).ClearChanged();

    const int result = Line(0).ShiftColumns(c.first, c.delta, 0);
    const bool refused = c.staffAfter == c.staff && c.tabAfter == c.tab;
    EXPECT_EQ(result < 0, refused) << result;
    EXPECT_EQ(Text(Line(0)), c.staffAfter);
    EXPECT_EQ(Text(Line(1)), c.tabAfter);
    EXPECT_EQ(Line(0).GetTimeSigColumn(), c.bar);
    // The tab's cached bar follows its own bar.
    const std::size_t tabBar = c.tabAfter.find('b');
    EXPECT_EQ(Line(1).GetTimeSigColumn(), tabBar == std::string::npos ? -1 : int(tabBar));
    EXPECT_EQ(Line(1).IsChanged(), c.tabAfter != c.tab ? 1 : 0);
  }
}

// Only the note lines with the shifted line's bracket number move, only
// while every alignment option is off, and not for insertion and paste.
TEST_F(ShiftColumnsGroup, OtherLinesStayUnlessAligned) {
  struct Case {
    const char* name;
    std::vector<int> types;
    std::vector<int> brackets;
    int option;  // the alignment option switched on, -1 none
    int mode;
    std::vector<bool> moved;  // per line, the first being the one shifted
  };
  const Case cases[] = {
      {"same bracket", {kTreble, kTab, kTreble, kBassTab}, {1, 1, 2, 1}, -1, 0, {true, true, false, true}},
      {"mode 1 aligns too", {kTreble, kTab}, {2, 2}, -1, 1, {true, true}},
      {"first option on", {kTreble, kTab}, {1, 1}, 0, 0, {true, false}},
      {"second option on", {kTreble, kTab}, {1, 1}, 1, 0, {true, false}},
      {"third option on", {kTreble, kTab}, {1, 1}, 2, 0, {true, false}},
      {"insertion", {kTreble, kTab}, {1, 1}, -1, -2, {true, false}},
      {"paste", {kTreble, kTab}, {1, 1}, -1, -1, {true, false}},
      {"no bracket", {kTreble, kTab}, {0, 0}, -1, 0, {true, false}},
      {"a rhythm line with the bracket", {kTreble, kRhythm, kTab}, {1, 1, 1}, -1, 0, {true, false, true}},
      {"a rhythm line shifted", {kRhythm, kTreble}, {1, 1}, -1, 0, {true, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    lines.clear();
    ResetViewServices();
    Build(c.types, c.brackets);
    if (c.option >= 0) g_alignOptions[c.option] = 1;
    for (auto& line : lines) Fill(*line, {Note(0), Note(2)});

    EXPECT_GE(Line(0).ShiftColumns(1, 1, c.mode), 0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::vector<int> expected = c.moved[i] ? std::vector<int>{0, 3} : std::vector<int>{0, 2};
      EXPECT_EQ(Positions(*lines[i]->GetObjList()), expected) << "line " << i;
    }
  }
}

// A group pointer that does not belong to the line's group id, or a group
// that does not hold the line, aligns nothing.
TEST_F(ShiftColumnsGroup, AStaleGroupPointerAlignsNothing) {
  Build({kTreble, kTab}, {1, 1});
  for (auto& line : lines) Fill(*line, {Note(0), Note(2)});
  KLineGroup other(kGroupId + 1, 2, 0);
  Line(0).SetGroupPtr(&other);
  EXPECT_GE(Line(0).ShiftColumns(1, 1, 0), 0);
  EXPECT_EQ(AllPositions(), (std::vector<std::vector<int>>{{0, 3}, {0, 2}}));

  Line(0).SetGroupPtr(group.get());
  group->SetSlotLine(0, nullptr);
  EXPECT_GE(Line(0).ShiftColumns(1, 1, 0), 0);
  EXPECT_EQ(AllPositions(), (std::vector<std::vector<int>>{{0, 4}, {0, 2}}));
}

// Random shifts of three aligned lines: positions stay at column 0 or above
// and ascending, a refused shift changes no line, and columns that stood
// together in two lines stand together afterwards.
TEST_F(ShiftColumnsGroup, RandomShiftsKeepTheLinesAlignedAndInOrder) {
  Build({kTreble, kTab, kBassTab}, {1, 1, 1});
  Columns(Line(0), "nnb.n.nbn..n");
  Columns(Line(1), "nnb.n.nbn..n");
  Columns(Line(2), ".n.bn...nb.n");
  std::mt19937 random(20240611);
  int accepted = 0;
  for (int step = 0; step < 400; ++step) {
    const auto before = AllPositions();
    std::vector<std::pair<const KPosObj*, int>> objects;  // every object with its column before
    for (auto& line : lines) {
      const CObList& list = *line->GetObjList();
      for (POSITION node = list.GetHeadPosition(); node != nullptr;) {
        const auto* object = static_cast<const KPosObj*>(list.GetNext(node));
        objects.emplace_back(object, object->GetPos());
      }
    }
    const int first = int(random() % 24);
    const int delta = int(random() % 7) - 3;
    const int shifted = int(random() % 3);
    const int result = Line(shifted).ShiftColumns(first, delta, 0);
    SCOPED_TRACE("line " + std::to_string(shifted) + " from " + std::to_string(first) + " by " +
                 std::to_string(delta));
    if (result < 0) {
      ASSERT_EQ(AllPositions(), before);
    } else {
      ++accepted;
    }
    for (auto& line : lines) ASSERT_NE(Text(*line).substr(0, 3), "out") << Text(*line);
    // Objects that shared a column share their new one.
    for (const auto& [a, oldA] : objects) {
      for (const auto& [b, oldB] : objects) {
        if (oldA != oldB) continue;
        ASSERT_EQ(a->GetPos(), b->GetPos()) << "from column " << oldA;
      }
    }
  }
  EXPECT_GT(accepted, 100);
}

}  // namespace

namespace {

// The attachments of shifted columns go with them, by the same mapping as
// their columns; those before the shift stay.
struct AttachmentShiftCase {
  const char* name;
  const char* columns;
  int first;
  int delta;
  std::vector<int> before;  // attachment columns
  std::vector<int> after;
};

void PrintTo(const AttachmentShiftCase& c, std::ostream* out) { *out << c.name; }

class ShiftAttachments : public LineTest, public ::testing::WithParamInterface<AttachmentShiftCase> {};

TEST_P(ShiftAttachments, AttachmentsMoveWithTheirColumns) {
  const AttachmentShiftCase& c = GetParam();
  KListLine line(0, 0, 0, KLineObj::kNoGroup, 0);
  Columns(line, c.columns);
  for (int column : c.before) line.AppendAttachment(new KExtendedObj(column, 10, 0, 9, 0, 18, 4));
  line.ShiftColumns(c.first, c.delta, 0);
  std::vector<int> after;
  for (POSITION node = line.GetAttachments()->GetHeadPosition(); node != nullptr;)
    after.push_back(static_cast<KPosObj*>(line.GetAttachments()->GetNext(node))->GetPos());
  EXPECT_EQ(after, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Shifts, ShiftAttachments,
    ::testing::Values(
        AttachmentShiftCase{"a tie after the shift moves right", "nnnn", 1, 2, {0, 2}, {0, 4}},
        AttachmentShiftCase{"a tie after a closing up moves left", "n..nn", 3, -2, {3, 4}, {1, 2}},
        AttachmentShiftCase{"a tie past the bar keeps to its bar", "nn..b.n", 1, 1, {1, 6}, {2, 6}}),
    [](const auto& info) { return viewtest::CaseName(info.param.name); });

}  // namespace
