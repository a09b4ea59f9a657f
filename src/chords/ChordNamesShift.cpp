// Transposing chord diagrams and stepping them through their variations. The
// new names and shapes of all diagrams in the range are worked out first and
// written only when every one of them could be, so that a failure part way
// leaves the line as it was.

#include "chords/ChordNamesShift.h"

#include <vector>

#include "chords/ChordCatalogue.h"
#include "chords/ChordNameSources.h"
#include "chords/ChordNames.h"
#include "common/ChordShape.h"
#include "common/TuningCodec.h"
#include "lines/KChordPicLine.h"
#include "lines/KChordPicLineServices.h"
#include "model/KChordPic.h"
#include "platform/UiPort.h"

namespace {

constexpr int kLibraryShapeLength = 7;
// The most variations collected for one chord.
constexpr int kMaxVariations = 160;
constexpr int kOctave = 12;
constexpr UINT kMsgNoChord = 7052;
constexpr const char* kStepCodeVariation = "CCR-3";
constexpr const char* kStepCodeTranspose = "CCR-4";

// The library's type of a quality: a slash bass is taken off first (bass
// receives its pitch class, -1 without one), an alias stands for its type.
LibraryLookup FindQualityType(int rootIndex, const CString& quality, LibraryType& type, int& bass) {
  CString base = quality;
  bass = -1;
  SplitSlashBass(quality, base, bass);
  return FindLibraryType(GetChordNameSources(), rootIndex, base, type);
}

// The library's shapes of the type over the bass (when there is one).
std::vector<CString> OverBass(const std::vector<CString>& shapes, int bass, const CString& tuning) {
  if (bass < 0) return shapes;
  std::vector<CString> fitted;
  for (const CString& shape : shapes) fitted.push_back(SlashChordShape({shape}, bass, tuning));
  return fitted;
}

void ReportNoChord(const CString& name, const char* code) {
  CString text;
  AfxFormatString2(text, kMsgNoChord, name, code);
  AfxMessageBox(text, MB_OK);
}

// The shape with every sounding string moved by change frets; a string moved
// below the nut or past the tuning's highest fret is muted. The shape is
// rebuilt for the tuning around the average fret of the strings that sound.
CString MoveShape(const CString& shape, const CString& tuning, int change) {
  const int highestFret = ParseFretList(tuning, nullptr);
  ShapeValues pitches{};
  ShapeValues frets{};
  ShapeValues marks{};
  GetShapePitches(shape, tuning, pitches, frets, marks);
  int sum = 0;
  int count = 0;
  for (size_t i = 0; i < pitches.size(); ++i) {
    const int fret = frets[i] + change;
    if (pitches[i] <= -9 || frets[i] < 0 || fret < 0 || fret > highestFret) {
      pitches[i] = -9;
      continue;
    }
    pitches[i] += change;
    sum += fret;
    ++count;
  }
  CString out;
  ComputeChordShape(tuning, out, pitches, count > 0 ? sum / count : 0);
  return out;
}

struct Rewrite {
  KChordPic* diagram;
  CString name;
  CString shape;
  int setting;
};

// The transposed name and shape of one diagram; false after message 7052.
bool Transpose(const KChordPic& diagram, const ChordNameParts& parts, const CString& tuning, int key,
               int amount, int spelling, Rewrite& out) {
  int semitones = 0;
  const int root =
      StepChordRoot(parts.rootIndex, amount, key == kChordShiftKeyUp ? 1 : -1, spelling != 0, semitones);
  const int change = ((semitones % kOctave) + kOctave) % kOctave;
  const CString quality = TransposeSlashBass(parts.quality, parts.rootIndex, root);
  out.name = JoinChordName(root, quality);
  out.shape = diagram.GetShape();
  out.setting = diagram.GetSetting();
  if (out.shape.GetLength() == kLibraryShapeLength) {
    LibraryType type;
    int bass = -1;
    const LibraryLookup found = FindQualityType(root, quality, type, bass);
    if (found == LibraryLookup::kMissingType) {
      ReportNoChord(diagram.GetName(), kStepCodeTranspose);
      return false;
    }
    const int count = LibraryVariationCount(type.text);
    if (found == LibraryLookup::kFound && count > 0) {
      const int n = out.setting < 1 ? 1 : out.setting < count ? out.setting : count;
      out.shape = LibraryVariation(type.text, n);
      if (bass >= 0) {
        // Over the bass: this variation when it can be, else the first that can.
        std::vector<CString> shapes{out.shape};
        for (const CString& shape : LibraryVariations(type.text)) shapes.push_back(shape);
        out.shape = SlashChordShape(shapes, bass, KChordPicLine::kStandardTuning);
      }
    }
  } else if (change != 0) {
    out.shape = MoveShape(out.shape, tuning, change > 6 ? change - kOctave : change);
  }
  return true;
}

// The neighbouring variation of one diagram's chord: the library's variations
// first, then the user's, in a fixed order so that repeated steps visit each
// once per cycle. False after message 7052; out.diagram stays null when the
// chord has no variations.
bool StepVariation(const KChordPic& diagram, const ChordNameParts& parts, const CString& tuning, int key,
                   Rewrite& out) {
  KChordNameSources& sources = GetChordNameSources();
  std::vector<CString> shapes;
  LibraryType type;
  int bass = -1;
  const LibraryLookup found = FindQualityType(parts.rootIndex, parts.quality, type, bass);
  if (found == LibraryLookup::kMissingType) {
    ReportNoChord(diagram.GetName(), kStepCodeVariation);
    return false;
  }
  const bool adapt = g_adaptLibraryShapes != 0 && tuning != KChordPicLine::kStandardTuning;
  if (found == LibraryLookup::kFound) {
    for (CString shape : OverBass(LibraryVariations(type.text), bass, KChordPicLine::kStandardTuning)) {
      if (static_cast<int>(shapes.size()) >= kMaxVariations) break;
      if (adapt) {
        CString fitted;
        AdaptChordShape(KChordPicLine::kStandardTuning, shape, tuning, fitted);
        shape = fitted;
      }
      shapes.push_back(shape);
    }
  }
  const int userCount = sources.CountUserVariations(tuning, parts.root, parts.quality);
  for (int n = 1; n <= userCount && static_cast<int>(shapes.size()) < kMaxVariations; ++n)
    shapes.push_back(sources.GetUserShape(tuning, parts.root, parts.quality, n));
  const int count = static_cast<int>(shapes.size());
  if (count == 0) return true;
  int current = diagram.GetSetting();
  if (current < 1) current = 1;
  if (current > count) current = count;
  int next = current + (key == kChordShiftKeyUp ? 1 : -1);
  if (next > count) next = 1;
  if (next < 1) next = count;
  out.name = diagram.GetName();
  out.shape = shapes[static_cast<size_t>(next - 1)];
  out.setting = next;
  return true;
}

}  // namespace

