#include "ShellTestSupport.h"

#include <cstdlib>

#include "doc/CStavlinDoc.h"
#include "doc/DocLineHooks.h"
#include "lines/KStaffLine.h"
#include "lines/LineClasses.h"
#include "model/KChord.h"
#include "platform/CompoundFile.h"
#include "platform/Registry.h"
#include "platform/qt/GsfCompoundFile.h"
#include "view/core/ResetViewGlobals.h"

void ShellTest::SetUp() {
  WidgetTestApp();
  folder_ = std::make_unique<stavlin_test::TempFolder>("shell");
  // The user's folders (documents, data, settings) live in the test's folder.
  const std::string home = folder_->Path().string();
  ::setenv("HOME", home.c_str(), 1);
  ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
  ::setenv("XDG_DOCUMENTS_DIR", (home + "/Documents").c_str(), 1);
  std::filesystem::create_directories(folder_->Path() / "Documents");
  ports_ = std::make_unique<KQtPorts>();
  uiScope_ = std::make_unique<ScopedUiPort>(ui_);
  previousKeys_ = SetKeyStatePort(&keys_);
  storeScope_ = std::make_unique<KSettingsStoreScope>(std::make_unique<KMemorySettingsStore>());
  // Every program-wide value starts as at the program's start, whatever the
  // test before left.
  ResetViewGlobals();
  StoreStartupAction(0);
  // Scores written before start-up need the line classes.
  RegisterLineClasses();
  SetCurrentCompoundFile(std::make_unique<KGsfCompoundFile>());
  SetDocLineHooks(StavlinLineHooks());
  app_ = std::make_unique<CStavlinApp>();
  app_->SetSaveAsPrompt([](const CString&) { return CString(); });
  app_->SetOpenPrompt([](const CString&, const QStringList&) { return CString(); });
}

void ShellTest::TearDown() {
  if (app_ && app_->MainFrame() != nullptr) {
    // Nothing is asked on the way out: every score is let go.
    for (CChildFrame* child : Frame().ScoreWindows()) child->CloseWithoutAsking();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  app_.reset();
  QApplication::processEvents();
  storeScope_.reset();
  SetKeyStatePort(previousKeys_);
  uiScope_.reset();
  ports_.reset();
  ResetViewGlobals();
  folder_.reset();
}

bool ShellTest::Start(const QStringList& arguments) {
  const bool started = app_->InitInstance(arguments);
  QApplication::processEvents();
  return started;
}

void ShellTest::StoreStartupAction(int action) {
  CString text;
  text.Format("900,650,10,10,%d,9,9,9", action);
  RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\NewDocXYSizeXYPos", REG_SZ, text, 0);
}

std::string ShellTest::WriteScore(const std::string& name, int textLines) {
  const std::string path = (folder_->Path() / name).string();
  CStavlinDoc doc;
  EXPECT_TRUE(doc.OnNewDocument());
  // Text lines with words, made as the document makes them.
  const KDocLineHooks& hooks = DocLineHooks();
  for (int i = 0; i < textLines; ++i) {
    KLineObj* line = i == 0 ? doc.GetLineAt(doc.GetFirstLinePosition()) : hooks.newTextLine();
    CString words;
    words.Format("Line %d of the score", i + 1);
    hooks.setLineText(*line, words);
    if (i > 0) doc.AddTailLine(line);
  }
  EXPECT_TRUE(doc.OnSaveDocument(path.c_str()));
  return path;
}

std::vector<int> StaffNoteKeys(const KStaffLine& staff) {
  std::vector<int> keys;
  const CObList& list = *staff.GetObjList();
  for (POSITION at = list.GetHeadPosition(); at != nullptr;) {
    const auto* column = dynamic_cast<const KChord*>(list.GetNext(at));
    if (column == nullptr || column->IsSignatureColumn()) continue;
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const NotePair note = column->GetNote(i);
      if (note.code <= 13) keys.push_back(staff.GetPitchAtRow(note.position, column->GetPos()) + 20);
    }
  }
  return keys;
}
