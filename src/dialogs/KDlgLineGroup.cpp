#include "dialogs/KDlgLineGroup.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include "common/HelpTopics.h"
#include "dialogs/ChordPictures.h"
#include "platform/CDC.h"
#include "platform/UiPort.h"

namespace {

constexpr int kText = 5;
constexpr int kTreble = 0;
constexpr int kBass = 1;
constexpr int kBassTab = 15;
constexpr int kHighestKind = 16;
constexpr int kMaxDefaultsEntries = 20;
constexpr const char* kGatheredFrame = "Modify properties of the current group:";
constexpr const char* kNewFrame = "Define a set of lines which will constitute a group:";
constexpr const char* kNoTextTranslation = "Automatic translation cannot involve text lines.";

// The kinds the arrows step through: the common ones, or every staff kind.
constexpr int kShortList[] = {5, 0, 1, 2, 15, 4, 3, 5, 5};
constexpr int kLongList[] = {5, 0, 1, 9, 10, 11, 12, 13, 14, 16, 2, 15, 4, 3};

UINT SetBox(int set, int shownRow) {
  return KDlgLineGroup::kIdSet1 + static_cast<UINT>(10 * (set - 1) + shownRow);
}

bool IsNoteKind(int kind) { return (kind >= 0 && kind <= 2) || (kind >= 9 && kind <= 16); }

// The code a kind has in the saved defaults text, and back.
std::string DefaultsCode(int kind) {
  if (kind == kBassTab) return "3";
  if (kind >= 3 && kind <= 5) return std::to_string(kind + 1);
  if (kind >= 10) return "1" + std::to_string(kind % 10);
  return std::to_string(kind);
}

int KindOfDefaultsCode(const std::string& code) {
  if (code.size() >= 2 && code[0] == '1') return std::min(10 + (code[1] - '0'), kHighestKind);
  if (code.empty() || code[0] < '0' || code[0] > '9') return kText;
  const int digit = code[0] - '0';
  if (digit == 3) return kBassTab;
  if (digit >= 4 && digit <= 6) return digit - 1;
  return std::min(digit, kHighestKind);
}

}  // namespace

KDlgLineGroup::KDlgLineGroup() : KModalDialog(kTemplateId) { types.fill(kEmptyRow); }

const char* KDlgLineGroup::TypeName(int type) {
  switch (type) {
    case 0:
      return "Treble";
    case 1:
      return "Bass";
    case 2:
      return "TAB";
    case 3:
      return "Rhythm";
    case 4:
      return "Chord";
    case 5:
      return "Text";
    case 9:
      return "Alto";
    case 10:
      return "Tenor";
    case 11:
      return "8va";
    case 12:
      return "8vb";
    case 13:
      return "Drum";
    case 14:
      return "No Clef";
    case 15:
      return "BassTAB";
    case 16:
      return "Perc.L";
    default:
      return "Text";
  }
}

// ---- Controls ---------------------------------------------------------------------------

