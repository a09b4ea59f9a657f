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
//   CStavlinDocSave.cpp       save, save as, the backup copy, closing
//   CStavlinDocLines.cpp      the line list: access, removal with its
//                             bookkeeping, joining, replacing, time signatures
//   CStavlinDocGroups.cpp     the line-group list: finding, ids, matching,
//                             deleting, start time signatures, layout
//   CStavlinDocRepair.cpp     the check and repair of line groups after a
//                             score was read or made
//
// Loading is all or nothing: a score is read into a fresh state and takes the
// document's place only when the whole file was read, so a damaged file leaves
// the open score exactly as it was.
//
// The document does not know the line classes by name; what it needs of them
// comes through DocLineHooks (doc/DocLineHooks.h).

#include <functional>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

#include "doc/ScoreSettings.h"
#include "model/KLineGroup.h"
#include "model/LineServices.h"
#include "platform/CObList.h"
#include "platform/CObject.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"
#include "platform/WinTypes.h"

class CArchive;
class KLineObj;
class KListLine;

// A view of a score, as its document sees it.
class KDocumentView {
 public:
  virtual ~KDocumentView() = default;
  // The document changed; hint tells what (see the view).
  virtual void OnUpdate(KDocumentView* sender, int hint) = 0;
  // The score's content changed since it was last saved.
  virtual void SetChangedFlag() = 0;
};

class CStavlinDoc : public CObject, public KScoreSettingsSink, public KLineSource {
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
  // The one name the score goes by in its window's title, print headers, the
  // PDF's title, prompts and the names offered for exports: its file's name
  // once saved; before that the name it was given (a score imported from a
  // tune or a text file takes the tune's title), else "Untitled".
  CString ScoreName() const;
  void SetUntitledName(const CString& name) { m_untitledName = name; }
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
  // What follows reading or making a score: the check of the line groups.
  // Returns CheckLineGroups' result.
  int AfterOpen();
  // Checks the line groups against the lines that name them, repairs what it
  // can (damaged, incomplete or confused groups are dissolved, loose lines
  // taken in), binds lines and groups, and offers to ungroup the whole score
  // when the grouping cannot be trusted. Every line stays in the score.
  // Returns 1.
  int CheckLineGroups();

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
  // When the score asks for backups, the file it replaces is first copied
  // once per run to the backup file (the same name with ".bak").
  BOOL OnSaveDocument(LPCTSTR path);
  // Save: to the score's path, or through DoSave's question when it has none.
  BOOL DoFileSave();
  // Save As: to path, or (null or empty) to the path the save-as prompt
  // gives (a name without extension gets ".svd"); FALSE when cancelled or
  // when the save failed.
  BOOL DoSave(LPCTSTR path);
  // Before the score closes: a changed content asks whether to save it
  // (Yes saves, Cancel keeps the score open); changed settings alone ask
  // message 7007. TRUE: the score may close.
  BOOL SaveModified();
  // Closing: a backup copy that is not to be kept is deleted, the path is
  // remembered as the last open file, and the score is emptied.
  void OnCloseDocument();

  // ---- Line list (CStavlinDocLines.cpp) -----------------------------------------------
  // Positions are positions of `lines`; a null position reads as no line.

  POSITION GetFirstLinePosition() const { return lines.GetHeadPosition(); }
  POSITION GetLastLinePosition() const { return lines.GetTailPosition(); }
  // The line at the position; the position moves to the next (previous) line.
  KLineObj* GetNextLine(POSITION& pos) const;
  KLineObj* GetPrevLine(POSITION& pos) const;
  KLineObj* GetLineAt(POSITION pos) const override;
  // The document owns the lines added.
  POSITION AddHeadLine(KLineObj* line);
  POSITION AddTailLine(KLineObj* line);
  POSITION InsertLineBefore(POSITION pos, KLineObj* line);
  POSITION InsertLineAfter(POSITION pos, KLineObj* line);
  int GetLineCount() const { return lines.GetCount(); }
  BOOL HasNoLines() const { return lines.IsEmpty(); }
  // The length in columns of the line at the position; 0 for none.
  int GetLineLengthAt(POSITION pos) const;
  // Takes the line out of the list and deletes it when asked. With a table
  // (the view's instrument table), a paired staff's partner is unpaired, and
  // when no line left in the score carries the removed line's label any more,
  // the label's entry leaves the table and the settings' instrument texts are
  // rebuilt from it. Without one (null), partner and table stay untouched.
  // A group that still names the position lets the line go first.
  void RemoveLine(POSITION pos, MidiInstrumentTable* labels, BOOL deleteLine);
  // Drops the label entries (7 and up) that no line carries; TRUE when any
  // was dropped (the settings' instrument texts are then rebuilt).
  BOOL RemoveOrphanLabels(MidiInstrumentTable& labels);
  // Appends the second line to the first: a text line's text, or the second
  // line's objects and attachments, moved past the first line's end (rhythm
  // items past its pixel end). The second line is left without objects and
  // attachments, to be removed and deleted by the caller.
  static void JoinLines(KLineObj& first, KLineObj& second);
  // Puts a new line (owned by the document from here on) in place of the old
  // one at oldPos, which is deleted: the new line takes the old one's staff
  // length, label, group and slot, and on note lines the key signature and
  // (copyAttachments) copies of the attachments. Returns the new position;
  // null when oldLine is not the line at oldPos (the new line then stays
  // with the caller).
  POSITION ReplaceLine(KLineObj* oldLine, POSITION oldPos, KLineObj* newLine, int keySignature,
                       BOOL copyAttachments);
  // Puts newLine (owned by the document from here on) at the position in
  // place of the line there, which goes back to the caller, as it is: its
  // group's slot still names it until the group binds its lines again. Null,
  // with nothing changed, when the position holds no line.
  KLineObj* SwapLineAt(POSITION pos, KLineObj* newLine);
  // Carries the time signature from note line to note line: each starts with
  // the one in force at the end of the note line before it (4/4 first).
  void PropagateTimeSignatures();

