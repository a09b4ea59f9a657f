#pragma once
// Preferences that the automatic beaming and the measure timing check of
// note lines read. The application's preference loader sets them at start-up
// from "StaffLines2" (its fifth number); they stand here with their start
// values.

// Warn when an entered symbol makes the timing of its measure wrong (0 off).
extern int g_warnBarTiming;

// Restores the start value above.
void ResetAutoBeamServices();
