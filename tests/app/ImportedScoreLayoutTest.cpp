// An imported score looks engraved, in the real window: after File | Import |
// MIDI File and after File | Import | ABC File, every system but the last ends
// with a bar line at the end of its staff length, all at one x, and the last
// system ends with the final bar; and the first print of the import on a fresh
// install fits the printer's page at 100 %, without the question about a line
// "slightly wider than the printed page"; so does a song typed into a new
// score and wrapped to its staff length.

#include <QApplication>
#include <QImage>
#include <QPageSize>
#include <QPrinter>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "dialogs/KDlgLineGroup.h"
#include "dialogs/KDlgMidiImpSettings.h"
#include "dialogs/KDlgPrintSizeAlert.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStaffLine.h"
#include "midi_import/SmfBytes.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "support/MidiCsvTable.h"
#include "platform/PrintJob.h"
#include "platform/qt/KQtPrinting.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"

namespace {

constexpr int kFinalBar = 23;

enum class Source { kMidi, kAbc, kNewSong };

// A reel of 32 bars in D major, as ABC; the MIDI file below plays the same
// rhythms.
constexpr const char* kReel =
    "X:1\n"
    "T:The Long Reel\n"
    "M:4/4\n"
    "L:1/8\n"
    "K:D\n"
    "A2FA DAFA|B2GB dBGB|A2FA DAFA|BAGF E2FE|\n"
    "A2FA DAFA|B2GB dBGB|A3B AFdF|EFGE D4|\n"
    "d2fd adfd|e2ge bege|d2fd adfd|efed B2AB|\n"
    "d2fd adfd|e2ge bege|f3g fedB|AFEF D4|\n"
    "FAdA FAdA|GBdB GBdB|FAdA FAdA|E2FG A4|\n"
    "FAdA FAdA|GBdB GBdB|A3B AFdF|EFGE D4|\n"
    "D2FA d2fa|g2fe d2cB|A2FA d2fa|gfed c2BA|\n"
    "D2FA d2fa|g2fe d2cB|AFdF EFGE|D8|]\n";

// 32 bars of 4/4 in D major at 480 ticks a quarter: quarters and eighths
// walking the scale, a bar of a half and two quarters every fourth bar and a
// whole note to end.
std::vector<std::uint8_t> ReelFile() {
  using namespace smftest;
  const int scale[] = {62, 64, 66, 67, 69, 71, 73, 74, 76, 78, 79, 81};
  const std::vector<std::vector<int>> rhythms = {{480, 240, 240, 480, 240, 240},
                                                 {240, 240, 240, 240, 240, 240, 240, 240},
                                                 {480, 480, 240, 240, 480},
                                                 {960, 480, 480}};
  Track reel = {Name(0, "Reel"), Tempo(0, 120), Time(0, 4, 2), Key(0, 2)};
  int step = 0;
  for (int bar = 0; bar < 32; ++bar) {
    const std::vector<int> rhythm = bar == 31 ? std::vector<int>{1920} : rhythms[bar % 4];
    for (const int length : rhythm) {
      const int key = scale[(step++ * 5) % 12];
      reel.push_back(On(0, 0, key));
      reel.push_back(Off(static_cast<std::uint32_t>(length), 0, key));
    }
  }
  return Smf(0, 480, {reel});
}

// Sixteen bars of 4/4 in G in which every bar line is tied over: three
// quarters, then a half from the fourth beat into the next bar, two more
// quarters, and so on, ending on a quarter. As ABC its lines break after
// every fourth bar, on a tie.
constexpr const char* kTiedTune =
    "X:1\n"
    "T:Tied Over\n"
    "M:4/4\n"
    "L:1/8\n"
    "K:G\n"
    "G2 A2 B2 c2-|c2 B2 A2 G2-|G2 A2 B2 d2-|d2 c2 B2 A2-|\n"
    "A2 B2 c2 d2-|d2 e2 f2 g2-|g2 f2 e2 d2-|d2 c2 B2 A2-|\n"
    "A2 G2 F2 E2-|E2 F2 G2 A2-|A2 B2 c2 d2-|d2 c2 B2 A2-|\n"
    "A2 B2 c2 B2-|B2 A2 G2 F2-|F2 E2 D2 E2-|E2 F2 A2 G2|]\n";

constexpr int kTiedKeys[] = {67, 69, 71, 72, 71, 69, 67, 69, 71, 74, 72, 71, 69, 71, 72, 74, 76,
                             78, 79, 78, 76, 74, 72, 71, 69, 67, 66, 64, 66, 67, 69, 71, 72, 74,
                             72, 71, 69, 71, 72, 71, 69, 67, 66, 64, 62, 64, 66, 69, 67};
constexpr int kTiedNotes = static_cast<int>(std::size(kTiedKeys));

// The ticks of note n of the tune: the first three quarters, then a half over
// each bar line and two quarters, and a last quarter.
int TiedLength(int n) { return n < 3 || n == kTiedNotes - 1 ? 480 : (n - 3) % 3 == 0 ? 960 : 480; }

std::vector<std::uint8_t> TiedFile() {
  using namespace smftest;
  Track tune = {Name(0, "Tied"), Tempo(0, 120), Time(0, 4, 2), Key(0, 1)};
  for (int n = 0; n < kTiedNotes; ++n) {
    tune.push_back(On(0, 0, kTiedKeys[n]));
    tune.push_back(Off(static_cast<std::uint32_t>(TiedLength(n)), 0, kTiedKeys[n]));
  }
  return Smf(0, 480, {tune});
}

// One staff of the picture: its five lines' rows and where its lines end.
struct DrawnStaff {
  int top = 0;
  int bottom = 0;
  int end = 0;  // the x of the last inked pixel of its top line
};

bool Dark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }

