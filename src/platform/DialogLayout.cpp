#include "platform/DialogLayout.h"

void CollectLayoutIds(const DialogLayoutItem& item, std::vector<UINT>& ids) {
  switch (item.kind) {
    case DialogLayoutItem::Kind::kControl:
      ids.push_back(item.id);
      return;
    case DialogLayoutItem::Kind::kField:
      ids.push_back(item.id);
      ids.push_back(item.fieldId);
      return;
    case DialogLayoutItem::Kind::kBox:
      ids.push_back(item.id);
      break;
    case DialogLayoutItem::Kind::kStretch:
      return;
    default:
      break;
  }
  for (const DialogLayoutItem& child : item.children) CollectLayoutIds(child, ids);
}
