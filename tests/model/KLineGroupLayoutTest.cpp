// Line groups: vertical layout over the display lines, the update hint of a
// run of lines, and the bracket drawing.

#include <algorithm>
#include <regex>
#include <set>
#include <string>

#include "KLineGroupTestSupport.h"
#include "common/ErrorReporter.h"
#include "common/SymbolCache.h"
#include "platform/FakeSymbolLoader.h"
#include "platform/GdiFaults.h"
#include "platform/RecordingDC.h"

namespace {

using Ints = std::vector<int>;
using Strings = std::vector<std::string>;

// One group line for a layout case: kind, bracket number, spaces above and
// below at size 0, strings (tablature).
struct Row {
  int type;
  int bracket;
  int above;
  int below;
  int strings = 6;
};

class KLineGroupLayout : public LineTest {
 protected:
  KLineGroupLayout() {
    ResetLineGroupServices();
    ResetSymbolCache();
    ResetGdiFaults();
    g_lineGap = 10;
  }
  ~KLineGroupLayout() override {
    ResetSymbolCache();
    ResetGdiFaults();
    ResetLineGroupServices();
  }

  // A bound group of the rows, each shown in a display line: line i from
  // y = 100 i + 50 with a height of 80 (the gap included).
  std::unique_ptr<KLineGroup> Shown(const std::vector<Row>& rows, std::vector<DisplayLine>& shown) {
    GroupRecipe recipe;
    for (const Row& r : rows) {
      recipe.types.push_back(r.type);
      recipe.brackets.push_back(r.bracket);
    }
    std::vector<POSITION> positions;
    auto group = MakeGroup(lines, recipe, &positions);
    shown.clear();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (GroupLine* line = lines.Group(positions[i])) {
        line->SetSpaceAbove(rows[i].above, 0);
        line->SetSpaceBelow(rows[i].below, 0);
        line->SetStrings(rows[i].strings);
      }
      const int top = 100 * int(i) + 50;
      shown.push_back(DisplayLine{positions[i], 0, rows[i].type, top, top + 80});
    }
    return group;
  }

  static Ints Tops(const KLineGroup& group) {
    Ints out;
    for (int k = 0; k <= 4; ++k) out.push_back(group.GetBracketTop(k));
    return out;
  }
  static Ints Bottoms(const KLineGroup& group) {
    Ints out;
    for (int k = 0; k <= 4; ++k) out.push_back(group.GetBracketBottom(k));
    return out;
  }

  LineList lines;
  FakeSymbolLoader loader;
  ScopedSymbolLoader loaderScope{loader};
};

