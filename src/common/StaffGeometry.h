#pragma once
// The geometry of staffs and tablature in the view's units, in one place: the
// layout, the drawing, the caret, the mouse and the keys all place rows with
// these. Values indexed [2] are per symbol size (0 small, 1 large).
//
// A staff row is half a staff space high; row 15 holds the top staff line
// (rows count down the page from above the staff), and a percussion staff
// stands six rows higher than a pitched one. Tablature rows are one string
// apart, the top string on row 2.5.

// Half a staff space: the height of one staff row (a line or a space).
inline constexpr int g_StaffStep[2] = {3, 4};
// A staff space: the distance between staff lines (also the bow height of curves).
inline constexpr int g_StaffLineSpacing[2] = {6, 8};
// The staff row of the top staff line, and the row the staff's origin counts
// from (the space above it).
inline constexpr int g_StaffTopRow = 15;
inline constexpr int g_StaffOriginRow = 14;
// The tablature row of the top string.
inline constexpr double g_TabTopRow = 2.5;
// Rows a percussion staff's notes stand above a pitched staff's.
inline constexpr int g_PercussionRaise = 6;
