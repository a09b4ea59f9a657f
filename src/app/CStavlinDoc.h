#pragma once
// CStavlinDoc: one open score. It owns the score's lines and line groups (the
// objects of its two lists), the score's settings record, the table of
// text-line fonts with their use counts, the colour flag and the modified
// flags, and it reads and writes the score file.
//
// The class also plays the part of the framework's document: the path, the
// modified flag and the views attached to it.
//
// Its jobs are split over several files:
//   CStavlinDoc.cpp           construction, settings, fonts, modified flags, new score
//   CStavlinDocSerialize.cpp  the document part of the score file, with the
//                             conversions of every older file version
//   CStavlinDocFile.cpp       opening and saving a score file on a path
//
// Loading is all or nothing: a score is read into a fresh state and takes the
// document's place only when the whole file was read, so a damaged file leaves
// the open score exactly as it was.
//
// The document does not know the line classes by name; what it needs of them
// comes through DocLineHooks (app/DocLineHooks.h).

#include <memory>
#include <span>
#include <vector>

#include "app/ScoreSettings.h"
#include "model/LineServices.h"
#include "platform/CObList.h"
#include "platform/CObject.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"
#include "platform/WinTypes.h"

class CArchive;

// A view of a score, as its document sees it.
class KDocumentView {
 public:
  virtual ~KDocumentView() = default;
  // The document changed; hint tells what (see the view).
  virtual void OnUpdate(KDocumentView* sender, int hint) = 0;
  // The score's content changed since it was last saved.
  virtual void SetChangedFlag() = 0;
};

class CStavlinDoc : public CObject, public KScoreSettingsSink {
  DECLARE_DYNCREATE(CStavlinDoc);

 public:
  // The text-line font table. A text line names a font by its number 1 to 40;
  // font number n is entry n - 1 of the tables below. In the arrays passed in
  // and out, element 0 is a header and element n is font number n.
  static constexpr int kFontCount = 40;
  static constexpr int kFontArraySize = kFontCount + 1;
  // The header CountFontUse puts in element 0 of its counts.
  static constexpr int kFontCountHeader = 16000;

  CStavlinDoc();
  ~CStavlinDoc() override;
  CStavlinDoc(const CStavlinDoc&) = delete;
  CStavlinDoc& operator=(const CStavlinDoc&) = delete;

  // ---- The document's framework part ------------------------------------------

  // The score file's path; empty for a score never saved.
  const CString& GetPathName() const { return m_strPathName; }
  void SetPathName(const CString& path) { m_strPathName = path; }
  BOOL IsModified() const { return m_bModified; }
  // TRUE: the content changed (the score-changed flag, contentModified,
  // editedSinceSave, every view's changed flag and the modified flag are set).
  // FALSE: all of them but the views' flags are cleared.
  void SetModifiedFlag(BOOL modified = TRUE);

  // Views are not owned.
  void AddView(KDocumentView* view);
  void RemoveView(KDocumentView* view);
  const std::vector<KDocumentView*>& Views() const { return m_views; }
  // Tells every view but the sender.
  void UpdateAllViews(KDocumentView* sender, int hint);

  // ---- Settings ------------------------------------------------------------------

  void GetSettings(ScoreSettings& out) const { out = settings; }
  // Takes the record. With mark nonzero the settings and the document count as
  // modified and the result is TRUE; else FALSE.
  BOOL SetSettings(const ScoreSettings& record, BOOL mark);
  // A labelled line added an instrument entry: its texts and count replace the
  // record's instrument texts, as SetSettings would.
  void TakeInstrumentLabels(const InstrumentLabels& labels, int markChanged) override;

  // ---- Text-line fonts (arrays indexed by font number, see above) ---------------

  // Copies the fonts and their use counts out; returns the number of fonts in
  // use, recounted from the counts.
  int GetFontTable(std::span<LOGFONT, kFontArraySize> fonts, std::span<int, kFontArraySize> counts);
  void SetFontTable(int used, std::span<const LOGFONT, kFontArraySize> fonts);
  void SetFontUseCounts(std::span<const int, kFontArraySize> counts);
  // Counts the text lines using each font, into counts (element 0 gets
  // kFontCountHeader) and into fontUseCounts; `used` gets the number of fonts
  // in use.
  void CountFontUse(std::span<int, kFontArraySize> counts, int* used);

  int UsesColor() const { return colourFlag; }
  void SetUsesColor(int uses) { colourFlag = uses; }
  int GetRegroupedTextLineCount() const { return regroupedTextLines; }

  // ---- Life ------------------------------------------------------------------------

  // Makes an empty score: no line groups and one text line with the default font.
  BOOL OnNewDocument();
  // Deletes every line and every line group.
  void DeleteContents();

  // Stores the document part of a score file, the lines and the line groups;
  // or loads them, replacing the score only when everything was read (else
  // the exception goes on and nothing changed).
  void Serialize(CArchive& ar) override;

  // Opens the score file at path, in place of the current score. A file that
  // cannot be opened is reported with a message and leaves the current score
  // as it was. Returns TRUE when the score was opened.
  BOOL OnOpenDocument(LPCTSTR path);
  // Saves the score to path. The old file is replaced only by a complete new
  // one; a failure is reported with a message. Returns TRUE when saved.
  BOOL OnSaveDocument(LPCTSTR path);

  // ---- Fields ------------------------------------------------------------------------

  CString fileName;        // file-name part of the path
  CString fileFolder;      // folder part of the path
  CString writerVersion;   // version text of the program that last wrote the score
  long long fileSize = 0;  // bytes, when it was opened
  int backupMade = 0;      // a backup copy was made in this run
  int editedSinceSave = 0;
  CString backupPath;  // temporary backup copy, empty when none
  int contentModified = 0;
  int settingsModified = 0;
  int colourFlag = 0;  // some colour is used in the score
  ScoreSettings settings;
  LOGFONT textFonts[kFontCount];
  int fontUseCounts[kFontCount] = {};
  int fontsInUse = 0;
  int regroupedTextLines = 0;
  CObList lineGroups{10};
  CObList lines{10};

 private:
  struct LoadedScore;

  void StoreScore(CArchive& ar);
  void LoadScore(CArchive& ar, LoadedScore& loaded);
  void TakeLoadedScore(LoadedScore& loaded);
  // Recounts fontUseCounts and fontsInUse from the text lines.
  void RecountFontUse();
  // Sets fileName and fileFolder (and their program-wide copies) from a path.
  void SplitPath(const CString& path);
  // Whether a score read last carried embedded objects.
  bool m_lastLoadHadItems = false;

  CString m_strPathName;
  BOOL m_bModified = FALSE;
  std::vector<KDocumentView*> m_views;
};
