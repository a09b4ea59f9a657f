#include "dialogs/toolbox/ToolBoxCells.h"

#include <array>

namespace toolbox {

namespace {

constexpr unsigned kFirstTitleId = 8100;
constexpr int kFirstPictureId = 5466;
constexpr unsigned kFirstCommand = 41185;

// Every palette's codes, row by row, one table; each kind starts at its
// `first` index.
constexpr int kCells[] = {
    // Kinds 0 and 1 [0]
    11002,
    12,
    10,
    8,
    0,
    2,
    4,
    6,
    11,
    9,
    1,
    3,
    5,
    7,
    13,
    36,
    107,
    52,
    66,
    64,
    87,
    14,
    15,
    16,
    17,
    18,
    19,
    20,
    72,  //
    11001,
    28,
    29,
    30,
    31,
    27,
    80,
    81,
    38,
    93,
    85,
    54,
    34,
    32,
    21,
    22,
    23,
    24,
    25,
    26,
    94,
    82,
    83,
    68,
    69,
    89,
    90,
    70,
    71,  //
    11003,
    11004,
    11005,
    77,
    76,
    91,
    92,
    48,
    50,
    86,
    78,
    79,
    84,
    74,
    75,
    40,
    88,
    42,
    44,
    46,
    56,
    58,
    60,
    62,
    95,
    11008,
    11009,
    11010,
    11011,
    // Kinds 2 and 3 [87]
    11002,
    10012,
    10010,
    10008,
    10000,
    10002,
    10004,
    10005,
    10011,
    10009,
    10001,
    10003,
    10006,
    10007,
    10013,
    10036,
    11000,
    10052,
    10066,
    10064,
    10087,
    10014,
    10015,
    10016,
    10017,
    10018,
    10019,
    10020,
    10073,  //
    11001,
    10028,
    10029,
    10030,
    10031,
    10027,
    10080,
    10081,
    10038,
    10093,
    10085,
    10055,
    10034,
    10032,
    11000,
    10022,
    10023,
    10024,
    10025,
    10026,
    10094,
    10082,
    10083,
    10068,
    10069,
    10089,
    10090,
    10070,
    10071,  //
    11003,
    11004,
    11005,
    10077,
    10076,
    10091,
    10092,
    10048,
    10050,
    10086,
    10078,
    10079,
    10084,
    10074,
    10075,
    10040,
    10088,
    10042,
    10044,
    10046,
    10056,
    10058,
    10060,
    10062,
    10095,
    11008,
    11009,
    11010,
    11011,
    // Kind 4 [174]
    11008,
    11009,
    11010,
    11011,
    11012,
    11013,
    11014,
    11015,
    // Kind 5 [182]
    12,
    10,
    8,
    0,
    2,
    4,
    6,
    10014,
    14,
    15,
    16,
    17,
    18,
    19,
    20,
    36,
    107,
    34,
    32,  //
    10012,
    11,
    9,
    1,
    3,
    5,
    7,
    28,
    30,
    27,
    21,
    22,
    23,
    24,
    25,
    26,
    94,
    35,
    33,
    // Kind 6 [220]
    12,
    10,
    8,
    0,
    2,
    4,
    6,
    10014,
    14,
    15,
    16,
    17,
    18,
    19,
    20,
    36,
    107,
    34,
    32,  //
    10012,
    11,
    9,
    1,
    3,
    5,
    7,
    42,
    44,
    46,
    21,
    22,
    23,
    24,
    25,
    26,
    94,
    35,
    33,
    // Kind 7 [258]
    10013,
    13,
    10077,
    10076,
    10004,
    10006,
    10007,
    10005,
    10003,
    // Kind 8 [267]
    10013,
    13,
    10077,
    10076,
    // Kind 9 [271]
    28,
    29,
    30,
    31,
    27,
    10028,
    10030,
    10027,
    // Kind 10 [279]
    21,
    22,
    23,
    10023,
    24,
    25,
    96,
    94,
    26,
    97,
    // Kind 11 [289]
    36,
    107,
    37,
    10036,
    87,
    10087,
    52,
    66,
    64,
    10052,
    10064,
    // Kind 12 [300]
    38,
    39,
    10038,
    54,
    10054,
    10055,
    10016,
    93,
    10019,
    10020,
    10018,
    10093,
    10040,
    10041,
    10048,
    10050,
    85,
    10085,
    10049,
    10051,
    // Kind 13 [320]
    10010,
    10008,
    10000,
    10002,
    10011,
    10009,
    10029,
    10031,
    10001,
    // Kind 14 [329]
    82,
    83,
    68,
    69,
    89,
    90,
    70,
    71,
    80,
    81,
    10080,
    10081,
    10015,  //
    10035,
    10034,
    10032,
    10033,
    88,
    10088,
    72,
    73,
    10073,
    10072,
    10083,
    10022,
    10017,
    // Kind 15 [355]
    42,
    44,
    46,
    86,
    78,
    79,
    84,
    74,
    75,
    48,
    50,
    77,
    76,
    72,
    73,
    40,
    56,
    58,
    60,
    62,
    10095,  //
    10042,
    10044,
    10046,
    10086,
    10078,
    10079,
    10084,
    10074,
    10075,
    10091,
    10092,
    91,
    92,
    100,
    101,
    94,
    10056,
    10058,
    10060,
    10062,
    95,
    // Kind 16 [397]
    10024,
    10025,
    10066,
    10062,
    10094,
    10082,
    64,
    13,
    10048,
    10050,
    85,
    10085,
    10026,
    10068,
    10069,
    10071,
    10070,
    10089,
    10090,
    // Kind 19 [416]
    12,
    10,
    8,
    0,
    2,
    4,
    6,
    14,
    15,
    16,
    17,
    18,
    19,
    20,
    36,
    34,  //
    28,
    29,
    30,
    31,
    27,
    21,
    22,
    23,
    24,
    25,
    26,
    94,
    89,
    90,
    70,
    71,
};
static_assert(sizeof kCells / sizeof kCells[0] == 448, "the cell table holds 448 codes");

constexpr int W = 19;  // the usual cell
constexpr int H = 27;

constexpr std::array<KToolBoxKind, kKindCount> kKinds = {{
    {0, 0, W, H, 551, 81, 0, 29, 3},   {0, 0, 8, 12, 232, 36, 0, 29, 3},  {0, 0, W, H, 551, 81, 87, 29, 3},
    {0, 0, W, H, 551, 81, 87, 29, 3},  {0, 0, W, H, 152, 27, 174, 8, 1},  {0, 0, W, H, 361, 54, 182, 19, 2},
    {0, 0, W, H, 361, 54, 220, 19, 2}, {0, 0, W, H, 171, 27, 258, 9, 1},  {0, 0, W, H, 76, 27, 267, 4, 1},
    {0, 0, W, H, 152, 27, 271, 8, 1},  {0, 0, W, H, 190, 27, 279, 10, 1}, {0, 0, W, H, 209, 27, 289, 11, 1},
    {0, 0, W, H, 380, 27, 300, 20, 1}, {0, 0, W, H, 171, 27, 320, 9, 1},  {0, 0, W, H, 247, 54, 329, 13, 2},
    {0, 0, W, H, 399, 54, 355, 21, 2}, {0, 0, W, H, 361, 27, 397, 19, 1}, {0, 0, 24, 13, 595, 0, -1, 0, 0},
    {0, 0, 14, 36, 729, 68, -1, 0, 0}, {0, 0, W, H, 304, 54, 416, 16, 2},
}};

// The table above with the ids filled in by kind.
const std::array<KToolBoxKind, kKindCount>& Kinds() {
  static const std::array<KToolBoxKind, kKindCount> kinds = [] {
    std::array<KToolBoxKind, kKindCount> all = kKinds;
    for (int k = 0; k < kKindCount; ++k) {
      all[static_cast<size_t>(k)].titleId = kFirstTitleId + static_cast<unsigned>(k);
      all[static_cast<size_t>(k)].pictureId = kFirstPictureId + k;
    }
    return all;
  }();
  return kinds;
}

RECT Rect(int left, int top, int right, int bottom) { return RECT{left, top, right, bottom}; }

}  // namespace

const KToolBoxKind& KindInfo(int kind) { return Kinds()[static_cast<size_t>(kind)]; }

unsigned CommandOfKind(int kind) { return kFirstCommand + static_cast<unsigned>(kind); }

bool IsPalette(int kind) { return kind >= 0 && kind < kKindCount && kind != kFretboard && kind != kKeyboard; }

bool HasControlCells(int kind) { return kind >= kSymbols && kind <= kAlternateTab; }

std::span<const int> AllCells() { return kCells; }

std::span<const int> CellsOf(int kind) {
  if (!IsPalette(kind)) return {};
  const KToolBoxKind& k = KindInfo(kind);
  return std::span<const int>(kCells).subspan(static_cast<size_t>(k.first),
                                              static_cast<size_t>(k.columns * k.rows));
}

int CellCodeAt(int kind, int x, int y) {
  if (!IsPalette(kind) || x < 0 || y < 0) return kNoCode;
  const KToolBoxKind& k = KindInfo(kind);
  const int column = x / k.cellWidth;
  const int row = y / k.cellHeight;
  if (column >= k.columns || row >= k.rows) return kNoCode;
  const int code = CellsOf(kind)[static_cast<size_t>(row * k.columns + column)];
  if (!HasControlCells(kind)) return code;
  if (code == kCaretLeft || code == kCaretRight) {
    // One area two cells wide from the second column of row 3, cut by its
    // two diagonals into four triangles.
    const double dy = y - 2 * k.cellHeight;
    const double d = static_cast<double>(x - k.cellWidth) * k.cellHeight / (2.0 * k.cellWidth);
    const bool belowFalling = dy >= d;
    const bool belowRising = dy >= k.cellHeight - d;
    if (belowFalling && belowRising) return kCaretDown;
    if (belowFalling) return kCaretLeft;
    if (belowRising) return kCaretRight;
    return kCaretUp;
  }
  if (code >= kFirstNoteStyle && code <= kFirstNoteStyle + 3 && y > row * k.cellHeight + k.cellHeight / 2) {
    return code + 4;  // the lower half: styles 4..7
  }
  return code;
}

RECT CellRect(int kind, int index) {
  if (!IsPalette(kind)) return RECT{};
  const KToolBoxKind& k = KindInfo(kind);
  const int column = index % k.columns;
  const int row = index / k.columns;
  return Rect(column * k.cellWidth, row * k.cellHeight, (column + 1) * k.cellWidth, (row + 1) * k.cellHeight);
}

int FindCell(int kind, int code) {
  const std::span<const int> cells = CellsOf(kind);
  for (size_t i = 0; i < cells.size(); ++i)
    if (cells[i] == code) return static_cast<int>(i);
  return -1;
}

RECT NoteStyleRect(int kind, int style) {
  if (style < 0 || style > 7) return RECT{};
  if (kind == kNoteStyles) return CellRect(kind, style);
  if (!HasControlCells(kind)) return RECT{};
  const KToolBoxKind& k = KindInfo(kind);
  const int column = style % 4 + k.columns - 4;
  const int top = 2 * k.cellHeight + (style >= 4 ? k.cellHeight / 2 : 0);
  const int bottom = style >= 4 ? 3 * k.cellHeight : 2 * k.cellHeight + k.cellHeight / 2;
  return Rect(column * k.cellWidth, top, (column + 1) * k.cellWidth, bottom);
}

RECT ModeRect(int kind, int row) {
  if (!HasControlCells(kind) || row < 0 || row > 2) return RECT{};
  const KToolBoxKind& k = KindInfo(kind);
  return Rect(0, row * k.cellHeight, k.cellWidth, (row + 1) * k.cellHeight);
}

int TwinForClass(int kind, int lineClass) {
  const bool tab = lineClass == kClassTab;
  switch (kind) {
    case kAlternate:
    case kAlternateTab:
      return tab ? kAlternateTab : kAlternate;
    case kCommonStaff:
    case kCommonTab:
      return tab ? kCommonTab : kCommonStaff;
    case kStaffGrace:
    case kTabGrace:
      return tab ? kTabGrace : kStaffGrace;
    default:
      return kind;
  }
}

}  // namespace toolbox
