#pragma once
// The chord selection dialog of Insert/Chord: the user picks a root ("Key"),
// a chord type, a variation and a note duration, sees the chord's spelling,
// its diagram, the chord as a tablature column, as notes on a staff and on a
// keyboard, and gets back the chosen chord's shape.
//
// The types of a root come from two catalogues merged into one list: the
// built-in chord catalogue (ChordLibrary.h), offered for the catalogue's
// tuning and, fitted, for other tunings; and the user chord dictionary
// (ChordDictionary.h) of the dialog's tuning. A type that the user also has
// is listed once, with '*' after its name, and its user variations follow
// the catalogue's. Types only the user has follow the catalogue's (or stand
// first, with the user-types-first setting). With no type at all, the one
// row "Blank" offers the empty grid.
//
// New opens the chord designer and shows the new chord as the last variation
// of its type; View shows every variation at once (the variations picker);
// Remove deletes the current user chord from the dictionary file and from
// memory.

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "model/KChord.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"
#include "platform/ModalDialog.h"

class KTuningInfo;

// One row of the type list.
struct ChordTypeEntry {
  CString name;       // as listed: '*' after it when the user has variations of it
  CString spelling;   // catalogue: the spelling string; user-only: the first variation's description
  int stringId = -1;  // catalogue type string id; -1 user-only; -2 the empty grid
  int libCount = 0;   // catalogue variations
  int userCount = 0;  // user variations; -1 for the empty grid
};

