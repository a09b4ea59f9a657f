#include "view/commands/MidiFileImport.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include "dialogs/KDlgMidiImpSettings.h"
#include "doc/ImportedSystems.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "midi/MidiImportFile.h"
#include "midi/MidiImportLines.h"
#include "model/DocServices.h"
#include "platform/FileBytes.h"
#include "platform/MidiFileReader.h"
#include "platform/ProgressPort.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "doc/NewScoreSheetWidth.h"
#include "view/music/ViewMusic.h"

int g_midiImportMethod = 1;
int g_midiShortNoteWarning = 1;

namespace {

using namespace midiimport;

constexpr UINT kNotMidiNameMessage = 7130;
constexpr UINT kOpenProblemMessage = 8207;
constexpr UINT kNotMidiFileMessage = 7079;
constexpr UINT kShortNotesMessage = 7105;
constexpr UINT kBarOverrunMessage = 7131;
constexpr UINT kAligningText = 8085;
constexpr UINT kConvertingText = 8086;
constexpr UINT kCreatingLinesText = 8087;
constexpr UINT kCleaningTiesText = 8088;
constexpr const char* kTitleFont = "26,0,0,0,700,0,0,0,0,3,2,1,18,Times New Roman";
constexpr BYTE kMetaText = 1;
constexpr BYTE kMetaCopyright = 2;
constexpr BYTE kMetaLyric = 5;
constexpr const char* kNoNotesText = "The MIDI file %1 holds no notes that could be imported.";
constexpr const char* kLeftOutText = "Parts of the MIDI file %1 could not be read and were left out:\n%2";
constexpr const char* kNotesLeftOutText =
    "Some notes of the MIDI file %1 could not be written in the score and were left out:\n%2";
constexpr const char* kTooLargeText =
    "The MIDI file %1 is too large to import: it holds %2 MB, and the most a MIDI file may hold is %3 MB.";

// A size in megabytes of 2^20 bytes with one decimal, rounded up to the next
// tenth: the file's size and the limit are told in the same unit, and a file
// a few bytes over the limit reads as larger than it.
CString Megabytes(std::uintmax_t bytes) {
  constexpr std::uintmax_t kMegabyte = std::uintmax_t{1} << 20;
  const std::uintmax_t whole = bytes / kMegabyte;
  const std::uintmax_t rest = bytes % kMegabyte;
  std::uintmax_t tenths = whole * 10 + (rest * 10 + kMegabyte - 1) / kMegabyte;
  CString text;
  text.Format("%llu.%llu", static_cast<unsigned long long>(tenths / 10),
              static_cast<unsigned long long>(tenths % 10));
  return text;
}

void ReportTooLarge(const CString& path, std::uintmax_t bytes) {
  const CString size = Megabytes(bytes);
  const CString most = Megabytes(kMaxMidiFileBytes);
  const LPCTSTR args[3] = {path, size, most};
  CString text;
  AfxFormatStrings(text, kTooLargeText, args, 3);
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

// The progress window of the import's passes, the bar moved by the share
// done; the poll's answer stops a pass.
class ImportProgress {
 public:
  explicit ImportProgress(UINT text) : m_window(LoadString(text)) {}
  void SetText(UINT text) { m_window.SetText(LoadString(text)); }
  bool Stop(int percent) { return m_window.Update(std::clamp(percent, 0, 100)); }

 private:
  ProgressWindow m_window;
};

std::vector<KDlgMidiImpSettings::Row> DialogRows(const std::vector<ImportTrackInfo>& rows) {
  std::vector<KDlgMidiImpSettings::Row> shown;
  int lines = 0;
  for (const ImportTrackInfo& r : rows) {
    KDlgMidiImpSettings::Row row;
    row.kind = r.kind;
    row.track = r.track;
    row.channel = r.channel;
    row.program = r.program;
    row.resolution = r.resolution;
    row.noteCount = r.noteCount;
    row.octave = r.octave;
    row.label = r.label;
    lines += r.kind == kKindKeyboard ? 2 : 1;
    row.mark = lines > kMaxLines ? KDlgMidiImpSettings::kMarkOver : KDlgMidiImpSettings::kMarkYes;
    shown.push_back(row);
  }
  return shown;
}

void AddText(CStavlinDoc& doc, const CString& text) {
  if (!text.IsEmpty()) doc.AddTailLine(new KStrLine(text, 0));
}

// Each new staff's label names a MIDI instrument of the score: the track's
// program.
void GiveInstruments(CStavlinDoc& doc, std::vector<ImportedLine>& lines) {
  MidiInstrumentTable table;
  InstrumentLabels texts;
  ScoreSettings settings;
  doc.GetSettings(settings);
  table.count =
      std::clamp(static_cast<int>(settings.instrumentCount), kInstrumentFixedEntries, kInstrumentTableSize);
  for (int i = 0; i < kInstrumentTableSize && i < ScoreSettings::kInstrumentSlots; ++i)
    texts.instrumentLabels[i] = settings.instrumentTable[i];
  texts.instrumentCount = settings.instrumentCount;
  for (ImportedLine& line : lines) {
    const CString label = line.line->GetLabelName();
    line.line->SetLabelAndInstrument(label, table, texts, &doc, line.program, -1);
  }
}

// Raises the importing flag for the time of an import and puts the old value
// back however the import ends: while it is raised, a dot is not a companion
// that moves with its note when note heads are arranged.
class KImportingScope {
 public:
  KImportingScope() : m_saved(g_midiImporting) { g_midiImporting = 1; }
  ~KImportingScope() { g_midiImporting = m_saved; }
  KImportingScope(const KImportingScope&) = delete;
  KImportingScope& operator=(const KImportingScope&) = delete;

 private:
  int m_saved;
};

MidiFileImportResult ImportParsedBytes(const CString& path, std::span<const std::uint8_t> bytes);

CString JoinWarnings(const std::vector<std::string>& warnings) {
  std::string text;
  for (const std::string& w : warnings) text += w + "\n";
  return CString(text.c_str());
}

}  // namespace

MidiFileImportResult ImportMidiFile(const CString& path) {
  CString lowered = path;
  lowered.MakeLower();
  if (lowered.Find(".mid") < 0) {
    CString text;
    AfxFormatString1(text, kNotMidiNameMessage, path);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return {};
  }
  // The size is checked before a byte is read: a huge file is refused, not
  // read into memory.
  const std::filesystem::path file(path.ToUtf8());
  const fileio::ReadResult read = fileio::ReadFileUpTo(file, kMaxMidiFileBytes);
  if (read.error == fileio::ReadError::kTooLarge) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    ReportTooLarge(path, error ? kMaxMidiFileBytes + 1 : size);
    return {};
  }
  if (!read.ok()) {
    CString text;
    AfxFormatString2(text, kOpenProblemMessage, path, CString("MainFr-2: ") + CString(read.message.c_str()));
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return {};
  }
  return ImportMidiBytes(path, read.bytes);
}

