// Edit/Select Everything and Options/Rhythm Symbol Entry.

#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"

namespace {

constexpr int kWholeLines = 10;
constexpr int kRhythmFamily = 3;

}  // namespace

void OnEditSelectEverything(CStavlinView& view) {
  if (view.GetDisplayLineCount() <= 0) return;
  view.UpdateSelection(0, 1, 0, view.GetDisplayLineCount() - 1, kWholeLines);
  if (view.m_host != nullptr) view.m_host->InvalidateRect(nullptr, FALSE);
}

void OnOptionsRhythmSymbolEntry(CStavlinView& view) {
  view.m_rhythmSymbolEntry = view.m_rhythmSymbolEntry != 0 ? 0 : 1;
  // On a rhythm line the caret shows which entry is on.
  if (view.m_currentFamily == kRhythmFamily) view.PlaceCaret();
}

namespace {

constexpr KViewCommandHandler kHandlers[] = {
    {cmd::kEditSelectEverything, cmd::kEditSelectEverything,
     [](CStavlinView& v, UINT) { OnEditSelectEverything(v); }},
    {cmd::kOptionsRhythmEntry, cmd::kOptionsRhythmEntry,
     [](CStavlinView& v, UINT) { OnOptionsRhythmSymbolEntry(v); }},
};

}  // namespace

std::span<const KViewCommandHandler> SelectCommandHandlers() { return kHandlers; }
