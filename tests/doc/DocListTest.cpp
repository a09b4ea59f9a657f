// The score's line list: access by position, removal with the partner and
// label bookkeeping, joining, replacing inside a group, and time signatures.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DocTestSupport.h"
#include "doc/CStavlinDoc.h"
#include "doc/DocLineHooks.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "model/KRhythmObj.h"

namespace {

using DocList = DocTest;

constexpr DWORD kPaired = KLineObj::kFlagPairedStaff;
constexpr DWORD kUpper = KLineObj::kFlagPairUpper;

KDocTestLine* Labelled(BYTE type, const char* label) {
  auto* line = new KDocTestLine(type, 0, label);
  line->SetLabel(label);
  return line;
}

std::vector<int> Positions(const KListLine& line) {
  std::vector<int> out;
  const CObList* objects = line.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;)
    out.push_back(static_cast<const KPosObj*>(objects->GetNext(node))->GetPos());
  return out;
}

std::vector<int> AttachmentPositions(KLineObj& line) {
  std::vector<int> out;
  const CObList* list = line.GetAttachments();
  for (POSITION node = list->GetHeadPosition(); node != nullptr;)
    out.push_back(static_cast<const KPosObj*>(list->GetNext(node))->GetPos());
  return out;
}

KChord* Note(int pos) { return new KChord(pos, 18, 8, 0); }
KChord* Bar(int pos) { return new KChord(pos, 1, 21, 0); }
// A time-signature column: beats, and the note value of a beat (2, 4, 8, 16).
KChord* TimeSignature(int pos, int beats, int noteValue) {
  auto* column = new KChord(pos);
  column->SetNoteCount(3);
  column->SetNoteCode(0, KChord::kTimeSignature);
  column->SetNoteCode(1, 99 + beats);
  column->SetNoteCode(2, 99 + noteValue);
  return column;
}

// A staff line holding the objects (appended as they are).
KStaffLine* Staff(std::initializer_list<KPosObj*> objects, int type = 0, DWORD flags = 0) {
  auto* line = new KStaffLine(type, 0, flags);
  for (KPosObj* object : objects) line->GetObjList()->AddTail(object);
  line->UpdateTimeSigCache();
  return line;
}

MidiInstrumentTable Table(std::initializer_list<const char*> names) {
  MidiInstrumentTable table;
  table.count = 0;
  for (const char* name : names) {
    table.entries[table.count].name = name;
    table.entries[table.count].program = 20 + table.count;
    table.entries[table.count].volume = 100;
    ++table.count;
  }
  return table;
}

std::vector<std::string> Names(const MidiInstrumentTable& table) {
  std::vector<std::string> out;
  for (int i = 7; i < table.count; ++i) out.push_back(table.entries[i].name.Str());
  return out;
}

TEST_F(DocList, LinesAreReachedByTheirPositions) {
  CStavlinDoc doc;
  EXPECT_TRUE(doc.HasNoLines());
  EXPECT_EQ(doc.GetFirstLinePosition(), nullptr);
  const POSITION b = doc.AddTailLine(new KDocTestLine(5, 0, "b"));
  const POSITION a = doc.AddHeadLine(new KDocTestLine(5, 0, "a"));
  const POSITION c = doc.InsertLineAfter(b, new KDocTestLine(5, 0, "longer"));
  doc.InsertLineBefore(b, new KDocTestLine(5, 0, "ab"));
  EXPECT_EQ(LineSummary(doc), (std::vector<std::string>{"5/0/a", "5/0/ab", "5/0/b", "5/0/longer"}));
  EXPECT_EQ(doc.GetLineCount(), 4);
  EXPECT_FALSE(doc.HasNoLines());
  EXPECT_EQ(doc.GetFirstLinePosition(), a);
  EXPECT_EQ(doc.GetLastLinePosition(), c);

  POSITION pos = a;
  EXPECT_EQ(doc.GetNextLine(pos), doc.GetLineAt(a));
  EXPECT_NE(pos, nullptr);
  pos = c;
  EXPECT_EQ(doc.GetNextLine(pos), doc.GetLineAt(c));
  EXPECT_EQ(pos, nullptr);
  EXPECT_EQ(doc.GetNextLine(pos), nullptr) << "a null position stays null";
  EXPECT_EQ(doc.GetPrevLine(pos), nullptr);
  pos = a;
  doc.GetPrevLine(pos);
  EXPECT_EQ(pos, nullptr);
  EXPECT_EQ(doc.GetLineAt(nullptr), nullptr);
  EXPECT_EQ(doc.GetLineLengthAt(nullptr), 0);
}

