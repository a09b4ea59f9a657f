#include "SampleScores.h"

#include <string>

#include "doc/CStavlinDoc.h"
#include "doc/DocLineHooks.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "lines/LineClasses.h"
#include "model/KChord.h"
#include "model/KChordPic.h"
#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "model/KRhythmObj.h"

namespace {

constexpr const char* kGuitarTuning = "E A D G B E  323742475156";
constexpr const char* kBassTuning = "  E A D G   *002025303500";
constexpr const char* kArial = "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
constexpr const char* kTimes = "-13,0,0,0,400,0,0,0,0,3,2,1,18,Times New Roman";
constexpr int kBarCode = 21;
constexpr int kTabRhythm = 72;

KChord* NoteColumn(int pos, int n, bool tab) {
  auto* column = new KChord(pos);
  const int notes = 1 + n % 3;
  column->SetNoteCount(notes);
  for (int i = 0; i < notes; ++i) {
    if (tab) {
      column->SetNoteValue(i, 1 + (n + 2 * i) % 6);
      column->SetNoteCode(i, KChord::kFirstFret + (n * 7 + i * 3) % 13);
    } else {
      column->SetNoteValue(i, 12 + (n * 5 + i * 2) % 14);
      column->SetNoteCode(i, 6 + (n + i) % 4);
    }
  }
  column->SetRhythmCode(tab ? kTabRhythm : 0);
  return column;
}

KChord* BarColumn(int pos) {
  auto* bar = new KChord(pos);
  bar->SetNoteCount(1);
  bar->SetNoteValue(0, 1);
  bar->SetNoteCode(0, kBarCode);
  return bar;
}

KChord* TimeSignature(int pos) {
  auto* column = new KChord(pos);
  column->SetNoteCount(3);
  column->SetNoteValue(0, 1);
  column->SetNoteCode(0, KChord::kTimeSignature);
  column->SetNoteValue(1, 1);
  column->SetNoteCode(1, 105);  // 6 beats: a code in the escape range
  column->SetNoteValue(2, 1);
  column->SetNoteCode(2, 103);
  return column;
}

void FillNotes(KListLine& line, int columns, bool tab) {
  CObList* objects = line.GetObjList();
  int pos = 0;
  if (!tab) objects->AddTail(TimeSignature(pos++));
  for (int n = 0; n < columns; ++n) {
    KChord* column = NoteColumn(pos++, n, tab);
    // Per-note styles and nudges travel through the format's escapes.
    if (n % 5 == 1) column->SetNoteFlags(0, static_cast<BYTE>(1 + n % 3));
    objects->AddTail(column);
    if ((n + 1) % 8 == 0) objects->AddTail(BarColumn(pos++));
  }
  line.UpdateTimeSigCache();
}

void AddGroup(CStavlinDoc& doc, int id, const std::vector<std::pair<POSITION, KLineObj*>>& members) {
  std::vector<POSITION> positions;
  std::vector<int> types;
  for (const auto& [position, line] : members) {
    positions.push_back(position);
    types.push_back(line->GetType());
  }
  auto* group = new KLineGroup(id, positions, types, 0);
  doc.AddLineGroup(group);
  for (const auto& member : members) member.second->SetGroup(id, group);
}

void EveryLineKind(CStavlinDoc& doc) {
  doc.settings.makeBackups = 0;
  doc.AddTailLine(new KStrLine("Every line kind", 1));
  for (int type : {0, 1, 9, 10, 11, 12, 13, 14, 16}) {
    auto* staff = new KStaffLine(type, type % 7, 0);
    staff->SetLabel(("Staff " + std::to_string(type)).c_str());
    FillNotes(*staff, 12, false);
    doc.AddTailLine(staff);
  }
  auto* guitar = new KTabLine(2, kGuitarTuning, 0);
  FillNotes(*guitar, 12, true);
  doc.AddTailLine(guitar);
  auto* bass = new KTabLine(15, kBassTuning, 0);
  FillNotes(*bass, 9, true);
  doc.AddTailLine(bass);
  auto* rhythm = new KRhythmLine(3, "19,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman");
  for (KRhythmObj* symbol :
       {new KRhythmObj(0, CString("Swing")), new KRhythmObj(45, 224), new KRhythmObj(63, 225)})
    rhythm->GetObjList()->AddTail(symbol);
  const POSITION rhythmPos = doc.AddTailLine(rhythm);
  auto* chords = new KChordPicLine(3, kGuitarTuning, kArial, 100, 90);
  chords->GetObjList()->AddTail(new KChordPic(0, "A", "0222000          000", 1));
  chords->GetObjList()->AddTail(new KChordPic(3, "E7", "0201000          000", 2));
  chords->GetObjList()->AddTail(new KChordPic(6, "F#m7b5", "2423000          000", 0));
  const POSITION chordsPos = doc.AddTailLine(chords);
  doc.AddTailLine(new KStrLine("la la la, words \xE9\xE8 and more", 2));
  AddGroup(doc, 0, {{rhythmPos, rhythm}, {chordsPos, chords}});
  doc.CheckLineGroups();
}

// One attachment of every kind on a staff and on a tablature line, with the
// texts each kind carries.
void EveryAttachmentKind(CStavlinDoc& doc) {
  doc.settings.makeBackups = 0;
  auto* staff = new KStaffLine(0, 0, 0);
  FillNotes(*staff, 30, false);
  auto* tab = new KTabLine(2, kGuitarTuning, 0);
  FillNotes(*tab, 30, true);
  for (int kind = -1; kind <= 25; ++kind) {
    const int pos = kind + 2;
    const char* text = kind == KExtendedObj::kNumberedBracket ? "-3" : (kind % 3 == 0 ? "mf" : "");
    auto* onStaff = new KExtendedObj(pos, 12 + kind % 9, kind, 4, -2, 30 + kind, 10 - kind % 4, kind % 5 - 2,
                                     kind % 3, CString(text), CString(kind % 3 == 0 ? kArial : ""), "");
    if (kind == KExtendedObj::kTie || kind == KExtendedObj::kSlur) {
      onStaff->SetPoint(0, 10, 256);
      onStaff->SetPoint(1, 30, -1);
    }
    staff->AddAttachment(onStaff);
    tab->AddAttachment(new KExtendedObj(pos, 1 + (kind + 1) % 6, kind, 0, 0, 20, 8));
  }
  doc.AddTailLine(staff);
  doc.AddTailLine(tab);
}

// Text boxes and brackets with texts up to and past 50 characters, flags,
// fonts and links.
void AttachmentTexts(CStavlinDoc& doc) {
  doc.settings.makeBackups = 0;
  auto* staff = new KStaffLine(0, 0, 0);
  FillNotes(*staff, 20, false);
  struct Text {
    int kind;
    std::string text;
    const char* font;
    const char* link;
    int opaque;
  };
  const Text texts[] = {
      {3, "Allegro", kArial, "", 1},
      {3, std::string(49, 'a'), kTimes, "", 0},
      {3, std::string(50, 'b'), kArial, "", 1},
      {3, std::string(142, 'c'), kArial, "", 1},
      {3, std::string(70, 'd') + "1", kTimes, "", 0},
      {3, "see the site", kArial, "example.org", 0},
      {3, std::string(90, 'e'), kTimes, "ftp.example.org/x", 1},
      {7, "1.", kArial, "", 0},
      {14, std::string(60, 'f'), kArial, "", 1},
      {2, "-5", "", "", 0},
  };
  int pos = 0;
  for (const Text& t : texts) {
    auto* object = new KExtendedObj(pos++, 10, t.kind, 0, 0, 40, 12, 2, -3, CString(t.text.c_str()),
                                    CString(t.font), "");
    object->SetOpaque(t.opaque);
    object->SetLinkTarget(CString(t.link));
    staff->AddAttachment(object);
  }
  doc.AddTailLine(staff);
}

void LargeScore(CStavlinDoc& doc) { FillLargeScore(doc, 20, 60); }

}  // namespace