int ShiftChordNames(KChordPicLine& line, int first, int end, int key, int mode, int amount, int spelling) {
  if (GetChordNameSources().LoadChordStringDll() == 0) return -1;
  if (mode != kChordShiftTranspose && mode != kChordShiftVariation) return -1;
  const CString tuning = line.GetTuning();
  CObList& objects = *line.GetObjList();

  std::vector<Rewrite> rewrites;
  for (POSITION node = objects.GetHeadPosition(); node != nullptr;) {
    KChordPic* diagram = AsChordPic(objects.GetNext(node));
    if (diagram == nullptr || diagram->GetPos() < first) continue;
    if (diagram->GetPos() >= end) break;
    ChordNameParts parts;
    if (!SplitChordName(diagram->GetName(), parts)) continue;
    Rewrite rewrite{nullptr, CString(), CString(), 0};
    const bool ok = mode == kChordShiftTranspose
                        ? Transpose(*diagram, parts, tuning, key, amount, spelling, rewrite)
                        : StepVariation(*diagram, parts, tuning, key, rewrite);
    if (!ok) return -1;
    if (mode == kChordShiftVariation && rewrite.name.IsEmpty()) continue;
    rewrite.diagram = diagram;
    rewrites.push_back(rewrite);
  }
  if (rewrites.empty()) return -1;

  for (const Rewrite& rewrite : rewrites) {
    POSITION node = objects.Find(rewrite.diagram);
    if (node == nullptr) continue;
    const int column = rewrite.diagram->GetPos();
    auto* replacement = new KChordPic(column, rewrite.name, rewrite.shape, rewrite.setting);
    replacement->SetValue(rewrite.diagram->GetValue());
    objects.SetAt(node, replacement);
    delete rewrite.diagram;
    // A longer name pushes the diagrams after it right until it fits.
    POSITION after = node;
    objects.GetNext(after);
    const KChordPic* next = after != nullptr ? AsChordPic(objects.GetAt(after)) : nullptr;
    const int overlap = next != nullptr ? column + rewrite.name.GetLength() - next->GetPos() : 0;
    if (overlap > 0) line.ShiftColumns(column + 1, overlap, -1);
  }
  line.UpdateDiagramRows();
  return first;
}