// The staves of a picture of the score: rows whose ink runs on unbroken for
// 200 pixels from the left edge of the music, taken five at a time.
std::vector<DrawnStaff> Staves(const QImage& image, int left) {
  std::vector<DrawnStaff> staves;
  std::vector<std::pair<int, int>> rows;  // y, last x of the run
  for (int y = 0; y < image.height(); ++y) {
    int x = left;
    while (x < left + 12 && x < image.width() && !Dark(image, x, y)) ++x;
    const int start = x;
    while (x < image.width() && Dark(image, x, y)) ++x;
    if (x - start >= 200) rows.emplace_back(y, x - 1);
  }
  for (size_t i = 0; i < rows.size();) {
    // The rows of one staff lie a few pixels apart; a thick line may take two.
    size_t j = i + 1;
    while (j < rows.size() && rows[j].first - rows[j - 1].first <= 8) ++j;
    staves.push_back({rows[i].first, rows[j - 1].first, rows[i].second});
    i = j;
  }
  return staves;
}

// The staves of the score's display lines, in order.
std::vector<KStaffLine*> ScoreStaves(CStavlinView& view) {
  std::vector<KStaffLine*> staves;
  for (int d = 0; d < view.GetDisplayLineCount(); ++d) {
    if (auto* staff = dynamic_cast<KStaffLine*>(view.GetDisplayLineObj(d))) staves.push_back(staff);
  }
  return staves;
}

const KChord* LastColumn(const KStaffLine& staff) {
  const CObList& objects = *staff.GetObjList();
  return objects.IsEmpty() ? nullptr : dynamic_cast<const KChord*>(objects.GetTail());
}

bool HasCode(const KChord& column, int code) {
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    if (column.GetNote(i).code == code) return true;
  }
  return false;
}

class ImportedScoreLayout : public ShellTest {
 protected:
  // File | New, Insert | Line Group as offered (a staff and its tablature),
  // 32 bars of quarters typed on the staff, then Select Everything and Wrap
  // Music: the new score's view.
  CStavlinView* TypeNewSong() {
    Trigger(cmd::kFileNew);
    if (Frame().ScoreWindows().size() != 1) return nullptr;
    KViewWidget* pane = Frame().ScoreWindows().front()->ActivePane();
    if (pane == nullptr) return nullptr;
    CStavlinView& view = pane->View();
    ui_.AnswerDialog(KDlgLineGroup::kTemplateId, IDOK);
    Trigger(cmd::kInsertLineGroup);
    int staff = -1;
    for (int d = 0; d < view.GetDisplayLineCount(); ++d)
      if (staff < 0 && dynamic_cast<KStaffLine*>(view.GetDisplayLineObj(d)) != nullptr) staff = d;
    if (staff < 0) return nullptr;
    for (int tries = 0; view.GetCurrentLine() != staff && tries < 10; ++tries) {
      QTest::sendKeyEvent(QTest::Click, pane, view.GetCurrentLine() > staff ? Qt::Key_Up : Qt::Key_Down,
                          QString(), Qt::ControlModifier);
      QApplication::processEvents();
    }
    for (int bar = 0; bar < 32; ++bar) QTest::keyClicks(pane, QStringLiteral("eqGqeqGq"));
    QApplication::processEvents();
    Trigger(cmd::kEditSelectEverything);
    Trigger(cmd::kActionsWrapMusic);
    return &view;
  }

