#pragma once
// What the sequencer needs of a score view: the shown lines in display order,
// the play settings of the score (tempo, loudness, repeats, effects and the
// instrument table), and the range between the MIDI marks. Playback and MIDI
// file export both start here, so that they hear the same music.

#include "midi/Performance.h"
#include "midi/PlayScore.h"
#include "midi/PlaySequencer.h"
#include "platform/CString.h"

class CStavlinView;

// The lines the view shows, in display order.
KPlayScore ViewPlayScore(const CStavlinView& view);
// The score's play settings and instrument table.
KPlaySettings ViewPlaySettings(const CStavlinView& view);
// Every shown line that plays gets an instrument that sounds: a label the
// score's instrument table lacks (a score another program wrote) plays with
// the instrument of its line kind under its own name, and an entry whose
// program is no MIDI program takes that of its line kind. The silent
// instrument stays silent.
void GiveEveryLineAnInstrument(const KPlayScore& score, KPlaySettings& settings);
// Why a performance of the view has no track, as the message that says so.
CString NothingToPlayText(const CStavlinView& view);
// The score's MIDI marks are set.
bool ViewHasMidiMarks(const CStavlinView& view);
// Between the marks when asked and set, else the whole score.
KPlayRange ViewPlayRange(const CStavlinView& view, bool betweenMarks);
// The performance of the range: the play order built (unless repeats are
// ignored, or the user gives up on it), the sequencer run, and the lines'
// play events and the play lists cleared again.
KPerformance BuildViewPerformance(const CStavlinView& view, bool betweenMarks);

// Writes the performance as a Standard MIDI File at path (UTF-8 on disk):
// true when written. Nothing to play says so; a failed write is reported
// (message 7047 with where it failed and why) and leaves no file behind.
bool ExportPerformanceToFile(const KPerformance& performance, const CString& path);
