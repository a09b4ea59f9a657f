// The status bar's information panes. Every pane but the clock is empty
// while no score window is active; the clock runs whenever its option is on.

#include "view/commands/StatusPanes.h"

#include <ctime>

#include "platform/StringTable.h"

namespace {

constexpr UINT kPaneNoteStyle = 5600;
constexpr UINT kPaneCaret = 5601;
constexpr UINT kPaneMode = 5602;
constexpr UINT kPaneEntryOptions = 5603;
constexpr UINT kPaneAutosave = 5604;
constexpr UINT kPaneOverwrite = 5605;
constexpr UINT kPaneClock = 5606;

KStatusPane Shown(const CString& text) {
  KStatusPane pane;
  pane.enabled = true;
  pane.text = text;
  return pane;
}

CString NoteStylePane(const KViewMirrors& m) {
  if (m.alternateSymbols == 1) return "AS";
  static constexpr const char* kStyles[] = {"N", "/", "X", "R", "M", "Q", "T", "C"};
  if (m.noteStyle < 0 || m.noteStyle > 7) return CString();
  return kStyles[m.noteStyle];
}

// Three letter places of "WBJSio" (blank when off), then "Si" or "So" for
// the automatic stem direction.
CString EntryOptionsPane(const KViewMirrors& m) {
  CString letters = LoadString(8045);
  if (letters.GetLength() < 6) letters = "WBJSio";
  CString text;
  text += m.autoWrap != 0 ? letters[0] : ' ';
  text += m.autoBars != 0 ? letters[1] : ' ';
  text += m.autoJoin != 0 ? letters[2] : ' ';
  if (m.stemDirection == 1) {
    text += letters[3];
    text += letters[4];
  } else if (m.stemDirection == 2) {
    text += letters[3];
    text += letters[5];
  }
  return text;
}

CString CaretPane(const KViewMirrors& m) {
  CString text;
  text.Format("%s %d, %s %d, %s %d", static_cast<LPCTSTR>(LoadString(8039)), m.currentPage,
              static_cast<LPCTSTR>(LoadString(8040)), m.currentLine + 1,
              static_cast<LPCTSTR>(LoadString(8041)), m.caretColumn + 1);
  return text;
}

KStatusPane ModePane(const KViewMirrors& m) {
  if (m.autoScroll != 0) {
    CString text;
    text.Format("%s %d %s/%d S", static_cast<LPCTSTR>(LoadString(8046)), m.scrollLines,
                static_cast<LPCTSTR>(LoadString(8040)), m.scrollSeconds);
    return Shown(text);
  }
  if (m.independentEditing != 0) return Shown("INDEP LINE EDITING");
  if (m.mutualTranslation != 0) return Shown(LoadString(8042));
  return KStatusPane();
}

CString AutosavePane(const KViewMirrors& m) {
  if (m.autosaveState == 0) return LoadString(8049);
  return LoadString(m.autosaveState == 2 ? 8043 : 8044);
}

}  // namespace

const std::vector<UINT>& StatusPaneIds() {
  static const std::vector<UINT> ids = {kPaneNoteStyle, kPaneEntryOptions, kPaneCaret, kPaneMode,
                                        kPaneAutosave,  kPaneOverwrite,    kPaneClock};
  return ids;
}

KClockTime LocalClockTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  KClockTime time;
  if (localtime_r(&now, &local) != nullptr) {
    time.hour = local.tm_hour;
    time.minute = local.tm_min;
  }
  return time;
}

CString FormatClock(const KClockTime& time, bool twentyFourHour) {
  int hour = time.hour;
  const char* suffix = "";
  if (!twentyFourHour) {
    suffix = hour >= 12 ? "PM" : "AM";
    if (hour > 12) hour -= 12;
    if (hour == 0) hour = 12;
  }
  CString text;
  text.Format("%2d:%02d %s", hour, time.minute, suffix);
  return text;
}

KStatusPane StatusPaneText(UINT id, const KViewMirrors& mirrors, const KStatusInputs& inputs) {
  if (id == kPaneClock) {
    if (!inputs.clockOn) return Shown(CString());
    return Shown(FormatClock(inputs.time, inputs.twentyFourHour));
  }
  if (!inputs.childActive) return KStatusPane();
  switch (id) {
    case kPaneNoteStyle:
      return Shown(NoteStylePane(mirrors));
    case kPaneEntryOptions:
      return Shown(EntryOptionsPane(mirrors));
    case kPaneCaret:
      return Shown(CaretPane(mirrors));
    case kPaneMode:
      return ModePane(mirrors);
    case kPaneAutosave:
      return Shown(AutosavePane(mirrors));
    case kPaneOverwrite:
      return Shown(LoadString(mirrors.overwrite != 0 ? 8047 : 8048));
    default:
      return KStatusPane();
  }
}
