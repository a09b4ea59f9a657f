// ABC text lines to score lines (see AbcTextToLines.h).

#include "translate/AbcTextToLines.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "lines/KChordPicLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KStrLineServices.h"
#include "model/KChord.h"
#include "model/KChordPic.h"
#include "model/KExtendedObj.h"
#include "translate/AbcReader.h"
#include "translate/AbcReaderState.h"
#include "translate/ChordNameRecognizer.h"

namespace {

// Chord names are measured in a fixed font: 9 pixels a character.
constexpr int kChordTextCharWidth = 9;
constexpr std::string_view kChordPrefix = "@@";
// The pixels of one diagram column in the chord-name recognizer's measure.
constexpr int kRecognizerColumnPixels = 8;

// Sets g_abcTranslating while the text is read.
class AbcTranslating {
 public:
  AbcTranslating() { g_abcTranslating = 1; }
  ~AbcTranslating() { g_abcTranslating = 0; }
  AbcTranslating(const AbcTranslating&) = delete;
  AbcTranslating& operator=(const AbcTranslating&) = delete;
};

bool StartsWithTitleField(const CString& text) {
  std::string_view view = text.View();
  while (!view.empty() && (view.front() == ' ' || view.front() == '\t')) view.remove_prefix(1);
  return view.size() >= 2 && view[0] == 'T' && view[1] == ':';
}

}  // namespace

AbcTextRead ReadAbcTextLines(std::span<const std::optional<CString>> texts) {
  AbcTranslating translating;
  ResetAbcReaderState();
  AbcTextRead read;
  read.lines.resize(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (!texts[i]) continue;
    // Music ending in "\" may go on in the next line, if there is one.
    const int continuation = i + 1 < texts.size() ? 1 : 0;
    AbcLineRead& result = read.lines[i];
    result.line = ReadAbcLine(*texts[i], continuation);
    auto* text = dynamic_cast<KStrLine*>(result.line.get());
    if (text != nullptr && StartsWithTitleField(*texts[i])) {
      text->ModifyFlags(KStrLine::kFlagTitle, 1);
      result.title = true;
    }
  }
  // Music that the last line left open for continuation still comes in.
  read.continued = TakeContinuedAbcLine();
  read.chordNamesSeen = GetAbcReaderState().chordNamesSeen;
  return read;
}

std::unique_ptr<KChordPicLine> AbcChordNamesToDiagrams(KStaffLine& staff, const AbcDiagramGeometry& geometry) {
  const int chordColumnWidth = geometry.noteColumnWidth;
  std::string names;
  std::vector<KExtendedObj*> taken;
  // Where each name starts in the text, and the note column it stands over.
  std::map<int, int> noteColumnOfName;
  CObList* attachments = staff.GetAttachments();
  for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
    auto* attachment = dynamic_cast<KExtendedObj*>(attachments->GetNext(node));
    if (attachment == nullptr || attachment->GetKind() != KExtendedObj::kTextBox) continue;
    const std::string_view text = attachment->GetText().View();
    if (text.substr(0, 2) != kChordPrefix) continue;
    const int column = std::max(
        0, (attachment->GetPos() * chordColumnWidth - kChordTextCharWidth * static_cast<int>(names.size())) /
               kChordTextCharWidth);
    names.append(static_cast<size_t>(column), ' ');
    noteColumnOfName[static_cast<int>(names.size())] = attachment->GetPos();
    names += text.substr(2);
    names += ' ';
    taken.push_back(attachment);
  }
  if (names.find_first_not_of(' ') == std::string::npos) return nullptr;
  // The names were spaced for a font of 9 pixels a character; the diagrams
  // then stand over the staff columns the names came from. The chord line's
  // columns begin at the content's left edge, the staff's after its clef and
  // key.
  const int lead = geometry.staffLead ? geometry.staffLead() : 0;
  // A name longer than the room between its note and the next named one
  // pushes the next name along the text; each diagram still stands over the
  // note its name was written over.
  // The recognizer counts 8 pixels to a diagram column, the chord line draws
  // its columns as wide as the symbol size makes them: the x given is scaled
  // so that each diagram's column lies under its pixel x.
  const int diagramColumn = geometry.diagramColumnWidth;
  auto diagramColumnOf = [diagramColumn](long long x) {
    return static_cast<int>(x * kRecognizerColumnPixels / diagramColumn);
  };
  // The diagram column over each recognised name's note, in order.
  std::vector<int> wanted;
  ChordNameLayout layout;
  layout.xOfPosition = [&](int position) {
    const auto named = noteColumnOfName.find(position);
    const long long x = lead + (named != noteColumnOfName.end() ? named->second * chordColumnWidth
                                                                : position * kChordTextCharWidth);
    wanted.push_back(diagramColumnOf(x) / kRecognizerColumnPixels);
    return diagramColumnOf(x);
  };
  std::unique_ptr<KChordPicLine> chords = RecognizeChordNamesInText(CString(std::string_view(names)), false, layout);
  // Without a diagram line the names stay written over the notes.
  if (chords == nullptr) return nullptr;
  // A diagram set past its note (the one before it is wider than the room)
  // never stands at another note's column, so that it is not taken for that
  // note's chord when the score is written as ABC.
  std::set<int> noteDiagramColumns;
  for (POSITION node = staff.GetObjList()->GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(staff.GetObjList()->GetNext(node));
    if (column == nullptr || column->IsBarColumn() || column->IsSignatureColumn()) continue;
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const int code = column->GetNote(i).code;
      if ((code >= 0 && code <= 20) || (code >= 108 && code <= 111)) {
        noteDiagramColumns.insert(diagramColumnOf(lead + static_cast<long long>(column->GetPos()) * chordColumnWidth) /
                                  kRecognizerColumnPixels);
        break;
      }
    }
  }
  std::vector<KChordPic*> diagrams;
  for (POSITION node = chords->GetObjList()->GetHeadPosition(); node != nullptr;) {
    if (KChordPic* diagram = AsChordPic(chords->GetObjList()->GetNext(node))) diagrams.push_back(diagram);
  }
  if (diagrams.size() == wanted.size()) {
    int previousEnd = -1;
    for (std::size_t i = 0; i < diagrams.size(); ++i) {
      int column = std::max(wanted[i], previousEnd);
      if (column != wanted[i]) {
        while (noteDiagramColumns.count(column) != 0) ++column;
      }
      diagrams[i]->SetPos(column);
      const int extent = chords->GetDiagramExtent(*diagrams[i]);
      previousEnd = std::max(column + 1, column + (extent + kRecognizerColumnPixels - 1) / kRecognizerColumnPixels);
    }
  }
  for (KExtendedObj* attachment : taken) {
    staff.RemoveAttachment(attachment);
    delete attachment;
  }
  chords->SetKeySignature(staff.GetKeySignatureAt(0), 0, 0);
  return chords;
}
