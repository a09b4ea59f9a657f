// The view's command handlers gathered into one table, and the dispatch that
// runs a command through it.

#include <algorithm>
#include <vector>

#include "platform/Clipboard.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/commands/CommandTable.h"
#include "view/play/ViewPlayer.h"

namespace {

using namespace cmd;

// The File and Actions commands whose work lives with the view's timers.
constexpr KViewCommandHandler kTimerCommands[] = {
    {kFileAutoSave, kFileAutoSave, [](CStavlinView& v, UINT) { v.OnFileAutoSave(); }},
    {kScrollToggle, kScrollToggle, [](CStavlinView& v, UINT) { v.OnActionsToggleScroll(); }},
};

// Every file's list, in one table sorted by first id. Ranges never overlap:
// a test checks it, so that no command has two handlers.
const std::vector<KViewCommandHandler>& AllViewCommandHandlers() {
  static const std::vector<KViewCommandHandler> all = [] {
    std::vector<KViewCommandHandler> handlers;
    for (std::span<const KViewCommandHandler> list : {
             std::span<const KViewCommandHandler>(kTimerCommands),
             EditCommandHandlers(),
             ViewMenuCommandHandlers(),
             InsertCommandHandlers(),
             EntryOptionCommandHandlers(),
             PrintCommandHandlers(),
             TranslateCommandHandlers(),
             AbcCommandHandlers(),
             TuningCommandHandlers(),
             LineGroupCommandHandlers(),
             FretPositionCommandHandlers(),
             LineAppearanceCommandHandlers(),
             LabelCommandHandlers(),
             BarNumberCommandHandlers(),
             LineFontCommandHandlers(),
             GroupIndependenceCommandHandlers(),
             DisplayToggleCommandHandlers(),
             GoToCommandHandlers(),
             ScrollCommandHandlers(),
             SelectCommandHandlers(),
             SignatureCommandHandlers(),
             TransposeCommandHandlers(),
             ReflowCommandHandlers(),
             MidiExportCommandHandlers(),
             MidiSettingsCommandHandlers(),
             PlayCommandHandlers(),
         })
      handlers.insert(handlers.end(), list.begin(), list.end());
    std::sort(handlers.begin(), handlers.end(),
              [](const KViewCommandHandler& a, const KViewCommandHandler& b) { return a.first < b.first; });
    return handlers;
  }();
  return all;
}

}  // namespace

std::span<const KViewCommandHandler> ViewCommandHandlerTable() { return AllViewCommandHandlers(); }

const KViewCommandHandler* FindViewCommandHandler(UINT id) {
  const std::vector<KViewCommandHandler>& all = AllViewCommandHandlers();
  // The last handler whose range starts at or before the id.
  auto it = std::upper_bound(all.begin(), all.end(), id,
                             [](UINT value, const KViewCommandHandler& h) { return value < h.first; });
  if (it == all.begin()) return nullptr;
  --it;
  return id <= it->last ? &*it : nullptr;
}

bool ExecuteViewCommand(CStavlinView& view, UINT id) {
  const KViewCommandHandler* handler = FindViewCommandHandler(id);
  if (handler == nullptr) return false;
  // Of the application's state only the clipboard's formats matter here
  // (Paste and Paste Over); no rule of these reads the frame's bars.
  KAppCommandState app;
  if (id == kEditPaste || id == kEditPasteOver) {
    app.clipboardHasScore = IsClipboardFormatAvailable(StavlinClipFormat()) != FALSE;
    app.clipboardHasText = IsClipboardFormatAvailable(CF_TEXT) != FALSE;
  }
  if (!QueryCommand(id, &view, app).enabled) return true;
  // A command ends the music first: the score may change under it.
  if (view.IsPlaying()) view.Player().StopPlaying();
  KCommandScope scope(&view);
  handler->run(view, id);
  return true;
}