void KDlgLineGroup::DeclareControls(DialogControls& c) {
  c.SetTitle("Line Grouping");
  c.Group(kIdFrame, kNewFrame);
  static constexpr std::array<const char*, kColumnTitles> kTitles = {
      "In Group", "Curly Brace", "Line Type", "Label (Optional)", "Set 1", "Set 2", "Set 3", "Set 4"};
  for (size_t t = 0; t < kTitles.size(); ++t) c.Static(kIdColumnTitle + static_cast<UINT>(t), kTitles[t]);
  for (int r = 0; r < kShownRows; ++r) {
    const auto row = static_cast<UINT>(r);
    c.Static(kIdRowNumber + row, std::to_string(r + 1));
    c.Check(kIdInGroup + row, "", m_inGroupShown[row]).WhenChanged([this, r] { OnInGroup(r); });
    c.Picture(kIdBraceStrip + row, m_braceCells[row], kBraceCellWidth, kBraceCellHeight).InkOnly();
    c.Check(kIdBrace + row, "", m_braceShown[row]).WhenChanged([this, r] { OnBrace(r); });
    c.Static(kIdTypeText + row, "");
    c.Spin(kIdTypeSpin + row, [this, r](int delta) { OnTypeStep(r, delta); });
    c.Edit(kIdLabel + row, m_shownLabels[row], kMaxLabelChars).WhenChanged([this, r] {
      m_shownLabels[static_cast<size_t>(r)] =
          CString(std::string_view(Controls().Text(kIdLabel + static_cast<UINT>(r))));
      labels[static_cast<size_t>(RowOf(r))] = m_shownLabels[static_cast<size_t>(r)];
    });
    for (int set = 1; set <= kSets; ++set) {
      c.Check(SetBox(set, r), "", m_setShown[static_cast<size_t>(set - 1)][row]).WhenChanged([this, r, set] {
        OnSet(r, set);
      });
    }
  }
  c.Static(kIdSetsLegend, kSetsLegend);
  c.Static(kIdLongBarsLabel, "Use long bars connecting     staff lines in each set");
  for (int set = 1; set <= kSets; ++set) {
    c.Check(kIdLongBars + static_cast<UINT>(set - 1), "Set " + std::to_string(set),
            m_longBarBoxes[static_cast<size_t>(set - 1)]);
  }
  c.Check(kIdSpaceBelow, "&Add space at bottom of group", spaceAtBottom);
  c.Check(kIdDefaults, "Use these settings as new &defaults", useAsDefaults);
  c.Check(kIdIncludeAll, "&Include all staff type options (Alto, Tenor, 8va, etc.)", includeAll)
      .WhenChanged([this] { OnIncludeAll(); });
  c.Button(kIdFirstPage, "Show Lines 1-10", DialogButtonRole::kAction, [this] { ShowPage(0); });
  c.Button(kIdSecondPage, "Show Lines 11-20", DialogButtonRole::kAction, [this] { ShowPage(1); });
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "OK", DialogButtonRole::kOk);
  for (int row = 0; row < kRows; ++row) {
    c.Keep(types[static_cast<size_t>(row)]);
    c.Keep(labels[static_cast<size_t>(row)]);
    c.Keep(sets[static_cast<size_t>(row)]);
    c.Keep(braces[static_cast<size_t>(row)]);
  }
  for (int& state : longBars) c.Keep(state);
  c.Keep(newDefaultsText);
}

void KDlgLineGroup::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  // One grid: each heading stands over its column of boxes. The brace strip
  // has a column of its own, without a heading, left of the Curly Brace boxes.
  const auto title = [](int column) { return Ctl(kIdColumnTitle + static_cast<UINT>(column)); };
  DialogLayoutItem headings = Row(
      {Stretch(), title(0), Stretch(), title(1), title(2), title(3), title(4), title(5), title(6), title(7)});
  std::vector<DialogLayoutItem> grid = {headings};
  for (UINT r = 0; r < kShownRows; ++r) {
    DialogLayoutItem row =
        Row({Ctl(kIdRowNumber + r), Ctl(kIdInGroup + r), Ctl(kIdBraceStrip + r), Ctl(kIdBrace + r),
             Row({Ctl(kIdTypeText + r), Ctl(kIdTypeSpin + r)}), Ctl(kIdLabel + r)});
    for (int set = 1; set <= kSets; ++set) row.children.push_back(Ctl(SetBox(set, static_cast<int>(r))));
    grid.push_back(row);
  }
  const DialogLayoutItem rows = Grid(std::move(grid));
  DialogLayoutItem longBarRow = Row({Ctl(kIdLongBarsLabel)});
  for (UINT set = 0; set < kSets; ++set) longBarRow.children.push_back(Ctl(kIdLongBars + set));
  layout.children = {Box(kIdFrame, {rows}), Ctl(kIdSetsLegend), longBarRow,
                     Row({Ctl(kIdSpaceBelow), Ctl(kIdFirstPage), Ctl(kIdSecondPage)}),
                     Row({Ctl(kIdIncludeAll), Ctl(kIdDefaults)})};
}

// ---- Rows -------------------------------------------------------------------------------

int KDlgLineGroup::KindOf(int row) const {
  const int type = types[static_cast<size_t>(row)];
  return type >= kOutOfGroup ? type - kOutOfGroup : type;
}

bool KDlgLineGroup::IsGrandStaff(int row) const {
  return InGroup(row) &&
         (types[static_cast<size_t>(row)] == kTreble || types[static_cast<size_t>(row)] == kBass);
}

void KDlgLineGroup::BuildTypeList() {
  if (includeAll != 0) {
    m_typeList.assign(std::begin(kLongList), std::end(kLongList));
  } else {
    m_typeList.assign(std::begin(kShortList), std::end(kShortList));
  }
}

