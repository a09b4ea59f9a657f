#pragma once
// The chords of one tuning in the user chord dictionary: which roots have
// records in the file (the listed mask), which roots have been read into the
// chord list (the loaded mask), and that list of chords.
//
// The chord list keeps the chords of one root together, and within a root the
// chords of one name together in file order. Names ending in '*' (as the chord
// dialogs mark user chords) are taken without the '*' where a name is looked up.

#include <cstdint>

#include "chords/ChordRecord.h"
#include "platform/CObList.h"
#include "platform/CObject.h"
#include "platform/CString.h"

// Field selectors of KTuningInfo::GetChordField.
inline constexpr int kChordFieldShape = 10;
inline constexpr int kChordFieldDescription = 20;
inline constexpr int kChordFieldVariationHint = 30;
inline constexpr int kChordFieldFlagText = 40;
inline constexpr int kChordFieldExtraStrings = 50;

class KTuningInfo : public CObject {
 public:
  KTuningInfo(const CString& tuningKey, const CString& pitchText);
  ~KTuningInfo() override;
  KTuningInfo(const KTuningInfo&) = delete;
  KTuningInfo& operator=(const KTuningInfo&) = delete;

  CString GetTuningKey() const { return m_tuningKey; }
  CString GetPitchText() const { return m_pitchText; }
  std::uint32_t GetListedMask() const { return m_listedMask; }
  std::uint32_t GetLoadedMask() const { return m_loadedMask; }
  const CObList& GetChordList() const { return m_chords; }

  // Marks the root as having records in the file. A code outside the root
  // table is reported (see the root error in ChordDictionary.h) and changes nothing.
  void AddKey(const CString& rootCode);
  // Nonzero when the root has records / has been read in; 0 and the root
  // error for a code outside the root table.
  int HasKey(const CString& rootCode);
  int IsKeyLoaded(const CString& rootCode);

  // Reads a record into a new chord, placed after the last variation of its
  // name under its root (a new name goes last among its root's chords), and
  // marks its root listed and loaded.
  void AddChord(const CString& record);
  // Reads every record of the tuning key and root from the chord file. A file
  // that cannot be read beeps and adds nothing.
  void LoadChords(const CString& tuningKey, const CString& rootCode);
  // Removes and deletes the chord of the root and name with the shape. Returns
  // 1 when one was removed. nameRemains is 1 when a chord of the name is left;
  // listEmpty 1 when the removed chord was the last of the tuning.
  int RemoveChord(const CString& rootCode, const CString& name, const CString& shape, int& listEmpty,
                  int& nameRemains);
  // True when RemoveChord would find the chord.
  bool HasChord(const CString& rootCode, const CString& name, const CString& shape) const;
  // The number of variations of the name under the root.
  int CountVariations(const CString& rootCode, const CString& name) const;
  // A field (kChordField...) of the n-th (1-based) chord of the name under the
  // root. Past the last one: message 7103 and the last examined chord's shape.
  CString GetChordField(const CString& rootCode, const CString& name, int n, int selector) const;
  // The name that follows the given one under the root (the first name for an
  // empty one); empty after the last name or for an unknown name.
  CString GetNextChordName(const CString& rootCode, const CString& name) const;

 private:
  // The root index for the chord list (codes outside the table count as 0).
  static int ListIndex(const CString& rootCode);
  // The root's bit, or 0 after reporting the root error with the location code.
  std::uint32_t RootBit(const CString& rootCode, const char* locationCode);
  // The position of the root's first chord, or null.
  POSITION FirstOfRoot(int rootIndex) const;

  CString m_tuningKey;
  CString m_pitchText;
  std::uint32_t m_listedMask = 0;
  std::uint32_t m_loadedMask = 0;
  CObList m_chords{10};  // of KUserChordData, owned
};
