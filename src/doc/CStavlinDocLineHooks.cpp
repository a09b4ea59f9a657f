// The document's hooks for the program's own line classes: text lines
// (KStrLine) carry the font number and the text, rhythm lines (KRhythmLine)
// measure their column width again after a join, a new score starts with an
// empty text line, and the lists hold KLineObj and KLineGroup objects.

#include "doc/DocLineHooks.h"
#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "model/KLineGroup.h"

KDocLineHooks StavlinLineHooks() {
  KDocLineHooks hooks;
  hooks.lineClass = RUNTIME_CLASS(KLineObj);
  hooks.groupClass = RUNTIME_CLASS(KLineGroup);
  hooks.textFontNumber = [](const KLineObj& line) {
    const auto* text = dynamic_cast<const KStrLine*>(&line);
    return text != nullptr ? text->GetFontIndex() : 0;
  };
  hooks.newTextLine = []() -> KLineObj* { return new KStrLine(0); };
  hooks.lineText = [](const KLineObj& line) {
    const auto* text = dynamic_cast<const KStrLine*>(&line);
    return text != nullptr ? text->GetText() : CString();
  };
  hooks.setLineText = [](KLineObj& line, const CString& value) {
    if (auto* text = dynamic_cast<KStrLine*>(&line)) text->SetText(value);
  };
  hooks.resetColumnWidth = [](KLineObj& line) {
    if (auto* rhythm = dynamic_cast<KRhythmLine*>(&line)) rhythm->SetColumnWidth(-1);
  };
  return hooks;
}
