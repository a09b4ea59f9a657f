#pragma once
// The order in which the measures of a score are played when repeats and
// jumps are honoured. The play directions of the first notation line of every
// line group (PlayDirections.h) are walked as a player reads them, and every
// place where play leaves the written order becomes a jump (KJTObj): when
// play has sounded the jump column of the jump's display line, it goes on at
// the target's display line and column; a target line of -1 ends the music,
// and a jump column of -1 leaves the system before its first column.
//
// How the directions are followed:
//  - A repeat end goes back to the repeat start of its level; without one,
//    to where the repeat before it ended (its repeat end, or the end of its
//    last ending), else to the start of the section; as often as its count
//    says. A repeat sign both ways ends one repeat and starts the next.
//    Nested repeats keep a level each (at most 10).
//  - Ending brackets are played on the passes their numbers name (an
//    unnumbered bracket on the next pass that finds it free). An ending runs
//    to the repeat end at its end, or, when a further ending follows, to the
//    first repeat end after it (over bar lines and system breaks); that
//    repeat end leads back to the repeat start, and on other passes the
//    ending is passed over to it. The last ending (one no repeat end closes,
//    or one after other endings that no further ending follows) ends the
//    repeat; its own repeat end is not taken.
//  - D.C. goes back to the start of the section, D.S. to the first segno; each
//    is taken once. After it the repeats are not played again and the last
//    ending is taken; "al Fine" stops at the Fine, "al Coda" makes the next
//    "To Coda" (or a jump text at a coda sign) go to the coda.
//  - Jump texts and Fine take effect at the bar line that ends their bar.
//  - Every 50 jumps, and when one section start has been passed very often,
//    the user is asked whether to give up (message 8200); Yes plays the score
//    without repeats.

#include "midi/PlayScore.h"

class CObList;

// Rebuilds directions (KPDObj) and jumps (KJTObj) from the score; both lists
// own their records and are emptied first. 1 when an order was built (it may
// hold no jumps), 0 when the user chose to ignore repeats (no jumps then).
int BuildPlayOrder(const KPlayScore& score, CObList& directions, CObList& jumps);

// Deletes the records of both lists and empties them.
void ClearPlayLists(CObList& directions, CObList& jumps);