std::pair<int, int> KDlgLineGroup::BraceCell(int row) const {
  // The brace runs from an upper row down to its partner.
  for (int upper = 0; upper <= row; ++upper) {
    const int d = braces[static_cast<size_t>(upper)];
    if (d <= 0) continue;
    const int reach = d % kJoinedBars;
    if (row <= upper + reach) return {row - upper, reach + 1};
  }
  return {-1, 0};
}

// A row's piece of a curly brace that covers `count` cells, this one the
// index-th from the top: the ends curl in towards the rows, the arms bow
// back and meet in the point half way down, heavier in their middle.
void KDlgLineGroup::DrawBraceCell(int shownRow) {
  const auto [index, count] = BraceCell(RowOf(shownRow));
  Controls().Show(kIdBraceStrip + static_cast<UINT>(shownRow), index >= 0 && count > 0);
  KPictureCanvas canvas(m_braceCells[static_cast<size_t>(shownRow)], kBraceCellWidth, kBraceCellHeight);
  CDC* dc = canvas.Dc();
  if (dc == nullptr || index < 0 || count <= 0) return;
  constexpr double kPoint = 1;                  // x of the point
  constexpr double kArm = 5;                    // x of the arms
  constexpr double kEnd = kBraceCellWidth - 2;  // x of the ends
  constexpr COLORREF kInk = 0;
  const double total = static_cast<double>(count) * kBraceCellHeight;
  int previous = -1;
  for (int y = 0; y < kBraceCellHeight; ++y) {
    const double t = (index * kBraceCellHeight + y + 0.5) / total;
    // s runs from an end (0) to the point (1).
    const double s = t < 0.5 ? 2 * t : 2 * (1 - t);
    const double x = kPoint + (kArm - kPoint) * (1 - std::pow(s, 6)) + (kEnd - kArm) * std::pow(1 - s, 6);
    const int column = static_cast<int>(std::lround(x));
    const int weight = 1 + static_cast<int>(std::lround(1.2 * std::sin(3.14159265358979 * s)));
    // Join the step from the row above so that the curls stay unbroken.
    const int from = previous < 0 ? column : std::min(previous, column);
    const int to = previous < 0 ? column : std::max(previous, column);
    dc->FillSolidRect(from, y, to - from + weight, 1, kInk);
    previous = column;
  }
}

bool KDlgLineGroup::BraceBoxEnabled(int row) const {
  if (!IsGrandStaff(row)) return false;
  const int brace = braces[static_cast<size_t>(row)];
  if (brace > 0) return true;
  if (brace < 0) return false;
  for (int below = row + 1; below < kRows; ++below) {
    if (!InGroup(below) || !IsNoteKind(types[static_cast<size_t>(below)])) continue;
    return IsGrandStaff(below) && braces[static_cast<size_t>(below)] == 0;
  }
  return false;
}

void KDlgLineGroup::ClearUnbalancedBraces() {
  int sum = 0;
  for (int brace : braces) sum += brace;
  if (sum != 0) braces.fill(0);
}

void KDlgLineGroup::ShowRows() {
  m_showing = true;
  DialogControls& c = Controls();
  // What the user set in the boxes that no row holds stays as set.
  if (m_opened) {
    for (int set = 0; set < kSets; ++set)
      m_longBarBoxes[static_cast<size_t>(set)] = c.Checked(kIdLongBars + static_cast<UINT>(set));
    spaceAtBottom = c.Checked(kIdSpaceBelow);
    useAsDefaults = c.Checked(kIdDefaults);
    includeAll = c.Checked(kIdIncludeAll);
  }
  ClearUnbalancedBraces();
  for (int r = 0; r < kShownRows; ++r) {
    const auto shown = static_cast<size_t>(r);
    const int row = RowOf(r);
    const auto i = static_cast<size_t>(row);
    c.SetCaption(kIdRowNumber + static_cast<UINT>(r), std::to_string(row + 1));
    m_inGroupShown[shown] = InGroup(row) ? 1 : 0;
    c.SetCaption(kIdTypeText + static_cast<UINT>(r), TypeName(KindOf(row)));
    m_shownLabels[shown] = labels[i];
    for (int set = 1; set <= kSets; ++set)
      m_setShown[static_cast<size_t>(set - 1)][shown] = sets[i] == set ? 1 : 0;
    m_braceShown[shown] = IsGrandStaff(row) && braces[i] > 0 ? 1 : 0;
    c.Enable(kIdBrace + static_cast<UINT>(r), BraceBoxEnabled(row));
    DrawBraceCell(r);
    const auto place = std::find(m_typeList.begin(), m_typeList.end(), KindOf(row));
    c.SetShown(kIdTypeSpin + static_cast<UINT>(r),
               place == m_typeList.end() ? 0 : static_cast<int>(place - m_typeList.begin()));
  }
  c.Load();
  m_showing = false;
}

