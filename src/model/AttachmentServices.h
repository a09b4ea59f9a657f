#pragma once
// Program-wide values that the preferences and the view own and that the
// attached objects read. They stand here with their start values until the
// preferences and the view exist; then they move to their owners and this
// file goes.

#include "platform/CString.h"

// Default font text of tuplet numbers (the "TripletFont" preference, as the
// view holds it for the score in use).
extern CString g_defaultNumberFontText;
// Default font text of the other attachment texts (the "ExtTextFont"
// preference, as the view holds it for the score in use).
extern CString g_defaultTextFontText;
// The second number of the "StaffLines3" preference (99 by default). When it
// is 112, loaded attachments lose their opaque flag.
extern int g_staffLines3Second;
inline constexpr int kStaffLinesNoOpaque = 112;

// Restores the start values above (tests call it).
void ResetAttachmentServices();