TEST_F(KLineGroupLayout, BracketsRunFromTheFirstStaffTopToTheLastStaffBottom) {
  struct Case {
    const char* name;
    std::vector<Row> rows;
    int sizeIndex;
    int notesOnly;
    int step;
    Ints tops;
    Ints bottoms;
    std::pair<int, int> extent;
  };
  // Display lines from 50 / 150 / 250 to 130 / 230 / 330, gap 10 included. A
  // tablature line at the bottom ends at its bottom string: its display line
  // less its space below and the room it keeps under the strings for its
  // rhythm and hairpins (two string distances, a hairpin's opening and 2, less
  // what the space below already leaves under the bottom string).
  const std::vector<Case> cases = {
      {"text above a bracketed staff and tablature",
       {{kText, 0, 0, 0}, {kTreble, 1, 20, 24}, {kTab, 1, 14, 12}},
       0,
       0,
       10,
       {50, 150 + 20, -1, -1, -1},
       {330 - 10 - 1 - 12 - 23, 330 - 10 - 12 - 23, -1, -1, -1},  // room 22 + 7 + 2 - 8
       {50, 330 - 1}},
      {"note lines only, a four-string tablature at the bottom",
       {{kText, 0, 0, 0}, {kTreble, 1, 20, 24}, {kTab, 1, 14, 12, 4}},
       0,
       1,
       10,
       {150 + 20, 150 + 20, -1, -1, -1},
       {330 - 10 - 1 - 10 - 12 - 1, 330 - 10 - 12 - 10 - 1, -1, -1, -1},  // room 22 + 7 + 2 - 30
       {150, 330 - 1}},
      {"a five-string tablature at the top",
       {{kTab, 1, 14, 12, 5}, {kPercussion, 1, 20, 24}},
       0,
       0,
       10,
       {50 + 10 + 14, 50 + 14 + 10, -1, -1, -1},
       {230 - 10 - 1 - 24 - 31, 230 - 10 - 24 - 31, -1, -1, -1},
       {50, 230 - 1}},
      {"percussion and seven strings at the large size",
       {{kPercussion, 2, 25, 50}, {kBassTab, 2, 25, 25, 7}},
       1,
       0,
       14,
       {50 + 33 - 6, -1, 50 + 33 - 6, -1, -1},
       {230 - 10 - 1 - 33 - 26, -1, 230 - 10 - 33 + 14 - 26, -1, -1},  // room 30 + 8 + 2 - 14
       {50, 230 - 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<DisplayLine> shown;
    auto group = Shown(c.rows, shown);
    group->Layout(shown, c.sizeIndex, c.notesOnly, c.step);
    EXPECT_EQ(Tops(*group), c.tops);
    EXPECT_EQ(Bottoms(*group), c.bottoms);
    EXPECT_EQ(group->GetVerticalExtent(), c.extent);
    EXPECT_EQ(group->GetBracketCount(), 1);
  }
}

TEST_F(KLineGroupLayout, OnlyShownLinesCount) {
  std::vector<DisplayLine> shown;
  auto group = Shown({{kTreble, 1, 0, 0}, {kText, 0, 0, 0}, {kTab, 1, 0, 0}, {kBass, 3, 0, 0}}, shown);
  const DisplayLine stranger{lines.Add(kText), 0, kText, 0, 30};
  // The text line is hidden; the bass staff is shown twice (the first counts),
  // after a line of another group.
  std::vector<DisplayLine> table = {stranger, shown[0], shown[2], shown[3], shown[3]};
  table[4].top = 900;
  table[4].bottom = 990;
  const std::vector<DisplayLine> strangerOnly = {stranger};
  // Searched for one group, or looked up in the index a whole score's
  // layout makes once.
  for (const bool indexed : {false, true}) {
    SCOPED_TRACE(indexed ? "index of shown lines" : "search of the table");
    const auto layOut = [&](const std::vector<DisplayLine>& over) {
      if (indexed) {
        group->Layout(KShownLines(over), 0, 0, 10);
      } else {
        group->Layout(over, 0, 0, 10);
      }
    };
    layOut(table);
    EXPECT_EQ(Tops(*group), (Ints{50, 50, -1, 350, -1}));
    // (The tablature line keeps 35 under its strings: 22 + 7 + 2 - (51 - 55).)
    EXPECT_EQ(Bottoms(*group), (Ints{430 - 10 - 1, 330 - 10 - 35, -1, 430 - 10, -1}));
    EXPECT_EQ(group->GetBracketCount(), 2);

    // Nothing shown: only the bracket entries are reset.
    layOut(strangerOnly);
    EXPECT_EQ(Tops(*group), (Ints{0, -1, -1, -1, -1}));
    EXPECT_EQ(group->GetVerticalExtent(), (std::pair<int, int>{50, 430 - 10 - 1 + 10}));
  }
}

TEST_F(KLineGroupLayout, AGrandStaffPairGetsABraceFromTheUpperStaffToTheLowerOnesBottom) {
  std::vector<DisplayLine> shown;
  auto group = Shown({{kTreble, 0, 20, 5}, {kText, 0, 0, 0}, {kBass, 0, 10, 5}, {kTab, 0, 0, 0}}, shown);
  group->SetSlotPartner(0, 102);  // joined bars: the distance is 2
  group->SetSlotPartner(2, -2);
  group->Layout(shown, 0, 0, 10);
  ASSERT_EQ(group->GetBraceCount(), 1);
  // Staff tops lie below their display lines' tops by the space above; a
  // staff is four steps of 6 high at size 0.
  EXPECT_EQ(group->GetBrace(0), (std::pair<int, int>{50 + 20, 250 + 10 + 24}));

  // With the lower staff not shown, no brace.
  group->Layout(std::vector<DisplayLine>{shown[0], shown[1], shown[3]}, 0, 0, 10);
  EXPECT_EQ(group->GetBraceCount(), 0);
}

TEST_F(KLineGroupLayout, EncodeLineRangeNamesTheRunOfNoteLines) {
  std::vector<DisplayLine> shown;
  auto group = Shown({{kText, 0, 0, 0}, {kTreble, 0, 0, 0}, {kTab, 0, 0, 0}, {kText, 0, 0, 0}}, shown);
  const DisplayLine before{lines.Add(kTreble), 0, kTreble};
  const DisplayLine after{lines.Add(kTab), 0, kTab};
  std::vector<DisplayLine> table = {before, shown[0], shown[1], shown[2], shown[3], after};
  const auto range = [](int value, int first, int last) {
    return value + (last + first * 99 + 400000) * 1000;
  };
  const auto one = [](int d) { return (5 * d + 50000) * 2000; };

  struct Case {
    const char* name;
    std::vector<DisplayLine> table;
    int d;
    int value;
    int hint;
  };
  const std::vector<Case> cases = {
      {"from the staff", table, 2, 7, range(7, 2, 3)},
      {"from the tablature", table, 3, -1, range(-1, 2, 3)},
      {"a large value is left out", table, 3, 1001, range(0, 2, 3)},
      {"value 1000 is kept", table, 2, 1000, range(1000, 2, 3)},
      {"a text line without a bracket is one line", table, 4, 7, one(4)},
      {"a line outside the group", table, 0, 7, one(0)},
      {"a run broken by another line", {shown[1], before, shown[2]}, 0, 7, one(0)},
      {"a run out of slot order", {shown[2], shown[1]}, 1, 7, one(1)},
      {"a display line past the table", table, 6, 7, one(6)},
      {"a display line the one-line hint cannot hold", table, 15000, 7, 300000000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(group->EncodeLineRange(c.d, c.value, c.table), c.hint);
  }

  // A text line with a bracket belongs to the run.
  group->SetSlotBracket(3, 1);
  EXPECT_EQ(group->EncodeLineRange(4, 7, table), range(7, 2, 3));

  // Far down a long score the range no longer fits its hint: the whole view.
  std::vector<DisplayLine> tall(2000, before);
  tall.insert(tall.end(), table.begin() + 1, table.end());
  EXPECT_EQ(group->EncodeLineRange(2001, 7, tall), 300000000);
  tall.erase(tall.begin(), tall.begin() + 1100);
  EXPECT_EQ(group->EncodeLineRange(901, 7, tall), range(7, 901, 902));
}

class KLineGroupDraw : public KLineGroupLayout {
 protected:
  KLineGroupDraw() {
    loader.SetSize(3800, 11, 5);
    loader.SetSize(3801, 11, 5);
  }

  // A laid-out group of a staff and a tablature line (bracket 1) and a rhythm
  // line and a staff (bracket 2), indented by 10.
  std::unique_ptr<KLineGroup> Group() {
    std::vector<DisplayLine> shown;
    auto group =
        Shown({{kTreble, 1, 20, 20}, {kTab, 1, 10, 10}, {kRhythm, 2, 0, 0}, {kBass, 2, 20, 20}}, shown);
    group->SetIndent(10);
    group->Layout(shown, 0, 0, 10);
    return group;
  }

  // The target's drawing calls (not those of memory device contexts) among
  // selections, lines and blits, with the blits as "<resource id> x,y".
  static Strings Drawing(const RecordingDC& dc) {
    static const std::regex blit(R"(^(?:BitBlt|StretchBlt) (-?\d+,-?\d+) \S+ mem\d+=bitmap\((\d+) )");
    Strings out;
    for (const std::string& line : dc.Lines()) {
      std::smatch m;
      if (std::regex_search(line, m, blit)) {
        out.push_back(m[2].str() + " " + m[1].str());
      } else if (line.rfind("MoveTo", 0) == 0 || line.rfind("LineTo", 0) == 0 ||
                 line.rfind("SelectObject", 0) == 0) {
        out.push_back(line);
      }
    }
    return out;
  }
  static std::string At(const char* call, int x, int y) {
    return std::string(call) + " " + std::to_string(x) + "," + std::to_string(y);
  }
};

TEST_F(KLineGroupDraw, ScreenBracketsUseTheCurrentPenAndTheHookSymbols) {
  auto group = Group();
  const int x0 = 10 + 5;
  const int dy = -20;
  const auto top = [&](int k) { return group->GetBracketTop(k) + dy; };
  const auto bottom = [&](int k) { return group->GetBracketBottom(k) + dy; };
  const Strings groupBracket = {At("MoveTo", x0 + 3, top(0)), At("LineTo", x0, top(0)),
                                At("LineTo", x0, bottom(0)), At("LineTo", x0 + 3, bottom(0))};

  RecordingDC dc;
  group->DrawBracket(&dc, 5, 0, dy);
  EXPECT_EQ(Drawing(dc), groupBracket);

  dc.Clear();
  group->DrawBracket(&dc, 5, 1, dy);
  Strings expected = groupBracket;
  for (int k : {1, 2}) {
    expected.insert(expected.end(), {"3800 " + std::to_string(x0 - 3) + "," + std::to_string(top(k) - 5),
                                     "3801 " + std::to_string(x0 - 3) + "," + std::to_string(bottom(k)),
                                     At("MoveTo", x0 - 2, top(k)), At("LineTo", x0 - 2, bottom(k)),
                                     At("MoveTo", x0 - 3, top(k)), At("LineTo", x0 - 3, bottom(k))});
  }
  EXPECT_EQ(Drawing(dc), expected);
  EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(KLineGroupDraw, ABraceCurlsFromTheStaffEdgesIntoAPointHalfWayDown) {
  std::vector<DisplayLine> shown;
  auto group = Shown({{kTreble, 0, 20, 5}, {kBass, 0, 20, 5}}, shown);
  group->SetSlotPartner(0, 101);
  group->SetSlotPartner(1, -1);
  group->SetIndent(10);
  group->Layout(shown, 0, 0, 10);
  ASSERT_EQ(group->GetBraceCount(), 1);
  const auto [top, bottom] = group->GetBrace(0);
  const int x0 = 10 + 5;

  RecordingDC dc;
  group->DrawBracket(&dc, 5, 0, 0);
  const Strings drawn = Drawing(dc);
  ASSERT_GT(drawn.size(), 4u);
  std::set<std::pair<int, int>> points;
  static const std::regex call(R"(^(?:MoveTo|LineTo) (-?\d+),(-?\d+)$)");
  for (auto line = drawn.begin() + 4; line != drawn.end(); ++line) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(*line, m, call)) << *line;
    points.insert({std::stoi(m[1].str()), std::stoi(m[2].str())});
  }
  const int middle = top + (bottom - top) / 2;
  int leftmost = x0;
  for (const auto& [x, y] : points) {
    EXPECT_GE(y, top);
    EXPECT_LE(y, bottom);
    EXPECT_LT(x, x0) << "the brace stands left of the group's edge";
    leftmost = std::min(leftmost, x);
    if (x == x0 - 9) {
      EXPECT_EQ(y, middle) << "the point is half way down";
    }
  }
  EXPECT_EQ(leftmost, x0 - 9);
  EXPECT_TRUE(points.count({x0 - 1, top}) == 1 && points.count({x0 - 1, bottom}) == 1)
      << "the ends meet the staves";
  // Down the arms the brace stands well left of its ends.
  const auto atQuarter = std::find_if(points.begin(), points.end(), [&](const auto& p) {
    return p.second > top + (bottom - top) / 8 && p.second < middle - (bottom - top) / 8;
  });
  ASSERT_NE(atQuarter, points.end());
  EXPECT_LE(atQuarter->first, x0 - 3);
  if ((bottom - top) % 2 == 0) {
    for (const auto& [x, y] : points) EXPECT_EQ(points.count({x, top + bottom - y}), 1u) << x << "," << y;
  }
}

TEST_F(KLineGroupDraw, PrintedBracketsUseAPenScaledByThePrintSize) {
  auto group = Group();
  g_screenResX = g_screenResY = 100;
  g_deviceResX = g_deviceResY = 300;
  g_printSizePct = 150;
  DeviceCaps caps;
  caps.technology = DT_RASPRINTER;
  caps.logPixelsX = caps.logPixelsY = 300;
  RecordingDC printer(caps, true);
  CPen* callerPen = printer.GetCurrentPen();
  const int x0 = 10;
  const auto top = [&](int k) { return 3 * group->GetBracketTop(k); };
  const auto bottom = [&](int k) { return 3 * group->GetBracketBottom(k); };

  group->DrawBracket(&printer, 0, 1, 0);
  Strings expected = {At("MoveTo", 3 * (x0 + 3), top(0)), At("LineTo", 3 * x0, top(0)),
                      At("LineTo", 3 * x0, bottom(0)), At("LineTo", 3 * (x0 + 3), bottom(0)),
                      "SelectObject pen(PS_SOLID,9,RGB(0,0,0))"};
  for (int k : {1, 2}) {
    expected.insert(expected.end(),
                    {"3804 " + std::to_string(3 * (x0 - 3)) + "," + std::to_string(top(k) - 15),
                     "3805 " + std::to_string(3 * (x0 - 3)) + "," + std::to_string(bottom(k)),
                     At("MoveTo", 3 * (x0 - 2), top(k)), At("LineTo", 3 * (x0 - 2), bottom(k)),
                     At("MoveTo", 3 * (x0 - 3), top(k)), At("LineTo", 3 * (x0 - 3), bottom(k))});
  }
  Strings drawn = Drawing(printer);
  ASSERT_EQ(drawn.size(), expected.size() + 1);
  EXPECT_EQ(Strings(drawn.begin(), drawn.end() - 1), expected);
  EXPECT_EQ(drawn.back().rfind("SelectObject", 0), 0u);
  EXPECT_EQ(printer.GetCurrentPen(), callerPen) << "the caller's pen is selected again";
}

TEST_F(KLineGroupDraw, APenThatCannotBeMadeIsReportedOnceAndNoBracketIsDrawn) {
  auto group = Group();
  g_deviceRender = 1;
  RecordingDC dc;
  for (int attempt = 0; attempt < 2; ++attempt) {
    dc.Clear();
    FailNextGdiCreations(GdiResource::Pen);
    group->DrawBracket(&dc, 0, 1, 0);
    EXPECT_EQ(Drawing(dc).size(), 4u) << "the group bracket only";
  }
  ASSERT_EQ(m_ui.Messages().size(), 1u);
  EXPECT_EQ(m_ui.Messages()[0].id, kMsgInternalProblem);
  EXPECT_NE(m_ui.Messages()[0].text.find("OC2-6"), std::string::npos);
  EXPECT_EQ(loader.TotalLoads(), 0);
}

}  // namespace
