// The table of the program's own strings by id (the tuning list lives in
// StringTableTunings.cpp). Kept sorted by id: lookups search it by halves.

#include "platform/StringTable.h"

namespace {

constexpr StringTableEntry kMessageStrings[] = {
    // The program's name, the title of its message boxes.
    {125, "Stavlin"},
    // Status bar panes: each pane is as wide as its string.
    {5600, "AS"},
    {5601, "P 999, L 9999, C 999"},
    {5602, "Scrl 23 ln/22 s"},
    {5603, "WBJSi"},
    {5604, "ASave OFF"},
    {5605, "OVR"},
    {5606, "12:34 PM"},
    // Messages.
    {7004, "OLE initialization failed.  Make sure that the OLE libraries are the correct version."},
    {7005, "Failed to create object.  Make sure the object is entered in the system registry."},
    {7007,
     "Preferences ( eg. Size, Scrolling, Read Only, MIDI ) were modified.\n"
     "                            Save the changes?"},
    {7008,
     "There is a problem... possibly resources.\n"
     "You should save your work and quit Stavlin,\n"
     "and it would be best to restart your system. (Error %1)"},
    {7009,
     "There is a problem loading an image.  You should save your work and quit Stavlin, and it would be "
     "best to restart your system. (Error %1)"},
    {7011, "There was a problem looking up the chord. (Error %1)"},
    {7012,
     "There was a problem adding your chord to the ZODireda.dat file.  It may already be in use.  You "
     "should check things out before continuing any further."},
    {7013, "There was a problem removing the chord. (Error %1)"},
    {7015, "There was a problem setting the key in the Chord Designer."},
    {7016, "Valid note types are: w h H q Q t T s S y Y x X"},
    {7017,
     "   Valid keys are:\n"
     "C, G, D, A, E, B, F#, C#, \n"
     "F, Bb, Eb, Ab, Db, Gb, Cb"},
    {7021,
     "       Valid pitches are:\n"
     "Ab, A, A#, Bb, B, C, C#, Db, D, D#,\n"
     "      Eb, E, F, F#, Gb, G, G#"},
    {7023, "Please enter a value between 0 and 7."},
    {7024, "Please enter a value between 1 and 16."},
    {7025, "For this instrument, fingering must be in the range 0 - %1."},
    {7027, "There can only be 100 chord names in each key."},
    {7028, "You must select the fingering in the tab line(s) which is to be shifted to a new position."},
    {7029,
     "Unable to allocate memory for info about Stavlin lines\n"
     "Stavlin will not be able to run due to insufficient memory. (Error %1)"},
    {7030, "Unable to create toolbox."},
    {7032, "There was a problem putting data on the clipboard. (Error %1)"},
    {7033, "Problem opening registry to save preferences."},
    {7034, "Stavlin can't open a file which has no extension."},
    {7035, "No user chord data file (ZODireda.dat) found."},
    {7036,
     "There was a problem opening StavlinC.dll, which is needed to create new chords\n"
     "This file must be located in the  Windows/System folder."},
    {7038, "There was a problem adding your chord to the ZODireda.dat file.  It may already be in use."},
    {7039, "Clipboard does not contain Stavlin-compatible data."},
    {7041, "Either there are no lines or they are all hidden."},
    {7042,
     "Hitting Backspace/Delete here causes this line to be joined to the one above/below,\n"
     " but they cannot be joined because they are of different types."},
    {7043,
     "Trying to scroll or set timed autosave, but all system timers are in use at this moment.  Try "
     "closing other programs."},
    {7044,
     "This will hide all remaining lines, but \n"
     "there must be at least one line visible."},
    {7047, "The MIDI file could not be created due to a problem. (Error %1)"},
    {7051, "There was a problem looking up tab tunings. (Error %1)"},
    {7052, "There is no chord in the Chord Dictionary in this tuning which begins with %1. (Error %2)"},
    {7053, "One (or more) chord keys in the ZODireda.dat file isn't valid. (Error %1)"},
    {7055,
     "There must be at least four consecutive text-tab lines.\n"
     "All text-tab lines are assumed to have at least \"---\".\n"
     "Add three hyphens to the end of any lines without this pattern."},
    {7057, "Unable to save selection on clipboard, try making the selection smaller."},
    {7059,
     "There can only be 30 labeled lines with Midi instruments assigned, so this line cannot be assigned "
     "a Midi instrument \n"
     "(change it's label to an existing assigned label, or remove an assigned label)."},
    {7060,
     "There can only be 32 objects spanned by a cluster.\n"
     "This cluster will be broken up to meet this limit."},
    {7061, "There are already 20 symbols (the maximum allowed) at this position."},
    {7063,
     "There is no chord in the dictionary \n"
     "in the key of %1 beginning with %2"},
    {7064, "Only variation 1 is available"},
    {7065, "Variation must be a number between 1 and %1"},
    {7067, "Stavlin can't open files with the extension \"%1\" "},
    {7070,
     "Sorry, but there is a problem loading an image.  \n"
     "You should save your work and quit Stavlin, \n"
     "and it would be best to restart your system. (%1-%2)"},
    {7071, "You can't use a naturals key signature to set the key of a line"},
    {7072,
     "While scanning this score for chords, more than one Tab tuning was found.\n"
     "Chords will be assumed to have the same tuning as the tab above the chords.\n"
     "Don't select chords which don't match the tuning, or hit Esc to stop scanning."},
    {7073, "Too many Midi tracks are being used (maximum %1).  Aborting before end of score."},
    {7078, "Dictionary chords can only be inserted in chord, treble, and treble tab lines"},
    {7079,
     "There was a problem when trying to open the MIDI file named %1\n"
     "The file might have an incorrect format or might be damaged in some way"},
    {7083,
     "Warning: Line groups in this score have somehow become corrupted, and this could lead to crashes.\n"
     "To try saving the file Stavlin can try ungrouping the lines... Do you want the lines ungrouped?"},
    // Asked before exporting MIDI while play between marks is on: Yes exports between the marks, No
    // the whole score.
    {7084,
     "\"Play between midi marks\" is selected.\n"
     "Do you want to save only the part of the score between the MIDI marks?\n"
     "\n"
     "(YES = only between the marks,  NO = the whole score)"},
    {7088,
     "Warning: Margins are set out of range!  Safe defaults will be used instead.\n"
     "Use File|Print Options to modify them."},
    // The newer-file warning; its last line, where to ask about upgrades, is ours.
    {7089,
     "Warning!  This file was created with a more recent version\n"
     "of Stavlin (%1) than you are using now (%2).\n"
     "It might have features this version can't handle properly, so there may be problems.\n"
     "Visit the Stavlin website for upgrade information."},
    {7091,
     "To open a backup file you must first change the extension to  .svd\n"
     "(It's safest to make a copy the backup with a new name first)."},
    {7093,
     "The repair attempt is complete. If the score opens you should immediately select everything "
     "(Ctrl+Shift+E), copy it, start a new score, paste the selection, then save the new doc. Immediately "
     "rename the .bak file too."},
    {7094,
     "This file is \"Read Only\" right now so it can't be modified.  Do you want to make it possible to "
     "make changes to this file? \n"
     "\n"
     "(Tip: If you want to preserve this file without changes you should click on NO, then go to File | "
     "Save As... \n"
     "          to save the file with a new name, and then make changes to the new file instead of this "
     "original file.)"},
    {7095,
     "  There are lines hidden between\n"
     "this visible line and the one below.\n"
     "Do you still want to join these lines?"},
    {7097,
     "Do you want to add this line to the bottom of this group?\n"
     "( \"No\" means it will be an independent line below the group )"},
    {7098, "This text file doesn't have normal line breaks.  Do you want them inserted automatically?"},
    {7099,
     "Do you want to return the Stavlin preferences to their original settings?\n"
     "\n"
     "If there are problems starting Stavlin this might help, but you will have\n"
     " to go to File | Set Preferences to restore your preferences again after Stavlin starts."},
    {7100,
     "Adding this symbol will cause incorrect timing in this measure.\n"
     "Do you still want to add it?"},
    {7101,
     "This measure already has incorrect timing.\n"
     "Do you still want to add the new symbol?"},
    {7102,
     "At least one line group is too big to fit on one page.\n"
     "   Line groups will be broken up for printing"},
    {7103,
     "There is some confusion with chords...\n"
     "This can be caused by changing tunings in the middle of a score.\n"
     "Because of this, the chord dialog might not behave as expected"},
    {7105,
     "%1 notes or rests shorter than the note resolution(s) in the MIDI Import Settings were detected.\n"
     "This score might be transcribed more accurately if you use a smaller resolution on some tracks.\n"
     "\n"
     "Do you want to see this message every time this happens?"},
    {7107,
     "There are more than %1 (the maximum allowed) variations of this chord type.\n"
     "Some will not be shown.\n"
     "You should select some unneeded variations and hit the Chord Dialog's Delete button to free space "
     "for more variations"},
    {7130, "The selected MIDI file name (%1) doesn't end with the \".mid\" extension."},
    {7131,
     "Sorry, but there is a problem converting this file to notation.\n"
     "Changing the \"shortest note value to use\" in File|Preferences|MIDI Input might help."},
    {7132,
     "There was not enough memory to create the image.\n"
     "Try closing other applications and/or scores to free memory. (Error %1)"},
    {7133, "There was a problem creating the image file.  (Error %1)"},
    {7134, "There was a problem saving the image file. (Error %1)"},
    {7150, "There is a right repeat bar in the score without a matchting left repeat bar."},
    {7151, "The image must be saved as either a png or bitmap file"},
    {7152,
     "Unable to reserve enough memory to capture an image of the score for exporting.\n"
     "To create an image of a selected part of the score try this:\n"
     "   a) select the part you want\n"
     "   b) hit Ctrl+C to copy it\n"
     "   c) hit Ctrl+N to open a new score\n"
     "   d) hit Ctrl+V to paste the copy\n"
     "   e) now do the image export from this new, smaller score."},
    {7153,
     "The current group already has the maximum number of lines\n"
     "so the translated line can't be added to the group."},
    {7154,
     "Because the original line already has mutual translation,\n"
     "the new line can't translate with it"},
    {7155,
     "Unable to allocate memory for Undo information.  Undo will be disabled.\n"
     "Try freeing memory by closing unneeded programs, then reopen this document. (Error %1)"},
    {7157,
     "To auto-insert an extended object:\n"
     " - The line in which it is being entered must be a Staff or Tab line\n"
     " - The Extended Object cannot be Staff Text or a V-Line\n"
     " - Select notes/symbols in only one line\n"
     " - Select at least two chords/symbols (for ties/slurs there must be at least two notes within the "
     "selection)\n"
     "\n"
     "In all other cases right-click where you want the object to start, click on the appropriate "
     "\"Insert...\" button, \n"
     "then click where the object ends (for ties/slurs, click the mid-point first, and then the end)."},
    {7158,
     "Only one chord/symbol is selected, and an extended object needs at least two.\n"
     "For an ending (or another bracket) over a bar that holds a single chord, select the chord "
     "together with the bar line that closes its bar, then choose the command again.\n"
     "\n"
     "Or place it by hand: right-click where the object starts, click on the \"Insert...\" button, "
     "then click where the object ends."},
    {7999, "English"},
    // Captions, prompts, labels and the words the program puts into texts.
    {8000, "Make current tuning (%1) the default"},
    {8001, "Make cur. bass tuning (%1) the default"},
    {8002, "Stavlin Preferences (mostly for NEW scores)"},
    {8003, "Key:"},
    {8004, "Key to Cancel:"},
    {8006, "Chord Details: "},
    {8007, "Chord Spelling: "},
    {8008, "Float mouse over buttons for symbol key codes"},
    {8010, "Save this tuning as:"},
    {8011, "Inserting line breaks..."},
    {8012, "Still inserting line breaks..."},
    {8013, "Finished inserting line breaks!"},
    {8014, "(Up/Down/Left/Right Arrow Key)     Move within staff"},
    {8015, "(Ctrl+J, or Ctrl+D)                   Toggle Join Note Tails mode"},
    {8018, "New chords... ( %1 )"},
    {8020, "Left-click on a chord to select/unselect  or  Right-click to play"},
    {8021, "Hit Enter to add chords to your dictionary (Esc to cancel)"},
    {8022, "Double LEFT click to select all"},
    {8023, "Double RIGHT click to unselect all"},
    {8025, "%1 - L-Sel, R-Play"},
    {8030, "UL Treble"},
    {8031, "UL Bass"},
    {8032, "UL Tab"},
    {8033, "UL Percussion"},
    {8034, "UL Alto"},
    {8035, "UL Tenor"},
    {8036, "UL Bass Tab"},
    {8039, "P"},
    {8040, "L"},
    {8041, "C"},
    {8042, "Auto Trans"},
    {8043, "ASave ON "},
    {8044, "ASave OFF"},
    {8045, "WBJSio"},
    {8046, "Scrl"},
    {8047, "OVR"},
    {8048, "INS"},
    {8049, "Read Only"},
    {8050, "  - unlabeled -"},
    // Caption of the chord selection dialog, followed by ": " and the tuning.
    {8052, "Chord Selection"},
    {8053, "Key: "},
    // Line type names. The type code maps to these ids through the line-type table: treble 8061,
    // bass 8062, alto 8063 ... tablature 8069, bass tablature 8070, percussion 8073.
    {8060, "Text"},
    {8061, "Treble"},
    {8062, "Bass"},
    {8063, "Alto"},
    {8064, "Tenor"},
    {8065, "8va"},
    {8066, "8vb"},
    {8067, "Drum"},
    {8068, "No Clef"},
    {8069, "TAB"},
    {8070, "BassTAB"},
    {8071, "Chord"},
    {8072, "Rhythm"},
    {8073, "Perc.L"},
    {8075, "Bar"},
    {8076, "size"},
    {8077, "line"},
    {8078, "sheets"},
    {8083, "MIDI Output Device..."},
    {8084, "MIDI Input Device..."},
    {8085, "Aligning notes and bars..."},
    {8086, "Converting MIDI codes to notes..."},
    {8087, "Creating staff lines and groups..."},
    {8088, "Cleaning up tied notes..."},
    {8090, "Converting to tablature..."},
    {8095, "&Play"},
    {8096, "&Stop"},
    {8097, "&Start"},
    {8100, "Symbols Toolbox"},
    {8101, "Mini Sym Toolbox"},
    {8102, "Alternate Symbols"},
    {8103, "Alternate Tab Symbols"},
    {8104, "Note Styles"},
    {8105, "Common Staff Symbols"},
    {8106, "Common Tab Symbols"},
    {8107, "Staff Grace Notes"},
    {8108, "Tab Grace Notes"},
    {8109, "Accidentals"},
    {8110, "Bars and Repeats"},
    {8111, "Dots and Accents"},
    {8112, "Trills, Turns and Mordents"},
    {8113, "Stemless Notes"},
    {8114, "Other Symbols"},
    {8115, "Guitar Symbols"},
    {8116, "Drum Symbols"},
    {8117, "Stringed Instrument Fretboard"},
    {8118, "Piano Keyboard"},
    {8119, "Rhythm Line Symbols"},
    {8120, "_Welcome To Stavlin_.svd"},
    {8127, "Select a new start folder for when you do File | Open ..."},
    {8129, "Samples\\"},
    {8130, "Float mouse over image to see corresponding notes, click to enter the note"},
    {8131,
     "The current line is not a tab line.\n"
     "Do you want a tab line inserted?"},
    {8132,
     "The current line is not a keyboard staff line.\n"
     "Do you want a keyboard line pair inserted?"},
    {8133, " w = Ctrl+DbL, h = DbL, q = L, 8 = R, 16 = DbR, 32 = Ctrl+L, 64 = Ctrl+R"},
    {8134,
     "     w = Ctrl + Double L click,  h = Dbl L,  q = L,  8 = R,  16 = Dbl R,  32 = Ctrl+L,  64 = Ctrl+R "
     " (+ Shift for down stem)"},
    {8135, "Empty grid"},
    {8137, "Midi Files"},
    // Header prefixes of ABC fields A, B, C, D, F, G, O, P (play order), P (part), R, S; Z is 8151.
    {8138, "From: "},
    {8139, "From the book: "},
    {8140, "Written by: "},
    {8141, "Original music from: "},
    {8142, "Original ABC File: "},
    {8143, "Group: "},
    {8144, "Origin: "},
    {8145, "Playing order: "},
    {8146, "Part: "},
    {8147, "Rhythm: "},
    {8148, "Source: "},
    {8149, "Standard"},
    {8150, " or "},
    {8151, "Transcription: "},
    {8152,
     "In line %1 a playable chord (with notes) cannot be found in the staff \n"
     "before the first Chord Repeat marker."},
    {8153, "YES"},
    {8154, "NO"},
    {8155, "- Not yet saved -"},
    {8156, "Unlabeled"},
    {8157, "Keyboard"},
    {8159, "Notes"},
    {8160, "Grids"},
    {8161, "Fret Intervals: 0,"},
    {8162, "Show Intervals"},
    {8163, "Hide Intervals"},
    {8170,
     "Because there are line groups in this score, \n"
     "all lines must be visible for this action.\n"
     "Do you want all lines to be made visible so it can continue?"},
    // Wrap Music.
    {8171,
     "There was an unexpected problem with line wrapping (Error %1).\n"
     "You should immediately:\n"
     " 1) Undo the last action (hit Ctrl+Z)\n"
     " 2) Turn off Auto-wrapping (hit Ctrl+Alt+W) for this score."},
    {8172,
     "Please save the score as it is now under a new name (File | Save As...) and report the problem\n"
     "together with that file and a description of what you were doing when it happened."},
    {8173,
     "At least one measure was too long to fit within the default staff length.\n"
     "Use   Actions | Set Staff Length   to set a longer staff length for all lines."},
    {8174,
     "Some lines are hidden in this score...\n"
     "Wrapping will only affect visible lines, so do you want to \n"
     "make all lines visible before wrapping? (Click YES)\n"
     "Click NO to continue wrapping with some lines hidden.\n"
     "Click CANCEL to quit with no changes."},
    {8175,
     "Because the original selection for wrapping may \n"
     "have changed you should re-select the wrapping range \n"
     "and then repeat the wrapping command."},
    {8176, "Do you want lines below the current line to be wrapped too?"},
    // Go To.
    {8177, "There is no %1 in this score\nGo to %2 (maximum) ?"},
    {8178, "There is no bar %1 in this score"},
    {8200,
     "While figuring out playback sequence one measure has been repeated %1 times. \n"
     "This might be due unmatched repeats or improper play directives.\n"
     "Do you want to ignore repeats so the score will play once? (hit Yes)\n"
     "(To keep analyzing the score, hit No)"},
    {8203,
     "The last Stavlin score which was open:\n"
     "    %1 \n"
     "could not be opened this time. \n"
     "\n"
     "Perhaps it has been deleted, renamed, or does not exist in the expected folder."},
    {8206,
     "The Starting Folder %1 could not be found.\n"
     "To set a new starting folder go to File | Set Preferences and click on the Browse button for "
     "\"Start Folder\"\n"
     "\"My Documents\" will be used as a Start Folder until you specify a different folder."},
    {8207,
     "Sorry, but there was a problem opening %1 \n"
     "(It might be in use elsewhere, damaged, or have some other problem)\n"
     "You could try opening the Backup version (see manual)\n"
     "( %2 )"},
    {8208,
     "The selected lines will require %1 staff lines for import (keyboard lines count as two), \n"
     "but Stavlin can only handle %2 lines per line group. \n"
     "Use the MIDI Import Settings dialog to reduce your selection."},
    {8212,
     "No Tracks are selected for import.  This will cancel MIDI import for this file.  Is that what you "
     "want?"},
    {8213, "Dis&able Undo (Undo IS enabled now)"},
    {8214, "En&able Undo (Undo IS NOT enabled now)"},
    // Shown when a score opens but cannot be laid out; the view then closes it.
    {8218,
     "Sorry, but there is a problem opening this file.\n"
     "The score could not be laid out, so it will be closed."},
    {8220,
     "Because the tuning is no longer the same as the tuning of the original\n"
     "chord line, the new chord will not be inserted in the current line.\n"
     "To use the new chord, first create a chord line with the new tuning.\n"
     "Do you still want to add this chord to your chord dictionary?"},
    {8221,
     "You are trying to paste several lines from the clipboard \n"
     "into an existing line group.  This will result in too many \n"
     "lines in the group, so the action will be cancelled.\n"
     "You could paste the lines above or below the line group instead."},
    {8222,
     "You are about to paste one or more lines into a line group.\n"
     "The lines will then become part of the current line group.\n"
     "Do you want to continue with this pasting action?"},
    {8229,
     "There was a problem with one or more line groups in this score.\n"
     "The problem lines have been ungrouped so that this score can open.\n"
     "You might notice a change in the grouping of lines (or the change might not be noticeable).\n"
     "It would be best to save this score now (the line grouping changes will then be made permanent)."},
    {8230,
     "The lines copied to the clipboard:\n"
     "\n"
     "   %1 \n"
     "\n"
     "don't match the lines in the score where you are pasting:\n"
     "\n"
     "   %2 \n"
     "\n"
     "If you continue with this paste the clipboard lines will become new lines added to the group.\n"
     "\n"
     "Do you want to continue with this pasting action?"},
    {8231,
     "Because this action will affect bars in lines within a group, group lines in \n"
     "this score will now be made independently editable.  Bars will no longer be linked.\n"
     "  ( uncheck   Edit | Edit Group Lines Independently   to cancel line independence )"},
    {8232, "Group lines in this score are now linked to keep bars aligned"},
    {8233, "INDEP LINE EDITING"},
    {8234,
     "If the other lines in this group already contain notation you should activate:\n"
     "        Edit | Edit Group Lines Independently \n"
     "to avoid messing up other lines in the group while adding notation to this line."},
    {8240,
     "There was some confusion about a line group near line %1,\n"
     "so the lines in that group were separated into individual lines.\n"
     "You may need to make corrections in this part of the score"},
    {8241,
     "There was some confusion about line groups starting near line %1 in this score,\n"
     "so the lines several groups were separated into individual lines.\n"
     "You may need to make corrections in several parts of the score"},
    {8242,
     "There was a problem with your user chord dictionary (ZODireda.dat file)\n"
     "It will be repaired, and the original will be saved as:\n"
     "        %1"},
    {8243, "Indent Labels on Current / Selected Line(s)"},
    {8244, "Remove Label Indent on Current / Selected Line(s)"},
    {8247, "Connecting to web site %1, please wait..."},
    {8248,
     "This adjustment will move the Extended Object to a new line.\n"
     "If this object is supposed to affect Midi playback it will no longer work the way it used to.\n"
     "Do you want to continue with this change?"},
    // Font table message.
    {11000,
     "Sorry, only %1 different fonts/sizes can be handled in one score.\n"
     "Eliminate a font elsewhere to allow a new font on this line. "},
    // Status bar idle text.
    {57345, "For Help, press F1"},
};

}  // namespace

std::span<const StringTableEntry> MessageStringEntries() { return kMessageStrings; }
