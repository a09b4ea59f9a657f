#include "chords/ChordScan.h"

#include <cstdio>

#include "chords/ChordDictionaryWrite.h"
#include "chords/ChordNames.h"
#include "chords/ChordRecord.h"
#include "common/Globals.h"
#include "common/TuningCodec.h"
#include "platform/FileBytes.h"

namespace {

CString Padded(const CString& text, int width) {
  CString out = text.Left(width);
  while (out.GetLength() < width) out += ' ';
  return out;
}

CString Group(const CString& shape, int from, int width) {
  return shape.GetLength() >= from + width ? shape.Mid(from, width) : CString(' ', width);
}

char At(const CString& text, int i) { return i < text.GetLength() ? text[i] : ' '; }

}  // namespace

bool ScannedChordOfDiagram(const CString& name, const CString& shape, ScannedChord& out) {
  if (name.IsEmpty()) return false;
  CString root;
  CString type;
  const char second = At(name, 1);
  if (name.GetLength() == 1) {
    root = name + " ";
    type = "(major)";
  } else if (name.GetLength() == 2 && (second == '#' || second == 'b')) {
    root = name;
    type = "(major)";
  } else if (second == '#' || second == 'b') {
    root = name.Left(2);
    type = name.Mid(2);
  } else {
    root = name.Left(1) + " ";
    type = name.Mid(1);
  }
  out.identity = root + Padded(shape.Left(20), 20) + type;
  out.tail = Group(shape, 20, 3) + Group(shape, 23, 3) + Group(shape, 26, 6);
  if (shape.GetLength() >= 36) out.tail += shape.Mid(32, 8);
  return true;
}

ScannedChord ScannedChordOfRecord(const CString& recordText) {
  CString record = recordText.Left(kChordRecordTextSize);
  while (record.GetLength() < kChordRecordTextSize) record += ' ';
  ScannedChord chord;
  CString type = record.Mid(33, 15);
  type.TrimRight();
  if (type.IsEmpty()) type = "(major)";  // a blank name reads as the major chord
  chord.identity = record.Mid(30, 2) + record.Mid(94, 7) + record.Mid(85, 8) + record.Mid(105, 5) + type;
  chord.tail = record.Mid(114, 3) + record.Mid(111, 3) + record.Mid(118, 6) + ChordRecordExtraStrings(record);
  return chord;
}

bool SameScannedChord(const ScannedChord& a, const ScannedChord& b) {
  return a.identity.Left(9) == b.identity.Left(9) && a.identity.Mid(22) == b.identity.Mid(22) &&
         a.tail.Mid(3) == b.tail.Mid(3);
}

std::vector<ScannedChord> DictionaryChordsOfTuning(const CString& tuningKey) {
  std::vector<ScannedChord> chords;
  const fileio::ReadResult file = fileio::ReadWholeFile(g_ChordFilePath.Str());
  if (!file.ok()) return chords;
  const auto* bytes = reinterpret_cast<const char*>(file.bytes.data());
  const std::size_t size = file.bytes.size();
  for (std::size_t offset = 0; size - offset >= static_cast<std::size_t>(kChordRecordTextSize);
       offset += kChordRecordSize) {
    const CString record(bytes + offset, kChordRecordTextSize);
    if (ChordRecordTuningKey(record) == tuningKey) chords.push_back(ScannedChordOfRecord(record));
    if (size - offset < static_cast<std::size_t>(kChordRecordSize)) break;
  }
  return chords;
}

CString ScannedChordRecord(const CString& tuningKey, const ScannedChord& chord) {
  CString tuning = tuningKey;
  CString fretList;
  const int marker = tuningKey.Find(g_FretListMarker);
  if (marker > 0) {
    tuning = tuningKey.Left(marker);
    fretList = tuningKey.Mid(marker + g_FretListMarker.GetLength());
  }
  CString pitches;
  if (tuning.GetLength() < 25) {
    TuningPitches values{};
    ParseTuningString(tuning, 0, values);
    // Strings 6 to 1, as the tuning writes them.
    for (int i = 5; i >= 0; --i) {
      char text[8];
      std::snprintf(text, sizeof text, "%02d",
                    values[static_cast<std::size_t>(i)] < 0 ? 0 : values[static_cast<std::size_t>(i)] % 100);
      pitches += text;
    }
  } else if (tuning.GetLength() == 26) {
    pitches = tuning.Right(13);
  } else if (tuning.GetLength() == 27) {
    pitches = tuning.Right(14);
  } else {
    pitches = tuning.Right(12);
  }
  const CString& i = chord.identity;
  const CString& t = chord.tail;
  const int strings = t.GetLength() >= 20 ? 8 : t.GetLength() >= 16 ? 7 : 6;
  CString frets = i.Mid(2, 7);
  if (strings >= 7) frets += At(t, 13);
  if (strings == 8) frets += At(t, 17);
  CString record = Padded(tuning.Left(13), 14) + "^" + Padded(pitches, 14) + "^" + i.Left(2) + "^" +
                   Padded(i.Mid(22), 20) + "^" + Padded(fretList, 30) + "^" + Padded(i.Mid(9, 8), 8) + "^" +
                   Padded(frets, 10) + "^" + Padded(i.Mid(17, 5), 5) + "^" + Padded(t.Mid(3, 3), 3) +
                   Padded(t.Left(3), 3);
  record += ExtraStringsRowDigit(strings, At(t, 14) == '1', At(t, 18) == '1');
  CString fingers = t.Mid(6, 6);
  if (strings >= 7) fingers = Padded(fingers, 6) + At(t, 15);
  if (strings == 8) fingers += At(t, 19);
  record += Padded(fingers, 11) + "$\r\n";
  return record.GetLength() == kChordRecordSize ? record : CString();
}
