#include "doc/pref_values/PreferenceGroups.h"

namespace {

constexpr std::array<std::string_view, kPrefGroupCount> kNames = {
    "StavlinXYSizeXYPos", "NewDocXYSizeXYPos", "DocOptions",      "StartFolder",   "LastOpenFile",
    "PgMargins",          "PgOptions",         "PgNum",           "PgNumFont",     "PrintCorr",
    "PrintCorr2",         "EntryOptions",      "ToolViewOptions", "ToolBoxPos",    "DocViewOptions",
    "AutoSave",           "TabOptions",        "TabTuning",       "BassTabTuning", "TabFont",
    "StaffLines",         "StaffLines2",       "StaffLines3",     "ExtTextFont",   "2ndExtTextFont",
    "2ndBracketTextFont", "TripletFont",       "TextFont",        "Chords",        "Chords2",
    "ChordNameFont",      "RhythmFont",        "Scrolling",       "TextFiles",     "Exporting",
    "Translation",        "TransAltTun",       "Transpose",       "LineGroups",    "Midi",
    "MidiEffects",        "AutoFormat",        "MidiImport",      "MidiInput",     "MidiInstruments",
    "PrinterParams",
};

}  // namespace

// The default text of every group whose default is fixed; the start folder,
// the last open file and the chord-name font are computed as they are read.
const char* FixedPreferenceDefault(KPrefGroup group) {
  switch (group) {
    case KPrefGroup::kStavlinXYSizeXYPos:
      return "-1,480,0,0,9,9,9,9";
    case KPrefGroup::kNewDocXYSizeXYPos:
      return "625,350,0,0,2,9,9,9";
    case KPrefGroup::kDocOptions:
      return "1,9,9,9,9";
    case KPrefGroup::kPgMargins:
      return "25,25,25,25,0,9,9,9,9";
    case KPrefGroup::kPgOptions:
      return "100,0,1,1,5,9,9";
    case KPrefGroup::kPgNum:
      return "1,0,0,0,9,9,9,9";
    case KPrefGroup::kPgNumFont:
      return "14,0,0,0,500,0,0,0,0,0,0,0,25,Arial";
    case KPrefGroup::kPrintCorr:
      return "100,100,2,2,2,0";
    case KPrefGroup::kPrintCorr2:
      return "90,0,3493,999,999,999,999,999,999,999";
    case KPrefGroup::kEntryOptions:
      return "1,0,1,1,9,9,9";
    case KPrefGroup::kToolViewOptions:
      return "1,1,1,1,0,9,9,9,9,9";
    case KPrefGroup::kToolBoxPos:
      return "6,354,260000,289,460000,340,10000,115,270000,321,80000,327,10000,0,390000,318,10000,0,"
             "3330000,319,2290000,319,2190000,324,50000,312,3200000,327,2420000,300,2270000,307,190000,308,"
             "0,481,0,595,3420000,337,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0";
    case KPrefGroup::kDocViewOptions:
      return "0,0,0,4,9,9,9,9";
    case KPrefGroup::kAutoSave:
      return "3,30,1,1,20,9,9";
    case KPrefGroup::kTabOptions:
      return "1,1,1,1,1,1,1,9,9";
    case KPrefGroup::kTabTuning:
      return "E A D G B E  323742475156";
    case KPrefGroup::kBassTabTuning:
      return "  E A D G   *002025303500";
    case KPrefGroup::kTabFont:
      return "15,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
    case KPrefGroup::kStaffLines:
      return "1,700,0,0,1,1,0";
    case KPrefGroup::kStaffLines2:
      return "1,1,0,12,0,5,0,0,22,26,14,12";
    case KPrefGroup::kStaffLines3:
      return "0,99,0,1,1,1,1,1,1,0,1,9";
    case KPrefGroup::kExtTextFont:
    case KPrefGroup::k2ndExtTextFont:
    case KPrefGroup::k2ndBracketTextFont:
    case KPrefGroup::kTripletFont:
      return "13,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman";
    case KPrefGroup::kTextFont:
      return "19,0,0,0,400,0,0,0,0,3,2,1,18,Times New Roman";
    case KPrefGroup::kChords:
      return "1,1,1,-999,0,3";
    case KPrefGroup::kChords2:
      return "1,1,0,0,0,0,1,0,100,100,1,300,1,0";
    case KPrefGroup::kRhythmFont:
      return "19,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman";
    case KPrefGroup::kScrolling:
      return "3,100,1,1,1,9,9,9,9";
    case KPrefGroup::kTextFiles:
      return "0,0,0,4,0,0,1";
    case KPrefGroup::kExporting:
      return "0,0,999,999,999,999,999,999,999,999,999,999,999,999,999";
    case KPrefGroup::kTranslation:
      return "1,1,1,1,1,1,1,1";
    case KPrefGroup::kTransAltTun:
      return "2,1,9,9,9";
    case KPrefGroup::kTranspose:
      return "0,0,9,9,9,9";
    case KPrefGroup::kLineGroups:
      return "1,0,530,0,1,,2,1,,";
    case KPrefGroup::kMidi:
      return "120,0,0,100,-1,1";
    case KPrefGroup::kMidiEffects:
      return "1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,100";
    case KPrefGroup::kAutoFormat:
      return "1,1,2,0,1,1,999,999,999,999,999,999,999,999,999,999";
    case KPrefGroup::kMidiImport:
      return "3,67,50,4,59,730,37,100,1,9,9,9,9";
    case KPrefGroup::kMidiInput:
      return "2,1,1,0,38,120,100,1,1,3,0,9";
    case KPrefGroup::kMidiInstruments:
      return "1,1,26,20,0,42,58,34,0,9";
    case KPrefGroup::kPrinterParams:
      return "2880,3780,360,360,9,9,9,9,9,9";
    case KPrefGroup::kStartFolder:
    case KPrefGroup::kLastOpenFile:
    case KPrefGroup::kChordNameFont:
      break;
  }
  return nullptr;
}

// The default chord-name font of a chord-name style ("Chords" (6)).
const char* DefaultChordNameFont(int style) {
  switch (style) {
    case 0:
      return "15,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
    case 1:
      return "16,0,0,0,700,0,0,0,0,3,2,1,25,Courier New";
    case 2:
      return "15,0,0,0,700,0,0,0,0,3,2,1,18,Times New Roman";
    default:
      return "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
  }
}

std::string_view PreferenceGroupName(KPrefGroup group) { return kNames[static_cast<size_t>(group)]; }

std::array<KPrefGroup, kPrefGroupCount> AllPreferenceGroups() {
  std::array<KPrefGroup, kPrefGroupCount> groups{};
  for (int i = 0; i < kPrefGroupCount; ++i) groups[static_cast<size_t>(i)] = static_cast<KPrefGroup>(i);
  return groups;
}