void KDlgLineGroup::RemoveBrace(int row) {
  const int brace = braces[static_cast<size_t>(row)];
  if (brace == 0) return;
  const int other = row + (brace > 0 ? brace % kJoinedBars : brace);
  if (other >= 0 && other < kRows) braces[static_cast<size_t>(other)] = 0;
  braces[static_cast<size_t>(row)] = 0;
}

void KDlgLineGroup::RemoveSet(int set) {
  if (set == 0) return;
  for (int& s : sets) {
    if (s == set) s = 0;
  }
}

// ---- Opening ----------------------------------------------------------------------------

void KDlgLineGroup::BracesFromMarks() {
  int open = -1;
  for (int row = 0; row < kRows; ++row) {
    const int mark = braces[static_cast<size_t>(row)];
    if (mark == kLowerMark && open >= 0) {
      braces[static_cast<size_t>(open)] = row - open;
      braces[static_cast<size_t>(row)] = -(row - open);
      open = -1;
    } else if (mark > 0 && mark != kLowerMark) {
      open = row;
    }
  }
  ClearUnbalancedBraces();
}

void KDlgLineGroup::ReadDefaults() {
  // "space,include all,unused" then entries of kind code, set digit, label.
  std::vector<std::string> fields;
  std::string field;
  for (char ch : defaultsText.View()) {
    if (ch == ',') {
      fields.push_back(field);
      field.clear();
    } else {
      field += ch;
    }
  }
  fields.push_back(field);
  if (fields.size() < 3) return;
  spaceAtBottom = fields[0] == "0" ? 0 : 1;
  if (fields[1] == "1") includeAll = 1;
  for (size_t next = 3, row = 0; next < fields.size() && row < static_cast<size_t>(kMaxDefaultsEntries);
       next += 3, ++row) {
    const std::string& code = fields[next];
    if (code.empty()) break;
    const std::string set = next + 1 < fields.size() ? fields[next + 1] : std::string();
    const std::string label = next + 2 < fields.size() ? fields[next + 2] : std::string();
    types[row] = KindOfDefaultsCode(code);
    sets[row] = set.size() == 1 && set[0] >= '0' && set[0] <= '4' ? set[0] - '0' : 0;
    labels[row] = CString(std::string_view(label.substr(0, kMaxLabelChars)));
  }
}

BOOL KDlgLineGroup::OnInitDialog() {
  m_opened = false;
  KModalDialog::OnInitDialog();
  m_page = 0;
  spaceAtBottom = 1;
  const bool gathered = gatheredCount > 0;
  if (!gathered) gatheredCount = 0;
  Controls().SetCaption(kIdFrame, gathered ? kGatheredFrame : kNewFrame);
  if (gathered) {
    BracesFromMarks();
  } else {
    braces.fill(0);
  }
  for (int row = gatheredCount; row < kRows; ++row) {
    types[static_cast<size_t>(row)] = kEmptyRow;
    labels[static_cast<size_t>(row)].Empty();
    sets[static_cast<size_t>(row)] = 0;
    braces[static_cast<size_t>(row)] = 0;
  }
  for (int set = 0; set < kSets; ++set)
    m_longBarBoxes[static_cast<size_t>(set)] = longBars[static_cast<size_t>(set)] > 0;
  if (!gathered) ReadDefaults();
  BuildTypeList();
  ShowRows();
  m_opened = true;
  return TRUE;
}

// ---- Handlers ---------------------------------------------------------------------------

void KDlgLineGroup::OnTypeStep(int shownRow, int delta) {
  const int row = RowOf(shownRow);
  const auto i = static_cast<size_t>(row);
  const int places = static_cast<int>(m_typeList.size());
  const auto found = std::find(m_typeList.begin(), m_typeList.end(), KindOf(row));
  const int place = found == m_typeList.end() ? 0 : static_cast<int>(found - m_typeList.begin());
  // Up steps to the next place of the list, down to the one before.
  const int next = delta > 0 ? (place + 1) % places : (place + places - 1) % places;
  types[i] = m_typeList[static_cast<size_t>(next)];
  RemoveBrace(row);
  RemoveSet(sets[i]);
  ShowRows();
}

