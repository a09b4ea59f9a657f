// Chords in the real program: start-up installs the chord catalogue and the
// user's dictionary behind chord names and gives a new user the program's own
// dictionary; Insert/Chord opens the chord selection dialog and places the
// chosen chord; Alt+Up and Alt+Down step its variations; the designer's new
// chord is listed by the selection dialog and is there after a restart; an
// opened score's diagrams that the dictionary lacks are offered and the
// ticked ones kept; chord names in a text line become diagrams.

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <set>

#include "ShellTestSupport.h"
#include "chords/ChordCatalogue.h"
#include "chords/ChordDictionary.h"
#include "chords/ChordNameSources.h"
#include "chords/ChordNames.h"
#include "chords/ChordNamesShift.h"
#include "chords/ChordRecordKeys.h"
#include "chords/ChordRecordTuningInfo.h"
#include "common/Globals.h"
#include "dialogs/KDlg8StringChordDes.h"
#include "dialogs/KDlgChordSelect.h"
#include "dialogs/KDlgScannedChords.h"
#include "doc/CStavlinDoc.h"
#include "lines/KChordPicLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KChordPic.h"
#include "model/KLineGroup.h"
#include "view/CStavlinView.h"
#include "view/qt/KViewWidget.h"

namespace {

const char* const kStandard = "E A D G B E  323742475156";

// "name:shape:variation" of each diagram of the line.
std::string Diagrams(KChordPicLine& line) {
  std::string out;
  for (POSITION at = line.GetObjList()->GetHeadPosition(); at != nullptr;) {
    const KChordPic* pic = AsChordPic(line.GetObjList()->GetNext(at));
    if (pic == nullptr) continue;
    if (!out.empty()) out += ' ';
    out += pic->GetName().Str() + ":" + pic->GetShape().Str() + ":" + std::to_string(pic->GetSetting());
  }
  return out;
}

CString LibraryShape(const char* root, const char* type, int n) {
  LibraryType found;
  EXPECT_EQ(FindLibraryType(GetChordNameSources(), ChordRootIndex(root), type, found), LibraryLookup::kFound);
  return LibraryVariation(found.text, n);
}

class Chords : public ShellTest {
 protected:
  // A score whose first line is a chord-diagram line (with the diagrams given).
  std::string ChordScore(const std::string& name,
                         const std::vector<std::pair<CString, CString>>& diagrams = {}) {
    const std::string path = (Dir() / name).string();
    CStavlinDoc doc;
    EXPECT_TRUE(doc.OnNewDocument());
    auto* line = new KChordPicLine();
    int column = 0;
    for (const auto& [diagramName, shape] : diagrams) {
      line->InsertDiagramAt(column, diagramName, shape, 1, 0);
      column += 6;
    }
    doc.AddHeadLine(line);
    EXPECT_TRUE(doc.OnSaveDocument(path.c_str()));
    return path;
  }
  KChordPicLine* FirstChordLine(CChildFrame& child) {
    CStavlinDoc& doc = child.Document();
    for (POSITION at = doc.GetFirstLinePosition(); at != nullptr;)
      if (auto* line = dynamic_cast<KChordPicLine*>(doc.GetNextLine(at))) return line;
    return nullptr;
  }
  std::filesystem::path ChordFile() const { return Dir() / "data" / "stavlin" / "ZODireda.dat"; }
  void Restart() {
    for (CChildFrame* child : Frame().ScoreWindows()) child->CloseWithoutAsking();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    app_.reset();  // the program ends: its chord dictionary goes with it
    EXPECT_EQ(g_ChordDictionary.GetCount(), 0);
    app_ = std::make_unique<CStavlinApp>();
    app_->SetSaveAsPrompt([](const CString&) { return CString(); });
    app_->SetOpenPrompt([](const CString&, const QStringList&) { return CString(); });
    ASSERT_TRUE(Start());
  }
  void InsertChord() {
    Frame().ActionFor(41072)->trigger();  // Insert | Chord
    QApplication::processEvents();
  }
  void Keys(KViewWidget* pane, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(pane, key, modifiers);
    QApplication::processEvents();
  }
};

TEST_F(Chords, StartUpInstallsTheCatalogueAndTheUsersChords) {
  ASSERT_TRUE(Start());
  // A new user gets the program's own dictionary.
  ASSERT_TRUE(std::filesystem::is_regular_file(ChordFile()));
  EXPECT_EQ(
      std::filesystem::file_size(ChordFile()),
      std::filesystem::file_size(std::filesystem::path(STAVLIN_RESOURCE_DIR) / "chords" / "ZODireda.dat"));
  CObject* standard = nullptr;
  ASSERT_TRUE(g_ChordDictionary.Lookup(kStandard, standard));
  EXPECT_NE(static_cast<KTuningInfo*>(standard)->HasKey("E "), 0);

  // "C" transposes ...
  KChordPicLine line;
  line.InsertDiagramAt(0, "C", LibraryShape("C ", "(major)", 1), 1, 0);
  line.InsertDiagramAt(8, "Am7", LibraryShape("A ", "m7", 1), 1, 0);
  ASSERT_EQ(ShiftChordNames(line, 0, 100, kChordShiftKeyUp, kChordShiftTranspose, 2, 1), 0);
  EXPECT_EQ(Diagrams(line), "D:" + LibraryShape("D ", "(major)", 1).Str() +
                                ":1 Bm7:" + LibraryShape("B ", "m7", 1).Str() + ":1");
  // ... and steps through its variations, the catalogue's and then the user's.
  KChordPicLine e;
  e.InsertDiagramAt(0, "Em11", "0000000", 1, 0);
  ASSERT_EQ(ShiftChordNames(e, 0, 1, kChordShiftKeyUp, kChordShiftVariation, 1, 0), 0);
  EXPECT_EQ(Diagrams(e), "Em11:0000000" + std::string(8, ' ') + " 0110000640:1");
  KChordPicLine d;
  d.InsertDiagramAt(0, "D", LibraryShape("D ", "(major)", 1), 1, 0);
  ASSERT_EQ(ShiftChordNames(d, 0, 1, kChordShiftKeyUp, kChordShiftVariation, 1, 0), 0);
  EXPECT_EQ(Diagrams(d), "D:" + LibraryShape("D ", "(major)", 2).Str() + ":2");
  ASSERT_EQ(ShiftChordNames(d, 0, 1, 40, kChordShiftVariation, 1, 0), 0);
  EXPECT_EQ(Diagrams(d), "D:" + LibraryShape("D ", "(major)", 1).Str() + ":1");
  // Down from the first wraps round to the last.
  LibraryType major;
  ASSERT_EQ(FindLibraryType(GetChordNameSources(), ChordRootIndex("D "), "(major)", major),
            LibraryLookup::kFound);
  const int last = LibraryVariationCount(major.text);
  ASSERT_EQ(ShiftChordNames(d, 0, 1, 40, kChordShiftVariation, 1, 0), 0);
  EXPECT_EQ(Diagrams(d), "D:" + LibraryShape("D ", "(major)", last).Str() + ":" + std::to_string(last));
}

TEST_F(Chords, InsertChordPlacesTheChosenChordAndAltArrowsStepItsVariations) {
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  CChildFrame* child = OpenFocused(ChordScore("chords.svd"), pane);
  ASSERT_NE(child, nullptr);
  ASSERT_NE(pane, nullptr);
  int shown = 0;
  ui_.AnswerDialog(KDlgChordSelect::kTemplateId, [&](KModalDialog& d) {
    ++shown;
    auto& dialog = static_cast<KDlgChordSelect&>(d);
    dialog.Controls().Select(KDlgChordSelect::kIdRoot, ChordRootIndex("G "));
    EXPECT_EQ(dialog.typeName, "(major)");
    EXPECT_EQ(dialog.ChordName(), "G(major)");
    EXPECT_EQ(dialog.IntervalLabel(1), "3rd");
    EXPECT_EQ(dialog.NoteLabel(1), "(B)");
    return IDOK;
  });
  InsertChord();
  EXPECT_EQ(shown, 1);
  KChordPicLine* line = FirstChordLine(*child);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(Diagrams(*line), "G:0320003:1");  // the open G

  // The caret went past the diagram; one step back reaches it.
  Keys(pane, Qt::Key_Left);
  Keys(pane, Qt::Key_Up, Qt::AltModifier);
  EXPECT_EQ(Diagrams(*line), "G:" + LibraryShape("G ", "(major)", 2).Str() + ":2");
  Keys(pane, Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(Diagrams(*line), "G:0320003:1");
  // Alt+Shift+Up transposes it.
  Keys(pane, Qt::Key_Up, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_EQ(Diagrams(*line).substr(0, 3), "G#:");  // the next root name
}

TEST_F(Chords, ADesignedChordIsListedAndSurvivesARestart) {
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  CChildFrame* child = OpenFocused(ChordScore("design.svd"), pane);
  ASSERT_NE(child, nullptr);
  ui_.AnswerDialog(KDlg8StringChordDes::kTemplateId, [](KModalDialog& d) {
    auto& designer = static_cast<KDlg8StringChordDes&>(d);
    designer.Controls().Find(KDlg8StringChordDes::kIdClear)->handler();
    designer.Controls().SetText(KDlg8StringChordDes::kIdType, "mystery");
    designer.Controls().Select(KDlg8StringChordDes::kIdKey, ChordRootIndex("F#"));
    // Every string muted, then a few dots: 2 x 4 4 3 x.
    KChordGrid& grid = designer.Grid();
    const int left = grid.GridLeft();
    auto click = [&](int string, int y, int button) {
      designer.Controls().Click(KDlg8StringChordDes::kIdGrid,
                                DialogMouse{left + 36 * string + 10, y, button, false, 0});
    };
    click(0, 44 + 36, 1);
    click(2, 44 + 3 * 36, 1);
    click(3, 44 + 3 * 36, 1);
    click(4, 44 + 2 * 36, 1);
    EXPECT_EQ(designer.shape.Left(7), "0294439");
    return IDOK;
  });
  int lastVariations = 0;
  ui_.AnswerDialog(KDlgChordSelect::kTemplateId, [&](KModalDialog& d) {
    auto& dialog = static_cast<KDlgChordSelect&>(d);
    dialog.Controls().Find(KDlgChordSelect::kIdNew)->handler();
    EXPECT_EQ(dialog.key, "F#");
    EXPECT_EQ(dialog.typeName, "mystery");
    lastVariations = dialog.VariationCount();
    EXPECT_GE(dialog.FindTypeIndex("mystery*"), 0);
    return IDOK;
  });
  InsertChord();
  ASSERT_EQ(lastVariations, 1);
  KChordPicLine* line = FirstChordLine(*child);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(Diagrams(*line).substr(0, 17), "F#mystery:0294439");

  Restart();
  KViewWidget* again = nullptr;
  ASSERT_NE(OpenFocused(ChordScore("after.svd"), again), nullptr);
  bool listed = false;
  ui_.AnswerDialog(KDlgChordSelect::kTemplateId, [&](KModalDialog& d) {
    auto& dialog = static_cast<KDlgChordSelect&>(d);
    dialog.Controls().Select(KDlgChordSelect::kIdRoot, ChordRootIndex("F#"));
    listed = dialog.FindTypeIndex("mystery*") >= 0;
    return IDCANCEL;
  });
  InsertChord();
  EXPECT_TRUE(listed);
}

TEST_F(Chords, NewChordsOfAnOpenedScoreAreOfferedAndTheTickedOnesKept) {
  ASSERT_TRUE(Start());
  // Two diagrams the dictionary does not have, one it has (the default
  // dictionary's E m11), and two of the catalogue's chords, which are never
  // offered: a short catalogue shape and the open G written out in full.
  const CString tail = CString(' ', 8) + " 0110000640";
  const CString designed1 = "0913210" + tail;
  const CString designed2 = "0243100" + tail;
  const CString known = "0000000" + tail;
  const std::string path = ChordScore("scanned.svd", {{"Cfancy", designed1},
                                                      {"Dodd", designed2},
                                                      {"Em11", known},
                                                      {"G", "0320003"},
                                                      {"G", "0320003" + tail}});
  int offered = 0;
  ui_.AnswerDialog(KDlgScannedChords::kTemplateId, [&](KModalDialog& d) {
    auto& dialog = static_cast<KDlgScannedChords&>(d);
    offered = static_cast<int>(dialog.chords.size());
    // Tick the first: a click in its cell.
    dialog.Controls().Click(KDlgScannedChords::kIdPicture,
                            DialogMouse{10, KDlgScannedChords::kTop + 20, 1, false, 0});
    return IDOK;
  });
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(path, pane), nullptr);
  EXPECT_EQ(offered, 2);

  Restart();
  CObject* standard = nullptr;
  ASSERT_TRUE(g_ChordDictionary.Lookup(kStandard, standard));
  auto* info = static_cast<KTuningInfo*>(standard);
  ASSERT_NE(info->HasKey("C "), 0);
  if (info->IsKeyLoaded("C ") == 0) info->LoadChords(kStandard, "C ");
  EXPECT_EQ(info->CountVariations("C ", "fancy"), 1);
  EXPECT_EQ(info->GetChordField("C ", "fancy", 1, kChordFieldShape).Left(7), "0913210");
  EXPECT_EQ(info->HasKey("D "), 1);  // the default dictionary's D 6/9
  if (info->IsKeyLoaded("D ") == 0) info->LoadChords(kStandard, "D ");
  EXPECT_EQ(info->CountVariations("D ", "odd"), 0);  // not ticked
}

// A score named on the command line offers its new chords over the main
// window, which is already on the screen, not alone before it.
TEST_F(Chords, AScoreOpenedFromTheCommandLineOffersItsChordsOverTheShownMainWindow) {
  const CString tail = CString(' ', 8) + " 0110000640";
  const std::string path = ChordScore("from-command-line.svd", {{"Cfancy", "0913210" + tail}});
  int offered = 0;
  bool mainWindowShown = false;
  ui_.AnswerDialog(KDlgScannedChords::kTemplateId, [&](KModalDialog& d) {
    offered = static_cast<int>(static_cast<KDlgScannedChords&>(d).chords.size());
    mainWindowShown = app_->MainFrame() != nullptr && app_->MainFrame()->isVisible();
    return IDCANCEL;
  });
  ASSERT_TRUE(Start({QString::fromStdString(path)}));
  EXPECT_EQ(offered, 1);
  EXPECT_TRUE(mainWindowShown);
}

TEST_F(Chords, ChordNamesInATextLineBecomeDiagrams) {
  ASSERT_TRUE(Start());
  KStrLine text(CString("Am  G  C7  D/F#"), 0);
  std::unique_ptr<KLineObj> made = KStrLine::RecognizeChordNames(text, 0, 0);
  auto* line = dynamic_cast<KChordPicLine*>(made.get());
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(Diagrams(*line), "Am:0902210:1 G:0320003:1 C7:0932310:1 D/F#:0290232:1");
}

TEST_F(Chords, TranslatingATextLineToChordsInTheWindowMakesItsDiagrams) {
  ASSERT_TRUE(Start());
  const std::string path = (Dir() / "names.svd").string();
  {
    CStavlinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.AddHeadLine(new KStrLine(CString("    Am  G  C7  D/F#"), 0));
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
  }
  KViewWidget* pane = nullptr;
  CChildFrame* child = OpenFocused(path, pane);
  ASSERT_NE(child, nullptr);
  ASSERT_NE(pane, nullptr);
  CStavlinView& view = pane->View();
  ASSERT_NE(dynamic_cast<KStrLine*>(view.GetDisplayLineObj(view.GetCurrentLine())), nullptr);
  Frame().ActionFor(41230)->trigger();  // Actions | Translate | To Chord
  QApplication::processEvents();
  KChordPicLine* line = FirstChordLine(*child);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(Diagrams(*line), "Am:0902210:1 G:0320003:1 C7:0932310:1 D/F#:0290232:1");
  // The caret stands on the new line, at one of its diagrams.
  ASSERT_EQ(view.GetDisplayLineObj(view.GetCurrentLine()), line);
  EXPECT_NE(AsChordPic(line->GetObjAt(view.GetCaretColumn(), 0)), nullptr) << view.GetCaretColumn();
  // There Alt+Up steps the first chord to its next variation.
  Keys(pane, Qt::Key_Up, Qt::AltModifier);
  EXPECT_EQ(Diagrams(*line).substr(0, 12), "Am:" + LibraryShape("A ", "m", 2).Str() + ":2");
}

TEST_F(Chords, AChordInsertedOnTablatureBracketedWithAStaffFillsTheStaffToo) {
  ASSERT_TRUE(Start());
  const std::string path = (Dir() / "pair.svd").string();
  {
    CStavlinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    const POSITION staff = doc.AddTailLine(new KStaffLine(0, 0, 0));
    const POSITION tab = doc.AddTailLine(new KTabLine(0, kStandard, 0));
    constexpr int kGroupId = 10000;
    auto* group = new KLineGroup(kGroupId, staff, doc.GetLineAt(staff)->GetType(), 0, tab,
                                 doc.GetLineAt(tab)->GetType(), 0, 1);
    doc.AddLineGroup(group);
    doc.GetLineAt(staff)->SetGroup(kGroupId, group);
    doc.GetLineAt(tab)->SetGroup(kGroupId, group);
    group->BindLines(doc);
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
  }
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(path, pane), nullptr);
  CStavlinView& view = pane->View();
  ASSERT_NE(view.m_mutualTranslation, 0);
  KTabLine* tab = nullptr;
  KStaffLine* staff = nullptr;
  for (int i = 0; i < view.GetDisplayLineCount(); ++i) {
    if (auto* t = dynamic_cast<KTabLine*>(view.GetDisplayLineObj(i))) tab = t;
    if (auto* s = dynamic_cast<KStaffLine*>(view.GetDisplayLineObj(i))) staff = s;
  }
  ASSERT_TRUE(tab != nullptr && staff != nullptr);
  for (int i = 0; i < 4 && view.GetDisplayLineObj(view.GetCurrentLine()) != tab; ++i)
    Keys(pane, Qt::Key_Down, view.Options().arrowKeysWithinStaff == 1 ? Qt::ControlModifier : Qt::NoModifier);
  ASSERT_EQ(view.GetDisplayLineObj(view.GetCurrentLine()), tab);
  const int column = view.GetCaretColumn();
  ui_.AnswerDialog(KDlgChordSelect::kTemplateId, [](KModalDialog& d) {
    // On tablature the frame marks the tablature column.
    EXPECT_TRUE(static_cast<KDlgChordSelect&>(d).FrameShown(3));
    d.Controls().Select(KDlgChordSelect::kIdRoot, ChordRootIndex("G "));
    return IDOK;
  });
  InsertChord();
  // The open G: six frets on the tablature, and its six notes on the staff.
  const KChord* frets = AsChord(tab->GetObjAt(column, 0));
  ASSERT_NE(frets, nullptr);
  EXPECT_EQ(frets->GetNoteCount(), 6);
  const KChord* notes = AsChord(staff->GetObjAt(column, 0));
  ASSERT_NE(notes, nullptr);
  // The staff sounds what the tablature plays.
  std::multiset<int> tabPitches, staffPitches;
  for (int i = 0; i < frets->GetNoteCount(); ++i) {
    const auto note = frets->GetNote(i);
    if (note.code >= KChord::kFirstFret && note.code <= KChord::kLastFret)
      tabPitches.insert(tab->GetPitchAt(note.position % 10, note.code));
  }
  for (int i = 0; i < notes->GetNoteCount(); ++i) {
    const auto note = notes->GetNote(i);
    if (note.code <= 12) staffPitches.insert(staff->GetPitchAtRow(note.position, column));
  }
  EXPECT_EQ(tabPitches.size(), 6u);
  EXPECT_EQ(staffPitches, tabPitches);
}

}  // namespace
