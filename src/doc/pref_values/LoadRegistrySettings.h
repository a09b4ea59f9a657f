#pragma once
// The start-up reader of the preference store: every preference group is read
// once into the preference variables (Preferences.h); a group that is missing
// or cannot be read gets its default text, which is also written back. A store
// that refuses writes leaves the defaults in use for this run; nothing is
// reported. The groups and their order are in PreferenceGroups.h.

void LoadRegistrySettings();
