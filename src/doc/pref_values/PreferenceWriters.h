#pragma once
// The writers of the preference store. A writer always stores a whole group:
// the preference variables (Preferences.h) formatted with the group's fixed
// pattern, the filler numbers (9, 999, 9999, -999) included, so that the text
// keeps the shape older and newer versions of the program read.

#include "doc/pref_values/PreferenceGroups.h"
#include "platform/CString.h"
#include "platform/Registry.h"

// The group's text from the preference variables, as the preferences sheet and
// the commands store it. Text groups give their text ("TabTuning" gives the
// labelled default tuning when there is one, else the default tuning).
CString FormatPreferenceGroup(KPrefGroup group);

// The shorter "Chords2" text of the chord designer: the first six fields, then
// 9 for the rest.
CString FormatChords2ForDesigner();

// Stores text as the group's value. key is the open "Software\Stavlin" key, or
// HKEY_CURRENT_USER, with which the full path "Software\Stavlin\<group>" is
// used. Returns the registry result; callers that may ignore a failure do.
LONG WritePreferenceText(HKEY key, KPrefGroup group, const CString& text);

// FormatPreferenceGroup stored with WritePreferenceText.
LONG WritePreferenceGroup(HKEY key, KPrefGroup group);
