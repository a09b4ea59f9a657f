#pragma once
// The attachments of a line written as text, one per attachment in list
// order: "pos:row k<kind> w<width> a<anchor x>,<anchor y> o<offset x>,<offset y>".

#include <sstream>
#include <string>

#include "model/KExtendedObj.h"
#include "model/KLineObj.h"

inline std::string TiesText(KLineObj& line) {
  std::ostringstream out;
  const CObList& list = *line.GetAttachments();
  for (POSITION node = list.GetHeadPosition(); node != nullptr;) {
    const auto* tie = static_cast<const KExtendedObj*>(list.GetNext(node));
    if (out.tellp() > 0) out << ' ';
    out << tie->GetPos() << ':' << tie->GetRow() << " k" << tie->GetKind() << " w" << tie->GetSize().cx
        << " a" << tie->GetAnchor().x << ',' << tie->GetAnchor().y << " o" << tie->GetOffset().x << ','
        << tie->GetOffset().y;
  }
  return out.str();
}
