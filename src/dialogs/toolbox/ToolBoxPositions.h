#pragma once
// Where the toolboxes stand: each kind keeps the offset of its window's
// top-left corner from the main window's top-left corner. A closed box keeps
// its offset too, coded so that the next start leaves it closed: x becomes
// x * 10000 (10001 for 0). Qt-free.

#include "platform/Geometry.h"

namespace toolbox {

inline constexpr int kClosedFactor = 10000;
inline constexpr int kClosedAtZero = 10001;

// Whether the saved position belongs to an open box.
bool IsOpenPosition(POINT saved);
// The saved position of a box that closes; a closed one stays as it is.
POINT ClosedPosition(POINT saved);
// The offset a saved position stands for, open or closed.
POINT DecodedPosition(POINT saved);
// The screen position of a box at the offset from the main window's
// top-left corner, kept 20 pixels inside the right and bottom screen edges.
POINT PlaceOnScreen(POINT offset, POINT mainTopLeft, SIZE screen);
// An open offset pulled back onto the screen at start-up: one that would put
// the box within 20 pixels of the right or bottom edge (or beyond) moves to
// 20 pixels inside it.
POINT PulledOntoScreen(POINT offset, POINT mainTopLeft, SIZE screen);

}  // namespace toolbox