const std::vector<SampleScore>& SampleScores() {
  static const std::vector<SampleScore> samples = {
      {"EveryLineKind", EveryLineKind},
      {"EveryAttachmentKind", EveryAttachmentKind},
      {"AttachmentTexts", AttachmentTexts},
      {"GroupedStaffAndTablature", LargeScore},
  };
  return samples;
}

void FillLargeScore(CStavlinDoc& doc, int lines, int columns) {
  doc.settings.makeBackups = 0;
  doc.AddTailLine(new KStrLine("A large score", 1));
  for (int i = 0; i + 1 < lines; i += 2) {
    auto* staff = new KStaffLine(0, 2, 0);
    FillNotes(*staff, columns, false);
    for (int pos = 1; pos < columns; pos += 16)
      staff->AddAttachment(new KExtendedObj(pos, 18, pos % 2, 0, 0, 36, 10));
    const POSITION staffPos = doc.AddTailLine(staff);
    auto* tab = new KTabLine(2, kGuitarTuning, 0);
    FillNotes(*tab, columns, true);
    const POSITION tabPos = doc.AddTailLine(tab);
    AddGroup(doc, i / 2, {{staffPos, staff}, {tabPos, tab}});
  }
  doc.CheckLineGroups();
}

void PrepareRealScoreClasses() {
  RegisterLineClasses();
  SetDocLineHooks(StavlinLineHooks());
}
