#pragma once
// Which commands the view runs, and how: one table of handlers by command id,
// gathered from the files that hold the commands of each menu. A command is
// available (its menu item, button and key can be enabled) only when a handler
// runs it: this table for the view's commands, the frame's own table for the
// frame's and the application's. A command becomes enabled in the same change
// that gives it a handler; its enabling rule (CommandState.cpp) applies on
// top. Qt-free.

#include <span>

#include "platform/WinTypes.h"

class CStavlinView;

// A handler of the commands first..last (one id when they are equal).
struct KViewCommandHandler {
  UINT first = 0;
  UINT last = 0;
  void (*run)(CStavlinView& view, UINT id) = nullptr;
};

// Every handler, sorted by first id.
std::span<const KViewCommandHandler> ViewCommandHandlerTable();
// The handler of the command, or null when the view runs no such command.
const KViewCommandHandler* FindViewCommandHandler(UINT id);

// Runs a view command: false when the view has no handler for it. A command
// that its enabling rule disables is consumed without running (true), as when
// the framework meets a disabled command through an accelerator. Each runs
// inside a KCommandScope, so that the autosave tick never saves in the
// middle of a command.
bool ExecuteViewCommand(CStavlinView& view, UINT id);

// The handlers of each file of commands. Adding a file of commands: declare
// its list here and add it to AllViewCommandHandlers (ViewCommandDispatch.cpp).
std::span<const KViewCommandHandler> EditCommandHandlers();            // ViewEditCommands.cpp
std::span<const KViewCommandHandler> ViewMenuCommandHandlers();        // ViewCommandsLineTypes.cpp
std::span<const KViewCommandHandler> InsertCommandHandlers();          // ViewInsertLine.cpp
std::span<const KViewCommandHandler> EntryOptionCommandHandlers();     // ViewEntryOptions.cpp
std::span<const KViewCommandHandler> TuningCommandHandlers();          // structure/ViewTabTuning.cpp
std::span<const KViewCommandHandler> LineGroupCommandHandlers();       // structure/ViewInsertLineGroup.cpp
std::span<const KViewCommandHandler> FretPositionCommandHandlers();    // structure/ViewFretPosition.cpp
std::span<const KViewCommandHandler> LineAppearanceCommandHandlers();  // structure/ViewStaffLineProps.cpp
std::span<const KViewCommandHandler> LabelCommandHandlers();           // structure/ViewLineLabels.cpp
std::span<const KViewCommandHandler> BarNumberCommandHandlers();       // structure/ViewBarNumbering.cpp
std::span<const KViewCommandHandler> LineFontCommandHandlers();        // structure/ViewLineFont.cpp
std::span<const KViewCommandHandler>
GroupIndependenceCommandHandlers();                                   // structure/ViewGroupIndependence.cpp
std::span<const KViewCommandHandler> DisplayToggleCommandHandlers();  // structure/ViewDisplayToggles.cpp
std::span<const KViewCommandHandler> TranslateCommandHandlers();      // ViewTranslateLines.cpp
std::span<const KViewCommandHandler> AbcCommandHandlers();            // ViewAbcExport.cpp
std::span<const KViewCommandHandler> PrintCommandHandlers();          // ViewPrintCommands.cpp
std::span<const KViewCommandHandler> GoToCommandHandlers();           // ViewGoTo.cpp
std::span<const KViewCommandHandler> ScrollCommandHandlers();         // ViewScrollCommands.cpp
std::span<const KViewCommandHandler> SelectCommandHandlers();         // ViewEditSelect.cpp
std::span<const KViewCommandHandler> SignatureCommandHandlers();      // music/ViewSignatures.cpp
std::span<const KViewCommandHandler> TransposeCommandHandlers();      // music/ViewTranspose.cpp
std::span<const KViewCommandHandler> ReflowCommandHandlers();         // music/ViewReflowCommands.cpp
std::span<const KViewCommandHandler> MidiExportCommandHandlers();     // midi/ViewMidiExport.cpp
std::span<const KViewCommandHandler> MidiSettingsCommandHandlers();   // midi/ViewMidiSettings.cpp
std::span<const KViewCommandHandler> PlayCommandHandlers();           // play/ViewPlayCommands.cpp

// Commands of those files that other commands and tests call directly.
void OnEditSelectEverything(CStavlinView& view);
void OnOptionsRhythmSymbolEntry(CStavlinView& view);
void OnActionsScrollingFaster(CStavlinView& view);
void OnActionsScrollingSlower(CStavlinView& view);
void OnActionsScrollingSetSpeed(CStavlinView& view);
