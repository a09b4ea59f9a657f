#include "LargeScore.h"

#include <vector>

#include "doc/CStavlinDoc.h"
#include "doc/DocLineHooks.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "model/ModelClasses.h"

namespace {

constexpr const char* kGuitarTuning = "E A D G B E  323742475156";
constexpr int kBarCode = 21;
constexpr int kTabRhythm = 72;

// A note column of one to three notes, varied by the column's number.
KChord* NoteColumn(int pos, int n, bool tab) {
  auto* column = new KChord(pos);
  const int notes = 1 + n % 3;
  column->SetNoteCount(notes);
  for (int i = 0; i < notes; ++i) {
    if (tab) {
      column->SetNoteValue(i, 2 + (n + 2 * i) % 6);
      column->SetNoteCode(i, KChord::kFirstFret + (n * 7 + i * 3) % 13);
    } else {
      column->SetNoteValue(i, 12 + (n * 5 + i * 2) % 14);
      column->SetNoteCode(i, 6 + (n + i) % 4);
    }
  }
  column->SetRhythmCode(tab ? kTabRhythm : 0);
  return column;
}

void FillLine(KListLine& line, const KLargeScoreShape& shape, bool tab) {
  CObList* objects = line.GetObjList();
  int pos = 0;
  for (int n = 0; n < shape.noteColumns; ++n) {
    objects->AddTail(NoteColumn(pos++, n, tab));
    if (shape.attachmentEvery > 0 && n % shape.attachmentEvery == 0)
      line.AppendAttachment(new KExtendedObj(pos - 1, tab ? 3 : 18, n % 2, 0, 0, 36, 10));
    if (shape.columnsPerBar > 0 && (n + 1) % shape.columnsPerBar == 0) {
      // The bar-column constructor gives the column its bar stems, which is
      // what makes it count as a bar (a bar code alone does not).
      objects->AddTail(new KChord(pos++, 1, kBarCode, tab ? KChord::kTabRhythm : 0));
    }
  }
  line.UpdateTimeSigCache();
}

}  // namespace

void PrepareScoreClasses() {
  RegisterModelClasses();
  CRuntimeClass::Register({RUNTIME_CLASS(KLineGroup), RUNTIME_CLASS(KStaffLine), RUNTIME_CLASS(KTabLine),
                           RUNTIME_CLASS(KStrLine)});
  SetDocLineHooks(StavlinLineHooks());
}

void MakeLargeScore(CStavlinDoc& doc, const KLargeScoreShape& shape) {
  doc.AddTailLine(new KStrLine("A large generated score", 1));
  for (int i = 0; i < shape.lines; i += 2) {
    auto* staff = new KStaffLine(0, 2, 0);
    FillLine(*staff, shape, false);
    const POSITION staffPos = doc.AddTailLine(staff);
    if (i + 1 >= shape.lines) break;
    auto* tab = new KTabLine(2, kGuitarTuning, 0);
    FillLine(*tab, shape, true);
    const POSITION tabPos = doc.AddTailLine(tab);
    const int id = i / 2;
    auto* group = new KLineGroup(id, std::vector<POSITION>{staffPos, tabPos}, std::vector<int>{0, 2}, 2);
    group->SetSlotBracket(0, 1);
    group->SetSlotBracket(1, 1);
    doc.AddLineGroup(group);
    staff->SetGroup(id, group);
    tab->SetGroup(id, group);
    if (shape.textLineEvery > 0 && (id + 1) % shape.textLineEvery == 0)
      doc.AddTailLine(new KStrLine("Words sung under the music above, as a lyric line holds them", 0));
  }
  doc.CheckLineGroups();
}