  // Imports the reel by the menu command of its source, the settings of a
  // MIDI import taken as offered; the new score's view.
  CStavlinView* Import(Source source) { return Import(source, ReelFile(), kReel); }
  CStavlinView* Import(Source source, const std::vector<std::uint8_t>& midi, const char* abc) {
    std::string path;
    if (source == Source::kMidi) {
      path = (Dir() / "long reel.mid").string();
      const std::vector<std::uint8_t>& bytes = midi;
      std::ofstream(path, std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      ui_.AnswerDialog(KDlgMidiImpSettings::kTemplateId, IDOK);
    } else {
      path = (Dir() / "long reel.abc").string();
      std::ofstream(path, std::ios::binary) << abc;
    }
    App().SetOpenPrompt([path](const CString&, const QStringList&) { return CString(path.c_str()); });
    Trigger(source == Source::kMidi ? cmd::kImportMidi : cmd::kImportAbc);
    if (Frame().ScoreWindows().size() != 1) return nullptr;
    KViewWidget* pane = Frame().ScoreWindows().front()->ActivePane();
    return pane != nullptr ? &pane->View() : nullptr;
  }

  // The whole score as File | Export Image draws it.
  QImage Picture() {
    const std::string png = (Dir() / "score.png").string();
    ui_.AnswerSaveFile([png](KSaveFileRequest& request) {
      request.fileName = CString(png.c_str());
      request.filterIndex = 1;
      return true;
    });
    Trigger(cmd::kExportImage);
    return QImage(QString::fromStdString(png));
  }
};

void PrintTo(Source source, std::ostream* out) {
  *out << (source == Source::kMidi ? "MIDI file" : source == Source::kAbc ? "ABC file" : "new song");
}

class ImportedSystems : public ImportedScoreLayout, public ::testing::WithParamInterface<Source> {};

TEST_P(ImportedSystems, EveryFullSystemEndsWithABarAtTheStaffLengthAndTheLastWithTheFinalBar) {
  ASSERT_TRUE(Start());
  CStavlinView* view = Import(GetParam());
  ASSERT_NE(view, nullptr);
  const std::vector<KStaffLine*> staves = ScoreStaves(*view);
  ASSERT_GE(staves.size(), 4u) << "a reel of 32 bars fills several systems";

  // In the score: a bar closes every system, the final bar the last.
  for (size_t i = 0; i < staves.size(); ++i) {
    SCOPED_TRACE("system " + std::to_string(i + 1));
    const KChord* last = LastColumn(*staves[i]);
    ASSERT_NE(last, nullptr);
    EXPECT_TRUE(last->IsBarColumn());
    if (i + 1 == staves.size()) {
      EXPECT_TRUE(HasCode(*last, kFinalBar));
    }
  }

  // In the picture: the staves of the full systems end together, at the end
  // of their staff length (within its last column), each with a bar line.
  const QImage picture = Picture();
  ASSERT_FALSE(picture.isNull()) << "File | Export Image wrote no picture";
  const std::vector<DrawnStaff> drawn = Staves(picture, view->GetContentLeft());
  ASSERT_EQ(drawn.size(), staves.size());
  const int staffEnd =
      view->GetContentLeft() + staves.front()->GetIndent() + staves.front()->GetStaffLength();
  for (size_t i = 0; i < drawn.size(); ++i) {
    SCOPED_TRACE("system " + std::to_string(i + 1));
    const DrawnStaff& staff = drawn[i];
    if (i + 1 < drawn.size()) {
      EXPECT_EQ(staff.end, drawn.front().end);
      EXPECT_LE(staff.end, staffEnd);
      EXPECT_GT(staff.end, staffEnd - 18);
    } else {
      EXPECT_LT(staff.end, drawn.front().end) << "the last system keeps its natural spacing";
    }
    // The bar line: a stroke down the whole staff where its lines end.
    for (int y = staff.top; y <= staff.bottom; ++y) EXPECT_TRUE(Dark(picture, staff.end, y)) << "y " << y;
  }
}

// A note tied over the bar that ends a system: its tie runs to that closing
// bar and no further (engraved as the end of the system), every tie within a
// system reaches the note it ties to however the notes were spread, and the
// score sounds every tied note whole.
TEST_P(ImportedSystems, TiesOverASystemsEndStopAtItsClosingBarAndSoundWhole) {
  ASSERT_TRUE(Start());
  CStavlinView* view = Import(GetParam(), TiedFile(), kTiedTune);
  ASSERT_NE(view, nullptr);
  const std::vector<KStaffLine*> staves = ScoreStaves(*view);
  ASSERT_GE(staves.size(), 2u);
  for (size_t i = 0; i < staves.size(); ++i) {
    SCOPED_TRACE("system " + std::to_string(i + 1));
    KStaffLine& staff = *staves[i];
    std::vector<int> notes;
    int closing = -1;
    for (POSITION node = staff.GetObjList()->GetHeadPosition(); node != nullptr;) {
      const auto* column = dynamic_cast<const KChord*>(staff.GetObjList()->GetNext(node));
      if (column == nullptr) continue;
      if (column->IsBarColumn()) {
        closing = column->GetPos();
      } else if (column->GetTicks(3, false) > 0) {
        notes.push_back(column->GetPos());
      }
    }
    ASSERT_FALSE(notes.empty());
    int onwards = 0;
    for (POSITION node = staff.GetAttachments()->GetHeadPosition(); node != nullptr;) {
      const auto* arc = static_cast<const KExtendedObj*>(staff.GetAttachments()->GetNext(node));
      if (arc->GetKind() != KExtendedObj::kTie && arc->GetKind() != KExtendedObj::kSlur) continue;
      // An arc drawn in from the left carries the tie from the system before.
      if (arc->GetOffset().x < 0) continue;
      const int right = arc->GetPos() * 18 + arc->GetOffset().x + arc->GetSize().cx;
      if (arc->GetPos() == notes.back()) {
        if (i + 1 == staves.size()) continue;
        // The system's last note, tied into the next system.
        ++onwards;
        EXPECT_EQ(right, closing * 18) << "the tie ends at the closing bar";
      } else {
        const auto next = std::upper_bound(notes.begin(), notes.end(), arc->GetPos());
        ASSERT_NE(next, notes.end());
        EXPECT_EQ(right / 18, *next) << "the tie from column " << arc->GetPos() << " reaches the next note";
      }
    }
    if (i + 1 < staves.size()) {
      EXPECT_EQ(onwards, 1) << "the last note is tied over the system's end";
    }
  }

  const std::string exported = (Dir() / "tied.mid").string();
  ui_.AnswerSaveFile([exported](KSaveFileRequest& request) {
    request.fileName = CString(exported.c_str());
    return true;
  });
  Trigger(cmd::kExportMidi);
  const std::vector<midicsv::PlayedNote> played = midicsv::PlayedNotes(midicsv::Run(exported));
  ASSERT_EQ(played.size(), 49u) << midicsv::Show(played);
  long onset = 0;
  for (int n = 0; n < kTiedNotes; ++n) {
    const auto& note = played[static_cast<size_t>(n)];
    EXPECT_EQ(note.onset, onset) << "note " << n;
    EXPECT_EQ(note.length, TiedLength(n)) << "note " << n;
    onset += TiedLength(n);
  }
}

INSTANTIATE_TEST_SUITE_P(Imports, ImportedSystems, ::testing::Values(Source::kMidi, Source::kAbc),
                         [](const ::testing::TestParamInfo<Source>& info) {
                           return std::string(info.param == Source::kMidi ? "MidiFile" : "AbcFile");
                         });

// The first print of a new score (an import, or a song typed into File |
// New) on a fresh install (the settings store is new, nothing has been
// printed): the printer's page is A4, Letter or a narrow A5, none of them the
// page the program stores before its first print.
struct FirstPrint {
  const char* name;
  Source source;
  QPageSize::PageSizeId page;
};

void PrintTo(const FirstPrint& c, std::ostream* out) { *out << c.name; }

class FirstPrintOfANewScore : public ImportedScoreLayout, public ::testing::WithParamInterface<FirstPrint> {
 protected:
  void SetUp() override {
    ImportedScoreLayout::SetUp();
    QPrinter& printer = qt_printing::SharedPrinter();
    savedPage_ = printer.pageLayout().pageSize();
    savedFormat_ = printer.outputFormat();
    savedFile_ = printer.outputFileName();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(GetParam().page));
    qt_printing::PreparePrinter(printer);
  }
  void TearDown() override {
    QPrinter& printer = qt_printing::SharedPrinter();
    printer.setOutputFormat(savedFormat_);
    printer.setOutputFileName(savedFile_);
    printer.setPageSize(savedPage_);
    qt_printing::PreparePrinter(printer);
    ImportedScoreLayout::TearDown();
  }