class KDlgChordSelect : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5505;
  // Controls.
  static constexpr UINT kIdVariation = 1153;
  static constexpr UINT kIdNoteType = 1165;
  static constexpr UINT kIdRoot = 1162;
  static constexpr UINT kIdType = 1151;
  static constexpr UINT kIdNew = 1155;
  static constexpr UINT kIdHelp = 1154;
  static constexpr UINT kIdView = 1188;
  static constexpr UINT kIdRemove = 1190;
  static constexpr UINT kIdChordName = 1164;
  static constexpr UINT kIdDetails = 1178;
  static constexpr UINT kIdSpellingFrame = 1189;
  static constexpr UINT kIdFirstInterval = 1171;  // .. 1177
  static constexpr UINT kIdFirstNote = 1181;      // .. 1187
  static constexpr UINT kIdTabPicture = 1158;
  static constexpr UINT kIdDiagramPicture = 1159;
  static constexpr UINT kIdStaffPicture = 1160;
  static constexpr UINT kIdKeyboardPicture = 1161;
  static constexpr UINT kIdRootLabel = 1195;
  static constexpr UINT kIdTypeLabel = 1196;
  static constexpr UINT kIdVariationLabel = 1197;
  static constexpr UINT kIdNoteTypeLabel = 1198;
  // The frames around the pictures, by the form the chord takes in the line:
  // 0 the diagram, 1 the staff, 2 the keyboard, 3 the tablature column.
  static constexpr int kFrameCount = 4;

  KDlgChordSelect();
  ~KDlgChordSelect() override;

  // Inputs, set before DoModal.
  CString tuning = "E A D G B E  323742475156";
  int keySignature = 0;
  int pictureFrame = 0;
  int lineFlag = 0;
  CString key;  // a preset root code ("G "), or empty

  // Outputs after OK.
  CString shape;
  CString typeName;
  CString spelling;
  int variation = 1;
  int typeStringId = 0;
  int libVarCount = 0;
  int userVarCount = 0;
  int isUserChord = 0;
  // The chord as a tablature column and as a staff column.
  const KChord& TabChord() const { return *m_tabChord; }
  const KChord& StaffChord() const { return *m_staffChord; }

  BOOL OnInitDialog() override;
  bool OnOK() override;

  // The handlers of the lists (also what a user's choice in them runs).
  void OnKeySelected();
  void OnTypeSelected();
  void OnVariationSelected();
  void OnNoteTypeSelected();
  // Type-ahead in the root list (list 1) or the type list (list 2).
  void MatchTypedText(const CString& text, int list);
  // Type-ahead in the variation list: one typed digit.
  void MatchTypedVariation(const CString& text);
  // Type-ahead in the note-type list: one of the letters "whHqQtTsSyYxX".
  void MatchTypedNoteType(const CString& text);
  // The row of the type list for a name: the row that is exactly the name,
  // else the shortest row that begins with it; -1 for none.
  int FindTypeIndex(const CString& name) const;

  // The buttons.
  void OnNew();
  void OnView();
  void OnRemove();
  void OnHelp();

  // What the dialog shows (for tests and the window).
  const std::vector<ChordTypeEntry>& TypeRows() const { return m_types; }
  int TypeIndex() const { return m_typeIndex; }
  int KeyIndex() const { return m_keyIndex; }
  CString ChordName() const { return m_chordName; }
  CString Details() const { return m_details; }
  CString IntervalLabel(int i) const { return m_intervalLabels[static_cast<std::size_t>(i)]; }
  CString NoteLabel(int i) const { return m_noteLabels[static_cast<std::size_t>(i)]; }
  CString TuningKey() const { return m_tuningKey; }
  // The picture whose frame is shown: what the chord becomes in the line.
  bool FrameShown(int frame) const { return frame == pictureFrame; }
  // On a chord line (lineFlag set) the user moves the frame between the
  // diagram (0) and the keyboard (2); anything else is refused.
  bool ChooseFrame(int frame);
  int VariationCount() const;

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  // Start-up pieces.
  void SplitTuning();
  CString Caption(const CString& fretListPrefix) const;
  KTuningInfo* LookupInfo(const CString& key) const;
  // The type list of a root (FillTypeList).
  bool FillTypeList(const CString& root);
  // The current chord shown: spelling, work chords, pictures, control texts.
  void ShowCurrent();
  void ShowSpelling(const CString& root, const CString& text);
  void UpdateWorkChords(const CString& chordShape);
  void DrawChordPictures();
  void DrawTabPicture();
  void DrawStaffPicture();
  void DrawFrames();
  void TransferTexts();
  void FillVariationList();
  // The catalogue shape of variation n of typeString, fitted to the tuning.
  CString LibraryShape(int n) const;
  CString FittedShape(const CString& chordShape) const;
  CString CurrentShape();
  bool LoadTypeString(const char* code);
  // Fails the dialog after an internal error: message, end with 2.
  void Fail(UINT message, const char* code);
  void Select(UINT id, int index);
  void EnsureRootLoaded();
  // A typed character handed to a list's type-ahead.
  bool Typed(int character, const std::function<void(const CString&)>& match);
  void TakeRecentVariation();

  KTuningInfo* m_userInfo = nullptr;
  KTuningInfo* m_defaultInfo = nullptr;
  int m_keyIndex = 0;
  int m_stringCount = 6;
  int m_keyTyped = 0;
  int m_standardTuning = 1;
  int m_typeTyped = 0;
  CString m_typedText;
  CString m_typeString;
  int m_typeIndex = 0;
  CString m_tuningPart;
  CString m_fretList;
  CString m_tuningKey;
  int m_topUserTypes = 0;
  int m_libTypeCount = 0;
  int m_defaultUserVarCount = 0;
  int m_userRootPresent = 0;
  int m_defaultRootPresent = 0;
  CString m_typedVariation;
  int m_libraryAvailable = 1;
  CString m_chordName;
  std::array<CString, 7> m_intervalLabels;
  std::array<CString, 7> m_noteLabels;
  CString m_details;
  CString m_frameTitle;
  std::vector<ChordTypeEntry> m_types;
  bool m_failed = false;

  std::unique_ptr<KChord> m_tabChord;
  std::unique_ptr<KChord> m_staffChord;
  CBitmap m_diagramPicture;
  CBitmap m_tabPicture;
  CBitmap m_staffPicture;
  CBitmap m_keyboardPicture;

  // Values the list controls exchange (the dialog keeps its own state above).
  int m_rootRow = 0;
  int m_typeRow = 0;
  int m_variationRow = 0;
  int m_noteTypeRow = 0;
};

// The variation label of a number: " 1".."99", then "100".."199".
CString ChordVariationLabel(int n);