MidiFileImportResult ImportMidiBytes(const CString& path, std::span<const std::uint8_t> bytes) {
  const KImportingScope importing;
  return ImportParsedBytes(path, bytes);
}

namespace {

MidiFileImportResult ImportParsedBytes(const CString& path, std::span<const std::uint8_t> bytes) {
  MidiFileContent content;
  std::string error;
  if (bytes.size() > kMaxMidiFileBytes) {
    ReportTooLarge(path, bytes.size());
    return {};
  }
  if (!ParseMidiFile(bytes, content, error)) {
    CString text;
    AfxFormatString1(text, kNotMidiFileMessage, path);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return {};
  }
  const MidiImportFile file(std::move(content));
  if (!file.Warnings().empty()) {
    CString text;
    const CString joined = JoinWarnings(file.Warnings());
    const LPCTSTR both[2] = {path, joined};
    AfxFormatStrings(text, kLeftOutText, both, 2);
    AfxMessageBox(text, MB_OK | MB_ICONINFORMATION);
  }

  AnalysisPreferences prefs;
  prefs.lineTypes = g_prefMidiImport.lineTypes;
  prefs.trebleUpper = g_prefMidiImport.trebleUpperTone;
  prefs.bassLower = g_prefMidiImport.bassLowerTone;
  prefs.keyboardDivisor = g_prefMidiImport.keyboardPercent;
  prefs.split = g_prefMidiImport.splitTone;
  prefs.resolution = std::clamp(g_prefMidiInput.shortestImportNote, 0, 3);
  std::vector<ImportTrackInfo> rows = file.Analyse(prefs);
  if (rows.empty()) {
    CString text;
    const LPCTSTR args[1] = {path};
    AfxFormatStrings(text, kNoNotesText, args, 1);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return {};
  }

  // The user's choices.
  KDlgMidiImpSettings dialog;
  dialog.SetRows(DialogRows(rows));
  dialog.title = ImportTitleFromPath(path);
  dialog.staffLength = std::clamp(g_prefMidiImport.lineLength, 200, 32000);
  dialog.methodIndex = g_midiImportMethod == 1 ? 0 : 1;
  dialog.spaceOut = g_prefAutoFormat.addSpaces != 0 ? 1 : 0;
  if (dialog.DoModal() != IDOK || dialog.ImportCount() == 0) return {};
  const std::vector<KDlgMidiImpSettings::Row>& chosen = dialog.Rows();
  for (size_t i = 0; i < rows.size() && i < chosen.size(); ++i) {
    const KDlgMidiImpSettings::Row& row = chosen[i];
    rows[i].import = row.mark == KDlgMidiImpSettings::kMarkYes;
    rows[i].kind = row.kind;
    rows[i].resolution = row.resolution;
    rows[i].program = row.program;
    rows[i].label = row.label;
    rows[i].octave = row.octave;
  }
  if (rows.size() > chosen.size()) rows.resize(chosen.size());

  // The new score, apart from any window until it is whole.
  MidiFileImportResult result;
  result.title = dialog.title.IsEmpty() ? ImportTitleFromPath(path) : dialog.title;
  auto doc = std::make_unique<CStavlinDoc>();
  doc->OnNewDocument();
  if (doc->HasNoLines()) doc->AddHeadLine(new KStrLine(" ", 0));
  result.titleLine = doc->AddTailLine(new KStrLine(result.title, 0));
  AddText(*doc, CString(" "));
  AddText(*doc, file.FirstText(kMetaCopyright));
  AddText(*doc, file.FirstText(kMetaText));
  AddText(*doc, file.FirstText(kMetaLyric));
  const int tempo = file.Tempo() > 0 ? file.Tempo() : g_prefMidi.tempo;
  {
    ScoreSettings settings;
    doc->GetSettings(settings);
    settings.midiTempo = static_cast<short>(tempo);
    doc->SetSettings(settings, FALSE);
  }

  LineBuildOptions options;
  options.quantiseMethod = g_midiImportMethod == 1 ? 1 : 0;
  options.builderMethod = dialog.methodIndex == 1 ? 2 : 1;
  options.split = g_prefMidiImport.splitTone;
  options.spaceOut.on = dialog.spaceOut != 0;
  options.spaceOut.afterQuarter = g_prefAutoFormat.afterQuarter;
  options.spaceOut.afterHalf = g_prefAutoFormat.afterHalf;
  options.spaceOut.beforeBar = g_prefAutoFormat.beforeBar;
  options.spaceOut.afterBar = g_prefAutoFormat.afterBar;
  // As many notes as the file could hold (three bytes a note at least).
  options.noteCapacity = std::max<std::size_t>(bytes.size() / 3, 16);

  LineBuildResult built;
  {
    ImportProgress progress(kConvertingText);
    bool aligning = false;
    built = BuildImportLines(
        file, rows, options,
        [&progress](int done, int total) { return !progress.Stop(total > 0 ? done * 100 / total : 100); },
        [&progress, &aligning](int done, int total) {
          if (!aligning) {
            progress.SetText(kAligningText);
            aligning = true;
          }
          return !progress.Stop(total > 0 ? done * 100 / total : 100);
        });
  }
  // A bar the chosen resolution cannot fill: the user is told, and the
  // import ends as if stopped.
  if (built.overrun) AfxMessageBox(kBarOverrunMessage, MB_OK | MB_ICONEXCLAMATION);
  if (built.cancelled || built.lines.empty()) return {};

  // Notes the score could not hold: the user is told how many and why, once.
  if (const std::string lost = LostNotesText(built.lost); !lost.empty()) {
    CString text;
    const CString why(lost.c_str());
    const LPCTSTR both[2] = {path, why};
    AfxFormatStrings(text, kNotesLeftOutText, both, 2);
    AfxMessageBox(text, MB_OK | MB_ICONINFORMATION);
  }

  if (built.shortNotes > 0) {
    if (g_midiShortNoteWarning != 0) {
      CString count;
      count.Format("%d", built.shortNotes);
      CString text;
      AfxFormatString1(text, kShortNotesMessage, count);
      if (AfxMessageBox(text, MB_YESNOCANCEL | MB_ICONQUESTION) == IDNO) g_midiShortNoteWarning = 0;
    } else {
      MessageBeep(MB_ICONINFORMATION);
    }
  }

  GiveInstruments(*doc, built.lines);
  for (const ImportedLine& line : built.lines) {
    if (line.line->TestFlags(kFlagToTablature) != 0) result.wantsTablature = true;
  }
  std::vector<CStavlinDoc::ImportedLineRecord> records;
  for (ImportedLine& line : built.lines) records.push_back({line.line.release(), line.kind});
  // The systems keep within a printed sheet at 100 %: a staff no longer
  // than the sheet less the score's left edge.
  const int staffLength = NewScoreStaffLength(dialog.staffLength);
  const int columns = std::max(4, (staffLength - 54) / 18);
  // A blank line parts the file's texts from the first staff, whose tempo
  // mark stands above it: without it the last text runs into the mark.
  doc->AddTailLine(new KStrLine(" ", 0));
  {
    ImportProgress progress(kCreatingLinesText);
    if (!doc->BuildImportedLines(records, columns, staffLength,
                                 [&progress](int percent) { return progress.Stop(percent); }))
      return {};
    progress.SetText(kCleaningTiesText);
    if (!doc->CleanUpImportedTies(MetronomeNumber(tempo, built.metronomeUnit),
                                  [&progress](int percent) { return progress.Stop(percent); }))
      return {};
  }
  doc->fileName = result.title;
  FinishImportedSystems(*doc, static_cast<int>(records.size()));
  doc->SetModifiedFlag(TRUE);
  result.document = std::move(doc);
  return result;
}

}  // namespace

void FinishMidiImportInView(CStavlinView& view, const MidiFileImportResult& result) {
  const KImportingScope importing;
  if (result.wantsTablature) {
    view.ConvertToTablature(static_cast<int>(kFlagToTablature));
    // The request is done: the staves do not keep it.
    if (CStavlinDoc* doc = view.GetDocument()) {
      for (POSITION pos = doc->GetFirstLinePosition(); pos != nullptr;) {
        if (KLineObj* line = doc->GetNextLine(pos)) line->ModifyFlags(kFlagToTablature, 0);
      }
    }
  }
  // Every system but the last is filled to the staff length, its closing
  // bar at the staff's end, as engraved music is.
  view.RebuildDisplayLines(0);
  FillSystemsToStaffLength(view, 0, view.GetDisplayLineCount() - 1);
  if (result.titleLine != nullptr) {
    const int display = view.FindDisplayLine(result.titleLine, 0);
    if (display >= 0) view.SetTextLineFont(display, CString(kTitleFont), 1, 1, 0, 0);
  }
  view.UpdateAfterEdit(CStavlinView::kHintAll, 1);
}
