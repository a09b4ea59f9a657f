#pragma once
// How a dialog's controls are arranged, without saying how a toolkit draws
// them: columns and rows of controls, boxes of related controls under a group
// box's caption, forms whose labels stand beside their fields, and grids
// whose cells line up in columns (headings over their columns). The window
// builder turns this into layouts that resize. OK, Cancel and Help need no
// place: they go to the window's button row in the desktop's order. A control
// the layout does not name is put at the end of the body, so none is lost.

#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/WinTypes.h"

struct DialogLayoutItem {
  enum class Kind {
    kControl,  // one control (id)
    kColumn,   // children top to bottom
    kRow,      // children left to right
    kBox,      // children in a column inside the group box (id)
    kForm,     // children are kField items
    kField,    // a label (id) beside its field (fieldId)
    kStretch,  // empty space that takes what is left; in a grid, an empty cell
    kGrid,     // children are kRow items; the n-th item of each row stands in column n
  };
  Kind kind = Kind::kColumn;
  UINT id = 0;
  UINT fieldId = 0;
  std::vector<DialogLayoutItem> children;
};

namespace dialog_layout {

inline DialogLayoutItem Ctl(UINT id) { return {DialogLayoutItem::Kind::kControl, id, 0, {}}; }
inline DialogLayoutItem Column(std::initializer_list<DialogLayoutItem> items) {
  return {DialogLayoutItem::Kind::kColumn, 0, 0, items};
}
inline DialogLayoutItem Row(std::initializer_list<DialogLayoutItem> items) {
  return {DialogLayoutItem::Kind::kRow, 0, 0, items};
}
inline DialogLayoutItem Box(UINT groupId, std::initializer_list<DialogLayoutItem> items) {
  return {DialogLayoutItem::Kind::kBox, groupId, 0, items};
}
inline DialogLayoutItem Field(UINT labelId, UINT fieldId) {
  return {DialogLayoutItem::Kind::kField, labelId, fieldId, {}};
}
inline DialogLayoutItem Form(std::initializer_list<DialogLayoutItem> fields) {
  return {DialogLayoutItem::Kind::kForm, 0, 0, fields};
}
inline DialogLayoutItem Stretch() { return {DialogLayoutItem::Kind::kStretch, 0, 0, {}}; }
// Rows whose cells line up: a control stands centred in its cell (a text
// field fills it), so that a heading's centre is over its column's controls.
inline DialogLayoutItem Grid(std::vector<DialogLayoutItem> rows) {
  return {DialogLayoutItem::Kind::kGrid, 0, 0, std::move(rows)};
}

}  // namespace dialog_layout

// Every control id the layout places, in reading order.
void CollectLayoutIds(const DialogLayoutItem& item, std::vector<UINT>& ids);
