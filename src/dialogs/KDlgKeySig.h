#pragma once
// KDlgKeySig: "Select Key Signature" (template 5501), opened by
// Insert/Key Signature. The user picks a key by name, by its number of sharps
// or flats, or by stepping round the circle of fifths, and chooses between
// setting the key of the staff line(s) and inserting a key signature at the
// caret (optionally as the naturals that cancel a key).
//
// Key codes: an even code 2n is n sharps, an odd code 2n + 1 is n flats (1 has
// no accidentals and counts as C); + 16 is the naturals form.

#include <string_view>

#include "platform/GdiObjects.h"
#include "platform/ModalDialog.h"

class KDlgKeySig : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5501;
  static constexpr UINT kIdCount = 1019;
  static constexpr UINT kIdKeyName = 1022;
  static constexpr UINT kIdHelp = 1023;
  static constexpr UINT kIdSharps = 1015;
  static constexpr UINT kIdFlats = 1016;
  static constexpr UINT kIdNaturals = 1017;
  // The circle-of-fifths stepper: one sharp more (up) or one flat more (down).
  static constexpr UINT kIdFifthUp = 1025;
  static constexpr UINT kIdFifthDown = 40010;
  static constexpr UINT kIdSetKey = 1026;
  static constexpr UINT kIdInsertKey = 1027;
  static constexpr UINT kIdKeyLabel = 1028;
  // Texts without an id in the template.
  static constexpr UINT kIdCountLabel = 40001;
  static constexpr UINT kIdOrLabel = 40002;
  static constexpr UINT kIdNaturalsNote = 40003;
  static constexpr UINT kIdActionOr = 40004;
  // The preview: a treble staff with the chosen key signature.
  static constexpr UINT kIdPreview = 1024;
  static constexpr int kPreviewWidth = 120;
  static constexpr int kPreviewHeight = 64;

  static constexpr int kActionSetLine = 0;
  static constexpr int kActionInsert = 1;
  static constexpr int kNameCount = 15;

  KDlgKeySig() : KModalDialog(kTemplateId) {}

  // The 15 key names in list order: C, then one to seven sharps, then one to
  // seven flats.
  static std::string_view KeyName(int index);
  // List index of a key code (code 1 counts as C), and back.
  static int IndexOfCode(int code);
  static int CodeOfIndex(int index);

  BOOL OnInitDialog() override;

  // The user's actions, as the window's controls call them.
  void OnSharps();
  void OnFlats();
  void OnNaturals();
  void OnSelectKeyName(int index);
  // A key name typed into the list's edit field: the first letter (with a
  // following "b" or "#") picks the first name that begins so; anything
  // else shows message 7017 and keeps the key.
  void OnTypeKeyName(std::string_view text);
  // The accidental count typed: one digit 0..7, else message 7023 and the
  // key falls back to C.
  void OnCountChanged();
  // One step round the circle of fifths: up towards seven sharps, down
  // towards seven flats.
  void OnFifthUp();
  void OnFifthDown();
  void OnHelp();
  // The preview picture as last drawn.
  const CBitmap& Preview() const { return m_preview; }

  int keyCode = 0;   // in: the key at the caret; out: the chosen key
  int naturals = 0;  // the key signature cancels the key
  int count = 0;     // accidentals, 0..7
  int action = kActionSetLine;
  int selection = 0;  // the view has a selection (set by the caller)

  // What the dialog shows, kept in step with keyCode.
  int nameIndex = 0;
  int accidentalKind = 0;  // radio: 0 sharps, 1 flats, 2 naturals
  CString countText;
  CString keyLabel;  // "Key:" or "Key to Cancel:"

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  // The shown values follow keyCode; the controls show them.
  void FollowCode();
  void Show();
  void DrawPreview();
  bool m_inUpdate = false;
  CBitmap m_preview;
};
