// File/Export/Full Score As MIDI File (Ctrl+Alt+S): the score as the play
// dialog would play it, written as a Standard MIDI File whose name the save
// dialog asks for. A score with nothing to play says so and writes nothing; a
// file that cannot be written is reported, and no half-written file is left.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/ErrorReporter.h"
#include "midi/CMaxMidiSMF.h"
#include "midi/MidiEventTrack.h"
#include "midi/MidiExport.h"
#include "platform/FileBytes.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/midi/ViewPlayInput.h"

namespace {

constexpr UINT kMsgOnlyBetweenMarks = 7084;
constexpr const char* kNothingToPlay =
    "The score has no staff, tablature or drum lines to play, so no MIDI file was written.";

int FileNameStart(const CString& path) { return path.ReverseFind('/') + 1; }

bool HasExtension(const CString& path) { return path.ReverseFind('.') >= FileNameStart(path); }

// The score's title up to its first ".", with ".mid": the file's name, or
// for an unsaved score the name its window shows ("Untitled" without one).
CString DefaultMidiName(const CStavlinView& view) {
  const CStavlinDoc& document = *view.m_document;
  CString title = document.ScoreName();
  const int dot = title.Find('.');
  if (dot >= 0) title = title.Left(dot);
  CString name;
  name.Format("%s.mid", title.Str().c_str());
  return name;
}

}  // namespace

bool ExportPerformanceToFile(const KPerformance& performance, const CString& path) {
  if (performance.tracks.empty()) {
    AfxMessageBox(kNothingToPlay, MB_OK | MB_ICONINFORMATION);
    return false;
  }
  CMaxMidiSMF file;
  std::vector<std::unique_ptr<MidiEventTrack>> tracks;
  const MidiExportOutcome outcome =
      ExportPerformance(performance, path.ToUtf8().c_str(), file, [&](const char* name) {
        tracks.push_back(std::make_unique<MidiEventTrack>());
        tracks.back()->SetName(name);
        return tracks.back().get();
      });
  file.Close();
  switch (outcome.result) {
    case MidiExportOutcome::Result::kWritten:
      return true;
    case MidiExportOutcome::Result::kNoTrack:
      AfxMessageBox(kNothingToPlay, MB_OK | MB_ICONINFORMATION);
      return false;
    case MidiExportOutcome::Result::kFailed:
      // The code says where it failed, the reason what the system said.
      ReportFileProblem(kMsgMidiFileProblem, outcome.code.c_str(), path.Str().c_str(),
                        outcome.reason.c_str());
      return false;
  }
  return false;
}

void CStavlinView::OnFileExportMidi() {
  if (m_document == nullptr) return;
  bool betweenMarks = m_options.midiBetweenMarks != 0;
  if (betweenMarks) {
    const int answer = AfxMessageBox(kMsgOnlyBetweenMarks, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (answer == IDCANCEL) return;
    if (answer == IDNO) {
      betweenMarks = false;
      m_options.midiBetweenMarks = 0;
      m_document->SetSettings(m_options, TRUE);
    }
  }

  const KPerformance performance = BuildViewPerformance(*this, betweenMarks);
  if (performance.tracks.empty()) {
    AfxMessageBox(NothingToPlayText(*this), MB_OK | MB_ICONINFORMATION);
    return;
  }

  KSaveFileRequest request;
  request.title = "Export MIDI File";
  request.filters = {{"MIDI Files (*.mid)", "*.mid"}, {"All Files (*.*)", "*.*"}};
  request.filterIndex = 1;
  request.fileName = DefaultMidiName(*this);
  // Cancel is an answer: nothing is written.
  if (!CurrentUiPort().GetSaveFileName(request) || request.fileName.IsEmpty()) return;
  CString path = request.fileName;
  if (request.filterIndex == 1 ? path.Right(4).CompareNoCase(".mid") != 0 : !HasExtension(path))
    path += ".mid";

  // A read-only file stays as it is, as the score's own Save keeps it.
  if (fileio::IsReadOnlyFile(std::filesystem::path(path.ToUtf8()))) {
    ReportFileProblem(kMsgMidiFileProblem, "QV4-1", path.Str().c_str(), "The file is read-only.");
    return;
  }
  std::error_code error;
  if (std::filesystem::exists(std::filesystem::path(path.ToUtf8()), error)) {
    CString question;
    question.Format("%s already exists.\nDo you want to replace it?", path.Str().c_str());
    if (AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
  }
  ExportPerformanceToFile(performance, path);
}

std::span<const KViewCommandHandler> MidiExportCommandHandlers() {
  static constexpr KViewCommandHandler kHandlers[] = {
      {cmd::kExportMidi, cmd::kExportMidi, [](CStavlinView& v, UINT) { v.OnFileExportMidi(); }},
  };
  return kHandlers;
}
