#pragma once
// The fixture of the shell tests: the real application and main frame, made
// as the program makes them, with the settings in memory, the user's folders
// in a temporary folder, message boxes answered by a script and the keys
// held at start set by hand. Scores are written with the document API.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CStavlinApp.h"
#include "dialogs/KDlgMidiImpSettings.h"
#include "platform/FakeUiPort.h"
#include "platform/Keys.h"
#include "platform/SettingsStore.h"
#include "platform/qt/KQtPorts.h"
#include "platform_qt/WidgetTestApp.h"
#include "view/commands/CommandIds.h"
#include "support/TempFolder.h"
#include "view/qt/KViewWidget.h"

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the program with these command-line arguments; the start-up
  // action is whatever the settings say (none unless a test stores one).
  bool Start(const QStringList& arguments = {});
  // Stores the start-up action (0 none, 1 new score, 2 last score).
  void StoreStartupAction(int action);

  // A score of `textLines` text lines written to name in the temporary
  // folder; returns its path.
  std::string WriteScore(const std::string& name, int textLines);

  CMainFrame& Frame() { return *app_->MainFrame(); }

  // Runs a command as a click on its menu item does; the item must be there
  // and enabled.
  void Trigger(UINT id) {
    Frame().UpdateCommandUi();
    QAction* action = Frame().ActionFor(id);
    ASSERT_NE(action, nullptr);
    ASSERT_TRUE(action->isEnabled()) << "command " << id;
    action->trigger();
    QApplication::processEvents();
  }

  // Opens the score into a child window of the shown main frame and gives its
  // view the keyboard focus, as a user's click would; the child, and through
  // `pane` its view's widget (both null when the score did not open).
  CChildFrame* OpenFocused(const std::string& path, KViewWidget*& pane) {
    pane = nullptr;
    CChildFrame* child = App().OpenDocumentFile(path.c_str());
    if (child == nullptr) return nullptr;
    pane = child->ActivePane();
    if (pane == nullptr) return child;
    Frame().show();
    Frame().activateWindow();
    pane->setFocus();
    QApplication::processEvents();
    return child;
  }
  // A new score in the shown main frame, its view focused, with `text` pasted
  // into it from the clipboard with Ctrl+V as a user pastes a tab copied
  // from a web page; the view's widget (null when no score window opened).
  KViewWidget* PasteIntoNewScore(const QString& text) {
    Trigger(cmd::kFileNew);
    if (Frame().ScoreWindows().size() != 1) return nullptr;
    KViewWidget* pane = Frame().ScoreWindows().front()->ActivePane();
    if (pane == nullptr) return nullptr;
    Frame().show();
    Frame().activateWindow();
    pane->setFocus();
    QApplication::clipboard()->setText(text);
    QTest::keyClick(pane, Qt::Key_V, Qt::ControlModifier);
    QApplication::processEvents();
    return pane;
  }
  // File | Import | MIDI File of the file at `path`, its import settings
  // taken as the dialog offers them; the imported score's view widget (null
  // unless exactly one score window is open after it).
  KViewWidget* ImportMidiAsOffered(const std::string& path) {
    ui_.AnswerDialog(KDlgMidiImpSettings::kTemplateId, IDOK);
    App().SetOpenPrompt([path](const CString&, const QStringList&) { return CString(path.c_str()); });
    Trigger(cmd::kImportMidi);
    if (Frame().ScoreWindows().size() != 1) return nullptr;
    return Frame().ScoreWindows().front()->ActivePane();
  }
  CStavlinApp& App() { return *app_; }
  const std::filesystem::path& Dir() const { return folder_->Path(); }

  FakeUiPort ui_;
  FakeKeyState keys_;
  std::unique_ptr<CStavlinApp> app_;

 private:
  std::unique_ptr<stavlin_test::TempFolder> folder_;
  std::unique_ptr<KQtPorts> ports_;
  std::unique_ptr<ScopedUiPort> uiScope_;
  std::unique_ptr<KSettingsStoreScope> storeScope_;
  KeyStatePort* previousKeys_ = nullptr;
};

class KStaffLine;

// The MIDI keys the notes of a staff sound, column by column (signature
// columns left out).
std::vector<int> StaffNoteKeys(const KStaffLine& staff);