  QPageSize savedPage_;
  QPrinter::OutputFormat savedFormat_ = QPrinter::PdfFormat;
  QString savedFile_;
};

TEST_P(FirstPrintOfANewScore, FitsThePrintersPageAtFullSizeWithoutTheSizeAlert) {
  ASSERT_TRUE(Start());
  CStavlinView* view = GetParam().source == Source::kNewSong ? TypeNewSong() : Import(GetParam().source);
  ASSERT_NE(view, nullptr);
  if (GetParam().source == Source::kNewSong) {
    const std::vector<KStaffLine*> staves = ScoreStaves(*view);
    ASSERT_GE(staves.size(), 3u) << "32 bars wrap onto several systems";
    ASSERT_GT(staves.front()->GetLength(), 8) << "the notes were typed";
  }
  ASSERT_NE(view->m_options.alertLargerThanPage, 0);
  // File | Print, on the printer the print dialog offers, into a PDF.
  const std::string pdf = (Dir() / "reel.pdf").string();
  int pages = 0;
  ui_.AnswerPrint([&pages, pdf](KPrintJob& job, KPrintKind) {
    QPrinter& printer = qt_printing::SharedPrinter();
    printer.setOutputFileName(QString::fromStdString(pdf));
    pages = qt_printing::PrintPages(job, printer, false);
    return pages > 0;
  });
  ui_.AnswerDialog(KDlgPrintSizeAlert::kTemplateId, static_cast<int>(KDlgPrintSizeAlert::kIdContinue));
  ui_.ClearRecords();
  Trigger(cmd::kFilePrint);
  EXPECT_GT(pages, 0);
  for (const FakeUiPort::DialogRun& run : ui_.Dialogs())
    EXPECT_NE(run.templateId, KDlgPrintSizeAlert::kTemplateId) << "the size alert came up";
  EXPECT_EQ(view->m_printScale, 100);
  EXPECT_TRUE(std::filesystem::exists(pdf));
}

INSTANTIATE_TEST_SUITE_P(Pages, FirstPrintOfANewScore,
                         ::testing::Values(FirstPrint{"MidiFileOnA4", Source::kMidi, QPageSize::A4},
                                           FirstPrint{"MidiFileOnLetter", Source::kMidi, QPageSize::Letter},
                                           FirstPrint{"MidiFileOnA5", Source::kMidi, QPageSize::A5},
                                           FirstPrint{"AbcFileOnA4", Source::kAbc, QPageSize::A4},
                                           FirstPrint{"AbcFileOnA5", Source::kAbc, QPageSize::A5},
                                           FirstPrint{"NewSongOnA4", Source::kNewSong, QPageSize::A4},
                                           FirstPrint{"NewSongOnLetter", Source::kNewSong, QPageSize::Letter},
                                           FirstPrint{"NewSongOnA5", Source::kNewSong, QPageSize::A5}),
                         [](const ::testing::TestParamInfo<FirstPrint>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
