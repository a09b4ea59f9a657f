#include "dialogs/KDlgHelpWindows.h"

#include <string>
#include <utility>

#include "platform/UiPort.h"

void KDlgHelpPage::DeclareControls(DialogControls& c) {
  c.SetTitle(m_caption);
  c.Static(kIdText, m_text.Str());
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
}

KDlgHelpMoving::KDlgHelpMoving()
    : KDlgHelpPage(kTemplateId, "How To Move And Select In A Stavlin Score",
                   "MOVING THE CARET\n"
                   "  Left / Right arrow      one column along the line\n"
                   "  Up / Down arrow         one step up or down the staff, or one string on tablature;\n"
                   "                          past the top or bottom of a line, to the line above or below\n"
                   "  Home / End              start or end of the line\n"
                   "  Ctrl+Home / Ctrl+End    start or end of the score\n"
                   "  Page Up / Page Down     one window up or down\n"
                   "  Ctrl+G                  Go To a line or bar by its number\n"
                   "  Mouse click             the line, column and row under the pointer\n"
                   "  Mouse wheel             scrolls (Shift+wheel scrolls sideways)\n"
                   "\n"
                   "SELECTING\n"
                   "  Shift+arrow keys        extend the selection from the caret\n"
                   "  Mouse drag              select the columns and lines dragged over\n"
                   "  Click on the labels     select whole lines\n"
                   "  Ctrl+Shift+E            Select Everything\n"
                   "\n"
                   "A selection is what Copy, Cut, Delete, Transpose, Wrap Music and\n"
                   "Evenly Space work on.") {}

KDlgHelpShortCuts::KDlgHelpShortCuts(CString shortcuts)
    : KDlgHelpPage(kTemplateId, "Keyboard Shortcuts", std::move(shortcuts)) {}

KDlgHelpMidiPerc::KDlgHelpMidiPerc()
    : KDlgHelpPage(kTemplateId, "Drum Line Percussion Symbols",
                   "A drum line's notes play on the MIDI percussion channel, where the pitch of\n"
                   "each note chooses a sound (General MIDI):\n"
                   "  35 Acoustic Bass Drum   36 Bass Drum 1        37 Side Stick        38 Acoustic Snare\n"
                   "  39 Hand Clap            40 Electric Snare     41 Low Floor Tom     42 Closed Hi-Hat\n"
                   "  43 High Floor Tom       44 Pedal Hi-Hat       45 Low Tom           46 Open Hi-Hat\n"
                   "  47 Low-Mid Tom          48 Hi-Mid Tom         49 Crash Cymbal 1    50 High Tom\n"
                   "  51 Ride Cymbal 1        52 Chinese Cymbal     53 Ride Bell         54 Tambourine\n"
                   "  55 Splash Cymbal        56 Cowbell            57 Crash Cymbal 2    58 Vibraslap\n"
                   "  59 Ride Cymbal 2        60 Hi Bongo           61 Low Bongo         62 Mute Hi Conga\n"
                   "  63 Open Hi Conga        64 Low Conga          65 High Timbale      66 Low Timbale\n"
                   "  67 High Agogo           68 Low Agogo          69 Cabasa            70 Maracas\n"
                   "  71 Short Whistle        72 Long Whistle       73 Short Guiro       74 Long Guiro\n"
                   "  75 Claves               76 Hi Wood Block      77 Low Wood Block    78 Mute Cuica\n"
                   "  79 Open Cuica           80 Mute Triangle      81 Open Triangle\n"
                   "Middle C is note 60.") {}

KDlgHelpStaffNoteNames::KDlgHelpStaffNoteNames()
    : KDlgHelpPage(kTemplateId, "Staff Note Names",
                   "TREBLE CLEF\n"
                   "  Lines, bottom to top:   E  G  B  D  F\n"
                   "  Spaces, bottom to top:  F  A  C  E\n"
                   "  Middle C sits on the first ledger line below the staff.\n"
                   "\n"
                   "BASS CLEF\n"
                   "  Lines, bottom to top:   G  B  D  F  A\n"
                   "  Spaces, bottom to top:  A  C  E  G\n"
                   "  Middle C sits on the first ledger line above the staff.\n"
                   "\n"
                   "ALTO CLEF: middle C is the middle line.  TENOR CLEF: middle C is the fourth line.\n"
                   "8va and 8vb treble staffs sound an octave above or below where they are written.\n"
                   "\n"
                   "Typing a letter a to g on a staff moves the caret to that note: a lower-case\n"
                   "letter down to the nearest note of that name below the caret, a capital up to the\n"
                   "nearest one above (Caps Lock swaps them). Type a rising scale in capitals, a\n"
                   "falling one in lower case; past the staff's lowest or highest note the caret stays\n"
                   "and the program beeps.") {}
