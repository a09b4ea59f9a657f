#pragma once
// The user's saved tunings: the tuning dialog lists them after the built-in
// ones; the tuning command adds and removes them. They live in one stored
// text, the default value of "Software\Stavlin\AltTunings": "^entry^entry...",
// each entry a tuning string, "-", and the user's name for it.
//
// The tuning ends where the name begins: at the first "-" from the end of the
// pitch digits on (position 25), passing over the "-" that a seventh or
// eighth string may be written as. Names never begin with "-" and never hold
// "^" (SanitizeTuningName), so an entry always splits back into the tuning
// and the name it was saved with. The value is read whole, however long.

#include <optional>
#include <vector>

#include "platform/CString.h"

namespace user_tunings {

inline constexpr const char* kStoreKey = "Software\\Stavlin\\AltTunings";
inline constexpr char kEntryMark = '^';
// Pieces of the value this short or shorter are not tunings and are not listed.
inline constexpr int kShortestEntry = 24;

// The stored value; empty when there is none or it cannot be read.
CString ReadStore();
// Stores the value; false when it could not be written.
bool WriteStore(const CString& value);

// The entries of a value, in store order.
std::vector<CString> Entries(const CString& value);
// The tuning of an entry, and the name after it (empty when there is none).
CString TuningOf(const CString& entry);
CString NameOf(const CString& entry);
// How the dialog lists an entry: its first 13 characters (the string names
// and the bass or banjo mark; a banjo's short string named by the pitch it
// starts at), then "-" and the name, or "-Custom Tuning" without one.
CString ListTextOf(const CString& entry);
// A name the store can hold: without "^" and without leading "-" or blanks.
CString SanitizeTuningName(const CString& name);

// The value with "^" + entry appended.
CString WithEntry(const CString& value, const CString& entry);
// The value without the first "^" + entry; nullopt when it holds none.
std::optional<CString> WithoutEntry(const CString& value, const CString& entry);

}  // namespace user_tunings