TEST_F(DocList, LineLengthIsTheLinesOwn) {
  CStavlinDoc doc;
  const POSITION staff = doc.AddTailLine(Staff({Note(0), Note(3), Bar(7)}));
  const POSITION empty = doc.AddTailLine(Staff({}));
  EXPECT_EQ(doc.GetLineLengthAt(staff), 8);
  EXPECT_EQ(doc.GetLineLengthAt(empty), 0);
}

// Removing a labelled line drops the label's entry once no line carries it;
// later entries move down in order and the settings' texts follow.
TEST_F(DocList, RemovingALineDropsLabelsNoLineCarries) {
  struct Case {
    const char* name;
    int remove;  // index of the line removed
    bool withTable;
    std::vector<std::string> names;  // user entries left
  };
  const Case cases[] = {
      {"label still used by another line", 0, true, {"Guitar", "Bass", "Flute"}},
      {"last line with the label", 2, true, {"Guitar", "Flute"}},
      {"unlabelled line", 4, true, {"Guitar", "Bass", "Flute"}},
      {"no table: nothing is looked at", 2, false, {"Guitar", "Bass", "Flute"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CStavlinDoc doc;
    std::vector<POSITION> positions = {
        doc.AddTailLine(Labelled(0, "Guitar")), doc.AddTailLine(Labelled(0, "Guitar!@!extra")),
        doc.AddTailLine(Labelled(1, "Bass")), doc.AddTailLine(Labelled(0, "Flute")),
        doc.AddTailLine(new KDocTestLine(2, 0, "plain"))};
    MidiInstrumentTable table = Table({"T", "B", "Tab", "P", "A", "Te", "BT", "Guitar", "Bass", "Flute"});
    const std::string settingsBefore = DumpSettings(doc.settings);

    doc.RemoveLine(positions[c.remove], c.withTable ? &table : nullptr, TRUE);
    EXPECT_EQ(doc.GetLineCount(), 4);
    EXPECT_EQ(Names(table), c.names);
    EXPECT_EQ(table.count, 7 + static_cast<int>(c.names.size()));
    if (c.names.size() == 3) {
      EXPECT_EQ(DumpSettings(doc.settings), settingsBefore) << "the settings are left alone";
    } else {
      EXPECT_EQ(doc.settings.instrumentCount, table.count);
      EXPECT_EQ(doc.settings.instrumentTable[0], " 20100T");
      EXPECT_EQ(doc.settings.instrumentTable[7], " 27100Guitar");
      EXPECT_EQ(doc.settings.instrumentTable[8], " 29100Flute") << "Flute keeps its program";
      EXPECT_EQ(doc.settings.instrumentTable[9], "");
    }
  }
}

TEST_F(DocList, RemoveOrphanLabelsKeepsTheFixedEntries) {
  CStavlinDoc doc;
  doc.AddTailLine(Labelled(0, "Oboe"));
  MidiInstrumentTable table = Table({"T", "B", "Tab", "P", "A", "Te", "BT", "Horn", "Oboe", "Harp"});
  EXPECT_TRUE(doc.RemoveOrphanLabels(table));
  EXPECT_EQ(Names(table), std::vector<std::string>{"Oboe"});
  EXPECT_EQ(table.entries[0].name, "T");
  EXPECT_EQ(table.entries[6].name, "BT");
  EXPECT_EQ(doc.settings.instrumentCount, 8);
  EXPECT_EQ(doc.settings.instrumentTable[7], " 28100Oboe");

  MidiInstrumentTable fixedOnly = Table({"T", "B", "Tab", "P", "A", "Te", "BT"});
  EXPECT_FALSE(doc.RemoveOrphanLabels(fixedOnly));
  EXPECT_EQ(fixedOnly.count, 7);
}

// A removed staff of a grand-staff pair leaves its partner unpaired (flags and
// pointer) when the table is given; without one the partner is not touched.
TEST_F(DocList, RemovingAPairedStaffUnpairsItsPartner) {
  for (const bool withTable : {true, false}) {
    SCOPED_TRACE(withTable ? "with table" : "without table");
    CStavlinDoc doc;
    auto* upper = Staff({}, 0, kPaired | kUpper | KLineObj::kFlagPairLong);
    auto* lower = Staff({}, 1, kPaired);
    upper->SetPartner(lower);
    lower->SetPartner(upper);
    doc.AddTailLine(upper);
    const POSITION lowerPos = doc.AddTailLine(lower);
    MidiInstrumentTable table;
    doc.RemoveLine(lowerPos, withTable ? &table : nullptr, FALSE);
    EXPECT_EQ(doc.GetLineCount(), 1);
    if (withTable) {
      EXPECT_EQ(upper->GetPartner(), nullptr);
      EXPECT_EQ(upper->GetFlagWord() & (kPaired | kUpper | KLineObj::kFlagPairLong), 0u);
    } else {
      EXPECT_EQ(upper->GetPartner(), lower);
      EXPECT_NE(upper->GetFlagWord() & kUpper, 0u);
    }
    delete lower;
    EXPECT_EQ(upper->GetPartner(), nullptr) << "a deleted staff leaves no pointer behind";
  }
}

// A group never keeps the position of a removed line, even when the caller
// did not take the line out of the group first.
TEST_F(DocList, RemovedLineLeavesTheGroupThatStillNamedIt) {
  CStavlinDoc doc;
  const POSITION a = doc.AddTailLine(new KDocTestLine(0, 0, "a", 0, 4));
  const POSITION b = doc.AddTailLine(new KDocTestLine(2, 0, "b", 0, 4));
  const POSITION single = doc.AddTailLine(new KDocTestLine(5, 0, "alone", 0, 6));
  doc.AddLineGroup(new KLineGroup(4, std::vector<POSITION>{a, b}, std::vector<int>{0, 2}, 0));
  doc.AddLineGroup(new KLineGroup(6, std::vector<POSITION>{single}, std::vector<int>{5}, 0));

  doc.RemoveLine(b, nullptr, TRUE);
  KLineGroup* group = doc.FindLineGroup(4);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->GetSlotCount(), 1);
  EXPECT_EQ(group->GetSlotLineRef(0), a);

  doc.RemoveLine(single, nullptr, TRUE);
  EXPECT_EQ(doc.FindLineGroup(6), nullptr) << "a group of that line alone goes with it";
  EXPECT_EQ(doc.GetLineGroupCount(), 1);
}

TEST_F(DocList, JoinedTextLinesJoinTheirTexts) {
  KDocTestLine first(5, 0, "Verse one, ");
  KDocTestLine second(5, 0, "verse two");
  CStavlinDoc::JoinLines(first, second);
  EXPECT_EQ(first.text, "Verse one, verse two");
}

// The second line's columns move past the first line's end as a whole, bars
// included, and its attachments stay on their columns; it is left empty and
// can be deleted.
TEST_F(DocList, JoinedNoteLinesAppendTheSecondLinePastTheFirst) {
  std::unique_ptr<KStaffLine> first(Staff({Note(0), Note(1), Bar(2)}));
  std::unique_ptr<KStaffLine> second(Staff({Note(0), Bar(9), Note(10)}));
  first->AddAttachment(new KExtendedObj(1, 18, KExtendedObj::kTie, 0, 0, 36, 10));
  second->AddAttachment(new KExtendedObj(0, 18, KExtendedObj::kSlur, 0, 0, 200, 10));
  second->AddAttachment(new KExtendedObj(10, 18, KExtendedObj::kTie, 0, 0, 36, 10));

  CStavlinDoc::JoinLines(*first, *second);
  EXPECT_EQ(Positions(*first), (std::vector<int>{0, 1, 2, 3, 12, 13}));
  EXPECT_EQ(AttachmentPositions(*first), (std::vector<int>{1, 3, 13}));
  EXPECT_EQ(second->GetObjCount(), 0);
  EXPECT_EQ(second->GetAttachmentCount(), 0);
  EXPECT_EQ(first->GetTimeSigColumn(), 12) << "the last bar is known";
}

// Rhythm items move past the first line's pixel end, the attachments past
// its length, and the line measures its columns again.
TEST_F(DocList, JoinedRhythmLinesMeasureTheirColumnsAgain) {
  const KDocLineHooks previous = SetDocLineHooks(StavlinLineHooks());
  KRhythmLine first;
  KRhythmLine second;
  first.GetObjList()->AddTail(new KRhythmObj(0, 40));
  first.GetObjList()->AddTail(new KRhythmObj(8, 41));
  first.SetColumnWidth(7);
  second.GetObjList()->AddTail(new KRhythmObj(4, 42));
  second.AddAttachment(new KExtendedObj(1, 2, KExtendedObj::kTextBox, 0, 0, 30, 12));
  const int length = first.GetLength();

  CStavlinDoc::JoinLines(first, second);
  EXPECT_EQ(Positions(first), (std::vector<int>{0, 8, 8 + 9 + 4}));
  EXPECT_EQ(first.GetColumnWidth(), -1);
  EXPECT_EQ(AttachmentPositions(first), std::vector<int>{1 + length});
  EXPECT_EQ(second.GetObjCount(), 0);
  SetDocLineHooks(previous);
}

TEST_F(DocList, ReplacedLineTakesTheOldOnesPlaceInItsGroup) {
  CStavlinDoc doc;
  const POSITION staff = doc.AddTailLine(Staff({Note(0)}));
  auto* tab = new KTabLine(0, "E A D G B E  323742475156", 0);
  tab->SetLabel("Lead!@!12");
  tab->SetStaffLength(640);
  tab->AddAttachment(new KExtendedObj(0, 3, KExtendedObj::kTie, 0, 0, 36, 10));
  const POSITION tabPos = doc.AddTailLine(tab);
  const POSITION text = doc.AddTailLine(new KDocTestLine(5, 0, "words"));
  auto* group = new KLineGroup(3, std::vector<POSITION>{staff, tabPos, text}, std::vector<int>{0, 2, 5}, 0);
  doc.AddLineGroup(group);
  for (POSITION pos : {staff, tabPos, text}) doc.GetLineAt(pos)->SetGroup(3, group);

  struct Case {
    const char* name;
    BOOL copyAttachments;
    int attachments;
  };
  for (const Case& c : {Case{"attachments copied", TRUE, 1}, Case{"attachments not copied", FALSE, 0}}) {
    SCOPED_TRACE(c.name);
    const POSITION oldPos = group->GetSlotLineRef(1);
    KLineObj* oldLine = doc.GetLineAt(oldPos);
    auto* fresh = new KStaffLine(12, 0, 0);
    const POSITION newPos = doc.ReplaceLine(oldLine, oldPos, fresh, 4, c.copyAttachments);
    ASSERT_NE(newPos, nullptr);
    EXPECT_EQ(doc.GetLineCount(), 3);
    EXPECT_EQ(doc.GetLineAt(newPos), fresh);
    EXPECT_EQ(group->GetSlotLineRef(1), newPos);
    EXPECT_EQ(group->GetSlotLine(1), fresh);
    EXPECT_EQ(group->GetSlotType(1), 12);
    EXPECT_EQ(fresh->GetGroupId(), 3);
    EXPECT_EQ(fresh->GetGroup(), group);
    EXPECT_EQ(fresh->GetLabel(), "Lead");
    EXPECT_EQ(fresh->GetStaffLength(), 640);
    EXPECT_EQ(fresh->GetKey(), 4);
    EXPECT_EQ(fresh->GetAttachmentCount(), c.attachments);
    POSITION second = doc.GetFirstLinePosition();
    doc.GetNextLine(second);
    EXPECT_EQ(second, newPos) << "the new line stands where the old one stood";
  }
}

// A grand-staff pairing carries over to a paired staff and is dropped (on
// both sides) for any other line.
TEST_F(DocList, ReplacingAPairedStaffKeepsOrDropsThePairing) {
  struct Case {
    const char* name;
    int type;
    DWORD flags;
    int upperOffset;
    int lowerOffset;
    bool linked;
  };
  const Case cases[] = {
      {"a paired bass staff", 1, kPaired, 1, -1, true},
      {"a tablature line", 2, kPaired, 0, 0, false},
      {"an unpaired staff", 1, 0, 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CStavlinDoc doc;
    auto* upper = Staff({}, 0, kPaired | kUpper);
    auto* lower = Staff({}, 1, kPaired);
    const POSITION u = doc.AddTailLine(upper);
    const POSITION l = doc.AddTailLine(lower);
    auto* group = new KLineGroup(0, std::vector<POSITION>{u, l}, std::vector<int>{0, 1}, 0);
    doc.AddLineGroup(group);
    upper->SetGroup(0, group);
    lower->SetGroup(0, group);
    group->BindLines(doc);
    ASSERT_EQ(group->GetSlotPartner(0), 1);
    ASSERT_EQ(upper->GetPartner(), lower);

    KListLine* fresh = c.type == 2 ? static_cast<KListLine*>(new KTabLine(0, "E A D G B E  323742475156", 0))
                                   : new KStaffLine(c.type, 0, c.flags);
    if (c.type == 2) fresh->ModifyFlags(c.flags, 1);
    doc.ReplaceLine(lower, l, fresh, 0, FALSE);
    EXPECT_EQ(group->GetSlotPartner(0), c.upperOffset);
    EXPECT_EQ(group->GetSlotPartner(1), c.lowerOffset);
    EXPECT_EQ(upper->GetPartner(), c.linked ? fresh : nullptr);
  }
}

TEST_F(DocList, ReplacingALineThatIsNotThereTakesNothing) {
  CStavlinDoc doc;
  const POSITION a = doc.AddTailLine(new KDocTestLine(0, 0, "a"));
  KDocTestLine stranger(0, 0, "b");
  auto fresh = std::make_unique<KDocTestLine>(2, 0, "new");
  EXPECT_EQ(doc.ReplaceLine(&stranger, a, fresh.get(), 0, FALSE), nullptr);
  EXPECT_EQ(LineSummary(doc), std::vector<std::string>{"0/0/a"});
}

// Each note line starts with the signature in force at the end of the note
// line before it; other lines are passed over.
TEST_F(DocList, TimeSignaturesCarryFromNoteLineToNoteLine) {
  CStavlinDoc doc;
  auto* first = Staff({Note(0), Bar(1)});
  doc.AddTailLine(first);
  doc.AddTailLine(new KDocTestLine(5, 0, "lyrics"));
  auto* waltz = Staff({Note(0), TimeSignature(1, 3, 8), Note(2)});
  doc.AddTailLine(waltz);
  auto* last = new KTabLine(0, "E A D G B E  323742475156", 0);
  doc.AddTailLine(last);

  doc.PropagateTimeSignatures();
  for (KListLine* line : {static_cast<KListLine*>(first), static_cast<KListLine*>(waltz)}) {
    EXPECT_EQ(line->GetStartBeats(), 4);
    EXPECT_EQ(line->GetStartBeatTicks(), 480);
  }
  EXPECT_EQ(last->GetStartBeats(), 3);
  EXPECT_EQ(last->GetStartBeatTicks(), 240);
}

}  // namespace
