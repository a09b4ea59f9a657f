#pragma once
// A new score in a score view, as File/New makes it, in a window without a
// window system (the view's fake host and main frame): what the targets that
// read outside bytes into a score work on. Its score's bytes, stored as a
// score file stores them, are what the round-trip properties compare.

#include <memory>
#include <vector>

#include "FuzzEnvironment.h"
#include "doc/CStavlinDoc.h"
#include "doc/pref_values/Preferences.h"
#include "platform/CArchive.h"
#include "platform/CFile.h"
#include "view/CStavlinView.h"
#include "view/core/FakeViewHost.h"
#include "view/core/ResetViewGlobals.h"
#include "view/edit/ViewUndoRing.h"

class FuzzScoreView {
 public:
  FuzzScoreView() {
    ResetViewGlobals();
    doc.OnNewDocument();
    Open();
  }
  // The score of a score file's archive in its view; Loaded() says whether
  // the bytes loaded (without a view when they did not).
  explicit FuzzScoreView(const std::vector<std::uint8_t>& archive) {
    ResetViewGlobals();
    if (!Read(doc, archive)) return;
    Open();
  }
  // A score made by fill, in a view that opens with the program-wide values
  // as they stand (the preferences a target has just read): they are not
  // put back first.
  struct KeepPreferences {};
  FuzzScoreView(void (*fill)(CStavlinDoc& doc), KeepPreferences) {
    fill(doc);
    Open();
  }
  bool Loaded() const { return view != nullptr; }

 private:
  void Open() {
    // A view makes its whole undo ring when it opens, and the targets open a
    // view per input: the fewest records the ring keeps (two, one undoable
    // step) make that cheap. The targets read outside bytes; none walks the
    // undo history.
    g_prefAutoSave.undoLevels = KUndoRing::kFewestRecords;
    host.client = RECT{0, 0, 800, 600};
    host.frame = &frame;
    view = std::make_unique<CStavlinView>(&doc, &host);
    frame.active = view.get();
    view->OnInitialUpdate();
  }

 public:
  ~FuzzScoreView() {
    view.reset();
    ResetViewGlobals();
  }
  FuzzScoreView(const FuzzScoreView&) = delete;
  FuzzScoreView& operator=(const FuzzScoreView&) = delete;

  // A score stored, loaded back and stored again: the bytes of the second
  // store, which a third round must give again (a score file opens to what
  // was saved). A score whose stored bytes do not load fails the target.
  static std::vector<std::uint8_t> StoresBack(CStavlinDoc& score, const char* what) {
    const std::vector<std::uint8_t> first = Store(score);
    std::unique_ptr<CStavlinDoc> loaded = Load(first);
    if (!loaded) StavlinFuzzFail(what);
    const std::vector<std::uint8_t> second = Store(*loaded);
    std::unique_ptr<CStavlinDoc> again = Load(second);
    if (!again) StavlinFuzzFail(what);
    if (Store(*again) != second) StavlinFuzzFail(what);
    return second;
  }

  // The score as a score file's archive holds it.
  static std::vector<std::uint8_t> Store(CStavlinDoc& score) {
    CMemFile file;
    {
      CArchive ar(&file, CArchive::store);
      score.Serialize(ar);
      ar.Close();
    }
    return file.Detach();
  }

  // Reads stored bytes into a new document; null when they do not load.
  static std::unique_ptr<CStavlinDoc> Load(const std::vector<std::uint8_t>& bytes) {
    auto score = std::make_unique<CStavlinDoc>();
    if (!Read(*score, bytes)) return nullptr;
    return score;
  }

  // Reads a score file's archive into score as opening the file does: an
  // object may not be referred to twice (lines own their objects). False
  // when the bytes do not load.
  static bool Read(CStavlinDoc& score, const std::vector<std::uint8_t>& bytes) {
    CMemFile file(bytes);
    try {
      CArchive ar(&file, CArchive::load);
      ar.SetObjectReferencesAllowed(false);
      score.Serialize(ar);
      ar.Close();
    } catch (...) {
      return false;
    }
    return true;
  }

  CStavlinDoc doc;
  FakeFrameServices frame;
  FakeViewHost host;
  std::unique_ptr<CStavlinView> view;
};