  // ---- Line-group list (CStavlinDocGroups.cpp) ----------------------------------------

  int GetLineGroupCount() const { return lineGroups.GetCount(); }
  // The document owns the group added.
  void AddLineGroup(KLineGroup* group);
  // The first group with the id; null when none.
  KLineGroup* FindLineGroup(int id) const;
  // An id no group carries: the largest id + 1, never below 0.
  int GetNewLineGroupId() const;
  // Both groups exist and have the same line kinds slot by slot.
  BOOL LineGroupsMatch(int id1, int id2) const;
  // Deletes the group; its lines are deleted too, or (deleteLines FALSE) stay
  // in the score without a group.
  void DeleteLineGroup(int id, BOOL deleteLines);
  // Gives the note lines of the group their starting time signature: from the
  // same slot of the next group of the same shape, or from the note line
  // before the group (4/4 when none is known). FALSE when there is no group.
  BOOL SetGroupStartTimeSignature(int id);
  // Lays every group out over the view's display lines.
  void LayoutLineGroups(std::span<const DisplayLine> displayLines, int sizeIndex, int noteLinesOnly);

  // ---- MIDI import passes (CStavlinDocImport.cpp) -----------------------------------
  // One long staff line built by MIDI import (owned by the record until
  // BuildImportedLines deletes it) and the kind of staff it becomes: 0 and 2
  // treble, 1 and 3 bass, 4 drums.
  struct ImportedLineRecord {
    KListLine* line = nullptr;
    int kind = 0;
  };
  // Told the pass's progress in percent; true asks the pass to stop.
  using ImportPassPoll = std::function<bool(int percent)>;
  // Cuts the records' lines into systems of at most nColumns columns, ending
  // at a bar line where one is in reach, and appends them to the line list
  // (each system followed by an empty text line, its staves bound in a line
  // group when there are several) with staff length staffLength. Deletes the
  // source lines. FALSE when the poll stopped it (the systems made stay).
  BOOL BuildImportedLines(std::span<ImportedLineRecord> records, int nColumns, int staffLength,
                          const ImportPassPoll& poll);
  // Turns the import's tie marks (codes 34 and 32 on columns of note style 4
  // to 7) into tie attachments and its triplet styles (1 to 6) into triplet
  // brackets, and writes number beside the first staff's metronome mark.
  // FALSE when the poll stopped it.
  BOOL CleanUpImportedTies(int number, const ImportPassPoll& poll);

  // ---- Fields ------------------------------------------------------------------------

  CString fileName;        // file-name part of the path
  CString m_untitledName;  // the name of a score not yet saved (empty: "Untitled")
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
  // Copies the file about to be replaced by a save to its backup name, once
  // per run when the score asks for backups. Returns the message that tells
  // why the copy could not be made, empty when it was made or not needed.
  CString MakeBackupBeforeSave(const CString& path);
  // Clears the content and settings changed flags after a No to the save
  // question.
  void DiscardChangedFlags();
  // The time signature in force at the end of a note line, with the fallbacks
  // of SetGroupStartTimeSignature.
  void EndTimeSignature(KLineObj* line, int& beats, int& beatTicks);
  // Ungroups every line that carries the id.
  void UngroupLinesWithId(int id);
  // Removes and deletes the group object (its lines stay as they are).
  void DropGroup(KLineGroup* group);
  // The groups by id, made from lineGroups when first needed: a command that
  // replaces every line of a long score looks a group up for each line.
  // Every place here that takes a group out of the list or deletes one drops
  // the index; a list whose count changed (a group added straight to it), an
  // id not in the index and a hit whose id changed since (a group renumbered)
  // make a fresh index.
  void DropGroupIndex() const { m_groupIndexCount = -1; }
  mutable std::unordered_map<int, KLineGroup*> m_groupIndex;
  mutable int m_groupIndexCount = -1;

  CString m_strPathName;
  BOOL m_bModified = FALSE;
  std::vector<KDocumentView*> m_views;
};
