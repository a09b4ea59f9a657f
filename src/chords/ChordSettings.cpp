#include "chords/ChordSettings.h"

KChordSettings g_chordSettings;
CString g_pendingChordKeys;

void ResetChordSettings() {
  g_chordSettings = KChordSettings();
  g_pendingChordKeys.Empty();
}
