#pragma once
// What the shared module needs of the chord code: the chord record that the
// chord dialogs and commands pass around. The chord dictionary and the shape
// fitting belong to the chord code and join here when it exists.

#include "platform/CString.h"

#include <cstdint>

// A chord as the chord dialogs and commands pass it: four strings and four
// 32-bit integers; value3 is the chord's variant number, 0..199.
struct ChordRecord {
  CString text0;
  CString text1;
  CString text2;
  CString text3;
  std::int32_t value0 = 0;
  std::int32_t value1 = 0;
  std::int32_t value2 = 0;
  std::int32_t value3 = 0;
};
