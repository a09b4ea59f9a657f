#pragma once
// KDlgLineGroup: defines or changes one line group of up to 20 lines. For
// each row the user sets whether it is in the group, its line kind, an
// optional label, its bracket set (1 to 4: lines aligned column by column
// and translated into one another), a curly brace joining a treble or bass
// row to a lower treble or bass row, and per set whether long bar lines join
// its staves. Ten rows show at a time.
//
// Rows: a kind below 99 is in the group, 99 + kind is left out (104: an
// empty row, a text row left out). A brace value +d marks the upper row of a
// brace whose lower row is d rows below, -d that lower row; the caller hands
// in 1000 (upper) and 2000 (lower) marks, which opening turns into offsets.

#include <array>
#include <utility>
#include <vector>

#include "platform/GdiObjects.h"
#include "platform/ModalDialog.h"

class KDlgLineGroup : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5503;
  static constexpr int kRows = 20;
  static constexpr int kShownRows = 10;
  static constexpr int kSets = 4;
  static constexpr int kMaxLabelChars = 32;
  static constexpr int kOutOfGroup = 99;
  static constexpr int kEmptyRow = 104;
  static constexpr int kUpperMark = 1000;
  static constexpr int kLowerMark = 2000;
  static constexpr int kJoinedBars = 100;

  static constexpr UINT kIdTypeText = 1030;  // + row
  static constexpr UINT kIdBrace = 1040;     // + row
  static constexpr UINT kIdTypeSpin = 1050;  // + row
  static constexpr UINT kIdInGroup = 1060;   // + row
  static constexpr UINT kIdSet1 = 1071;      // + row; sets 2..4 at 1081, 1091, 1101
  static constexpr UINT kIdLabel = 1121;     // + row
  static constexpr UINT kIdHelp = 1132;
  static constexpr UINT kIdDefaults = 1133;
  static constexpr UINT kIdIncludeAll = 1134;
  static constexpr UINT kIdSpaceBelow = 1135;
  static constexpr UINT kIdFirstPage = 1136;
  static constexpr UINT kIdSecondPage = 1137;
  static constexpr UINT kIdFrame = 1139;
  static constexpr UINT kIdRowNumber = 1140;    // + row
  static constexpr UINT kIdLongBars = 6000;     // + set - 1
  static constexpr UINT kIdBraceStrip = 40100;  // + row: the brace drawn beside the rows
  // The size of a row's cell of the brace strip, in pixels.
  static constexpr int kBraceCellWidth = 12;
  static constexpr int kBraceCellHeight = 22;
  static constexpr UINT kIdLongBarsLabel = 40001;
  // The headings over the columns of the rows, one a column: In Group,
  // Curly Brace, Line Type, Label (Optional), Set 1 to Set 4.
  static constexpr UINT kIdColumnTitle = 40010;  // + column
  static constexpr int kColumnTitles = 8;
  // What the Set boxes do: they are what links lines for translation.
  static constexpr UINT kIdSetsLegend = 40003;
  static constexpr const char* kSetsLegend =
      "Lines ticked in the same Set are linked: notes typed on one are written on the others "
      "(a staff and its TAB both in Set 1).\nLines with no Set ticked are grouped but not linked.";

  KDlgLineGroup();

  // ---- What the grouping command fills ------------------------------------------
  int gatheredCount = 0;  // rows 0..count-1 hold gathered lines
  std::array<int, kRows> types{};
  std::array<CString, kRows> labels;
  std::array<int, kRows> sets{};
  std::array<int, kRows> braces{};
  // Per set: -1 not seen, else whether its first line has long bars; after OK
  // 0 or 1 as the boxes say.
  std::array<int, kSets> longBars{-1, -1, -1, -1};
  int includeAll = 0;
  // The saved defaults ("LineGroups"), read when no lines were gathered.
  CString defaultsText;

  // ---- What OK gives back -------------------------------------------------------
  int spaceAtBottom = 1;
  int useAsDefaults = 0;
  CString newDefaultsText;  // the defaults text to save, when useAsDefaults

  BOOL OnInitDialog() override;
  bool OnOK() override;

  // ---- Handlers (the controls run them) -------------------------------------------
  void OnTypeStep(int shownRow, int delta);
  void OnInGroup(int shownRow);
  void OnBrace(int shownRow);
  void OnSet(int shownRow, int set);
  void OnIncludeAll();
  void ShowPage(int page);
  void OnHelp();

  // The kinds the type arrows step through, and each kind's name.
  const std::vector<int>& TypeList() const { return m_typeList; }
  static const char* TypeName(int type);
  int Page() const { return m_page; }
  // Where a row stands in the brace drawn beside the rows: its place below
  // the brace's upper row (0 for that row) and the number of rows the brace
  // covers; {-1, 0} for a row no brace passes.
  std::pair<int, int> BraceCell(int row) const;
  // The picture of a shown row's brace strip cell (shown only where a
  // brace passes the row).
  const CBitmap& BraceCellPicture(int shownRow) const { return m_braceCells[static_cast<size_t>(shownRow)]; }

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  int RowOf(int shownRow) const { return m_page * kShownRows + shownRow; }
  bool InGroup(int row) const { return types[static_cast<size_t>(row)] < kOutOfGroup; }
  int KindOf(int row) const;
  bool IsGrandStaff(int row) const;
  void BuildTypeList();
  void ReadDefaults();
  void BracesFromMarks();
  void RemoveBrace(int row);
  void RemoveSet(int set);
  void ClearUnbalancedBraces();
  void CompactSets();
  // Puts the rows of the page into the controls.
  void ShowRows();
  bool BraceBoxEnabled(int row) const;
  void DrawBraceCell(int shownRow);

  std::vector<int> m_typeList;
  int m_page = 0;
  std::array<CString, kShownRows> m_shownLabels;
  std::array<int, kShownRows> m_inGroupShown{};
  std::array<int, kShownRows> m_braceShown{};
  std::array<std::array<int, kShownRows>, kSets> m_setShown{};
  std::array<int, kSets> m_longBarBoxes{};
  std::array<CBitmap, kShownRows> m_braceCells;
  bool m_showing = false;
  bool m_opened = false;  // OnInitDialog is done: the boxes hold what the user set
};