void KDlgLineGroup::OnInGroup(int shownRow) {
  if (m_showing) return;
  const int row = RowOf(shownRow);
  const auto i = static_cast<size_t>(row);
  if (InGroup(row)) {
    types[i] += kOutOfGroup;
    RemoveBrace(row);
    sets[i] = 0;
  } else {
    types[i] -= kOutOfGroup;
  }
  ShowRows();
}

void KDlgLineGroup::OnBrace(int shownRow) {
  if (m_showing) return;
  const int row = RowOf(shownRow);
  if (braces[static_cast<size_t>(row)] != 0) {
    RemoveBrace(row);
    ShowRows();
    return;
  }
  // The partner: the first treble or bass row below; rows left out of the
  // group between them come in as text rows.
  for (int below = row + 1; below < kRows; ++below) {
    if (!IsGrandStaff(below)) continue;
    for (int between = row + 1; between < below; ++between) {
      if (!InGroup(between)) types[static_cast<size_t>(between)] = kText;
    }
    braces[static_cast<size_t>(row)] = below - row;
    braces[static_cast<size_t>(below)] = -(below - row);
    break;
  }
  ShowRows();
}

void KDlgLineGroup::OnSet(int shownRow, int set) {
  if (m_showing) return;
  const int row = RowOf(shownRow);
  const auto i = static_cast<size_t>(row);
  if (sets[i] == set) {
    sets[i] = 0;
  } else if (sets[i] != 0) {
    sets[i] = set;
  } else if (KindOf(row) == kText) {
    AfxMessageBox(kNoTextTranslation, MB_OK | MB_ICONEXCLAMATION);
  } else {
    sets[i] = set;
  }
  ShowRows();
}

void KDlgLineGroup::OnIncludeAll() {
  if (m_showing) return;
  includeAll = Controls().Checked(kIdIncludeAll);
  BuildTypeList();
  ShowRows();
}

void KDlgLineGroup::ShowPage(int page) {
  m_page = std::clamp(page, 0, 1);
  ShowRows();
}

void KDlgLineGroup::OnHelp() { ShowHelpTopic(HelpTopic::kLineGrouping); }

// ---- OK ---------------------------------------------------------------------------------

void KDlgLineGroup::CompactSets() {
  std::set<int> used;
  for (int row = 0; row < kRows; ++row) {
    if (InGroup(row) && sets[static_cast<size_t>(row)] > 0) used.insert(sets[static_cast<size_t>(row)]);
  }
  const int k = static_cast<int>(used.size());
  while (!used.empty() && *used.rbegin() > k) {
    const int largest = *used.rbegin();
    int free = 1;
    while (used.count(free) != 0) ++free;
    for (int& s : sets) {
      if (s == largest) s = free;
    }
    used.erase(largest);
    used.insert(free);
  }
}

bool KDlgLineGroup::OnOK() {
  if (!UpdateData(TRUE)) return false;
  for (int r = 0; r < kShownRows; ++r)
    labels[static_cast<size_t>(RowOf(r))] = m_shownLabels[static_cast<size_t>(r)];
  CompactSets();
  for (int set = 0; set < kSets; ++set)
    longBars[static_cast<size_t>(set)] = m_longBarBoxes[static_cast<size_t>(set)];
  // A treble staff braced to the bass staff right below it joins its bars to
  // it, unless its set has long bars already.
  for (int row = 0; row + 1 < kRows; ++row) {
    const auto i = static_cast<size_t>(row);
    if (!InGroup(row)) continue;
    if (sets[i] > 0 && longBars[static_cast<size_t>(sets[i] - 1)] != 0) continue;
    if (types[i] == kTreble && types[i + 1] == kBass && braces[i] >= 1 && braces[i] <= 99)
      braces[i] += kJoinedBars;
  }
  if (useAsDefaults != 0) {
    std::string text =
        std::to_string(spaceAtBottom != 0 ? 1 : 0) + "," + std::to_string(includeAll) + ",700,";
    for (int row = 0; row < kRows; ++row) {
      if (!InGroup(row)) continue;
      const auto i = static_cast<size_t>(row);
      std::string label(labels[i].View());
      std::erase(label, ',');  // the text separates its fields with commas
      text += DefaultsCode(types[i]) + "," + std::to_string(sets[i]) + "," + label + ",";
    }
    newDefaultsText = CString(std::string_view(text));
  }
  return true;
}
