#pragma once
// The copies of an attachment on the partner lines of its line: a staff and
// the tablature line bracketed with it in a line group each hold the
// attachments placed on either while mutual translation is on. A copy is the
// same attachment on the other line, its row turned into that line's rows; it
// goes where its original goes (moved, reshaped, edited, deleted) as long as
// mutual translation keeps the two lines together.

#include <vector>

class CStavlinView;
class KExtendedObj;
class KLineObj;

namespace extobj {

// A copy held by a partner line.
struct PartnerCopy {
  KLineObj* line = nullptr;
  KExtendedObj* copy = nullptr;
};

// The row of a copy on the partner line (of the other notation family) of an
// attachment of the kind standing on the row. From a staff to a tablature
// line: rows above the staff go above the strings (row 1); below the staff, a
// curve (tie, slur) or a V line goes to the bottom string row 7, anything else
// (hairpins, texts, brackets, tuplets) under the strings and the rhythm that
// hangs there, two string rows below the bottom string (at most row 9);
// inside the staff each staff row has its string row. From a tablature line to
// a staff each string row has a staff row, rows 0 and 1 above the staff and
// rows 8 and 9 below it.
int PartnerRow(int kind, int row, bool toTab, const KLineObj& partner);

// The copies that the partner lines hold of the attachment of the display
// line's line; none when mutual translation is off or the line is not
// bracketed with a line of the other notation family.
std::vector<PartnerCopy> FindPartnerCopies(const CStavlinView& view, int displayLine,
                                           const KExtendedObj& original);

// Each copy takes the original's shape, texts and column again, its row that
// of the original turned into its line's rows.
void FollowOriginal(const std::vector<PartnerCopy>& copies, const KExtendedObj& original);

// Deletes the copies from their lines.
void DeleteCopies(const std::vector<PartnerCopy>& copies);

}  // namespace extobj
