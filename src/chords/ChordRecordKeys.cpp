#include "chords/ChordRecordKeys.h"

#include "common/ChordShape.h"
#include "common/Globals.h"
#include "common/TuningCodec.h"

namespace {

constexpr int kLongShape = 40;
constexpr int kSevenStringShape = 36;

}  // namespace

CString MakeTuningKey(const CString& tuning) {
  const int marker = tuning.Find(g_FretListMarker);
  if (marker <= 0) return tuning;
  const CString left = tuning.Left(marker);
  const CString list = tuning.Mid(marker + g_FretListMarker.GetLength());
  const int comma = list.Find(',');
  if (comma < 0) return left;
  const CString rest = list.Mid(comma + 1);
  const int end = rest.Find(",12");
  if (end <= 0) return tuning;
  return left + g_FretListMarker + rest.Left(end + 3);
}

void AdaptChordShape(const CString& fromTuning, const CString& shapeText, const CString& toTuning,
                     CString* result) {
  if (result == nullptr) return;
  CString shape = shapeText.Left(kLongShape);
  if (shape.GetLength() == kLongShape && shape[36] == '8') {
    // an eight-string shape keeps its whole text
  } else if (shape.GetLength() >= kSevenStringShape && shape[32] == '7') {
    shape = shape.Left(kSevenStringShape);
  } else {
    shape.TrimRight(' ');
  }
  ShapeValues pitches{}, frets{}, marks{};
  GetShapePitches(shape, fromTuning, pitches, frets, marks);
  const int targetStrings = GetTuningStringCount(toTuning);
  const int shapeStrings = GetShapeStringCount(shape);
  int sum = 0, fretted = 0;
  for (int i = 0; i < shapeStrings && i < kShapeStrings; ++i) {
    if (frets[i] > 0) {
      sum += frets[i];
      ++fretted;
    }
  }
  if (fretted > 0 && (targetStrings <= 6 || shapeStrings >= 7)) {
    ComputeChordShape(toTuning, *result, pitches, sum / fretted);
    return;
  }
  const CString blank = EmptyChordShape(targetStrings);
  *result = shape + blank.Mid(shape.GetLength());
}
