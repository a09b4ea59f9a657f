#pragma once
// A score view over a small score that plays: a melody staff labelled
// "Flute" (program 74 in the score's instrument table) over an unlabelled
// bass staff in one line group, two bars of quarter notes each, with the line play interpreter
// installed as the editor installs it at start.

#include <filesystem>
#include <string>

#include "../model/NoteLineTestSupport.h"
#include "../view_structure/StructureTestSupport.h"
#include "lines/KStaffLine.h"
#include "midi/LinePlayEvents.h"
#include "model/KListLine.h"
#include "support/TempFolder.h"

namespace miditest {

class MidiViewFixture : public structtest::StructureFixture {
 protected:
  void SetUp() override {
    StructureFixture::SetUp();
    InstallLinePlayInterpreter();
  }
  void TearDown() override {
    KListLine::SetPlayTextInterpreter(nullptr);
    StructureFixture::TearDown();
  }

  // The melody C5 D5 | E5 F5 and the bass D3 D3 | D3 D3.
  void MakeScore() {
    auto* melody = new KStaffLine(0, 0, 0);
    FillNotes(*melody, "0=8@17 1=8@16 2=21@1/44 3=8@15 4=8@14 5=23@1/44");
    Add(melody);
    auto* bass = new KStaffLine(1, 0, 0);
    FillNotes(*bass, "0=8@18 1=8@18 2=21@1/44 3=8@18 4=8@18 5=23@1/44");
    Add(bass);
    Group(1, {lines[lines.size() - 2], lines.back()}, false);
    Open(0, 0);
    view->SetLineLabel(Line(0), "Flute");
    const int flute = view->m_labelCount - 1;
    view->m_labels[static_cast<std::size_t>(flute)].program = 74;
    ui.ClearRecords();
  }

  // The save dialog answers this path.
  void SaveAs(const std::filesystem::path& path) {
    ui.AnswerSaveFile([path](KSaveFileRequest& request) {
      request.fileName = CString::FromUtf8(path.string());
      return true;
    });
  }

  stavlin_test::TempFolder folder{"midiview"};
};

}  // namespace miditest
