// Small helpers the structure commands share.

#include "doc/pref_values/Preferences.h"
#include "view/CStavlinView.h"
#include "view/structure/ViewStructure.h"

CString ViewChordNameFont(const CStavlinView& view) {
  return view.m_options.chordNameFont.IsEmpty() ? g_chordNameFont : view.m_options.chordNameFont;
}
