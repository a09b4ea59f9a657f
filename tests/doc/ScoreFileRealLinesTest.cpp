// Score files with the program's own line and group classes: a score with
// lines in two groups saves, reopens the same and saves the same bytes; damaged
// group records are repaired or refused without harm.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "DocTestSupport.h"
#include "doc/CStavlinDoc.h"
#include "doc/DocLineHooks.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KChordPic.h"
#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "model/KRhythmObj.h"

namespace {

constexpr UINT kOpenProblem = 8207;
constexpr UINT kDamagedGroups = 8229;
constexpr const char* kStandardTuning = "E A D G B E  323742475156";

class ScoreFileRealLines : public DocTest {
 protected:
  void SetUp() override {
    DocTest::SetUp();
    CRuntimeClass::Register({RUNTIME_CLASS(KStaffLine), RUNTIME_CLASS(KTabLine), RUNTIME_CLASS(KStrLine),
                             RUNTIME_CLASS(KRhythmLine), RUNTIME_CLASS(KChordPicLine), RUNTIME_CLASS(KChordPic),
                             RUNTIME_CLASS(KRhythmObj)});
    previous_ = SetDocLineHooks(StavlinLineHooks());
  }
  void TearDown() override {
    SetDocLineHooks(previous_);
    DocTest::TearDown();
  }

 private:
  KDocLineHooks previous_;
};

KChord* Column(int pos, std::initializer_list<std::pair<int, int>> notes, int rhythm = 0) {
  auto* column = new KChord(pos);
  column->SetNoteCount(static_cast<int>(notes.size()));
  int i = 0;
  for (const auto& [value, code] : notes) {
    column->SetNoteValue(i, value);
    column->SetNoteCode(i++, code);
  }
  column->SetRhythmCode(rhythm);
  return column;
}

void Append(KListLine& line, std::initializer_list<KPosObj*> objects) {
  for (KPosObj* object : objects) line.GetObjList()->AddTail(object);
  line.UpdateTimeSigCache();
}

// A score of every kind of content: a title, a group of a treble staff (key
// signature, time signature, notes, bars, attachments, a label) bracketed with
// a tablature line and a lyrics line, a staff outside any group, and a grand
// staff group. With allLineKinds the first group also holds a chord-diagram
// line above the staff and a rhythm line below the tablature.
void FillScore(CStavlinDoc& doc, bool allLineKinds = false) {
  doc.settings.midiTempo = 88;
  doc.settings.pageNumberingText = "Etude";
  doc.settings.makeBackups = 0;
  doc.AddTailLine(new KStrLine("Etude in A", 1));

  std::vector<POSITION> firstGroup;
  if (allLineKinds) {
    auto* chords = new KChordPicLine(3, kStandardTuning, "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial", 100, 90);
    chords->GetObjList()->AddTail(new KChordPic(0, "A", "0222000          000", 1));
    chords->GetObjList()->AddTail(new KChordPic(3, "E7", "0201000          000", 2));
    firstGroup.push_back(doc.AddTailLine(chords));
  }

  auto* melody = new KStaffLine(0, 3, 0);
  melody->SetLabel("Flute");
  Append(*melody, {Column(0, {{1, KChord::kTimeSignature}, {1, 102}, {1, 103}}), Column(1, {{18, 8}}),
                   Column(2, {{17, 9}, {21, 9}}), Column(3, {{1, 21}}), Column(4, {{15, 6}})});
  melody->AddAttachment(new KExtendedObj(1, 18, KExtendedObj::kSlur, 0, 0, 40, 10));
  melody->AddAttachment(new KExtendedObj(4, 10, KExtendedObj::kTextBox, 0, 0, 30, 12));
  firstGroup.push_back(doc.AddTailLine(melody));
  const int bracketed = static_cast<int>(firstGroup.size()) - 1;
  auto* tab = new KTabLine(3, kStandardTuning, 0);
  Append(*tab, {Column(1, {{3, 229}}, 72), Column(2, {{2, 231}, {4, 228}}, 72), Column(3, {{1, 21}})});
  firstGroup.push_back(doc.AddTailLine(tab));
  if (allLineKinds) {
    auto* rhythm = new KRhythmLine(3, "19,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman");
    Append(*rhythm, {new KRhythmObj(0, CString("Swing")), new KRhythmObj(45, 224), new KRhythmObj(63, 225)});
    firstGroup.push_back(doc.AddTailLine(rhythm));
  }
  firstGroup.push_back(doc.AddTailLine(new KStrLine("la la la", 2)));
  KLineGroup* first = GroupOf(doc, 0, firstGroup);
  first->SetSlotBracket(bracketed, 1);
  first->SetSlotBracket(bracketed + 1, 1);

  auto* loose = new KStaffLine(1, 0, 0);
  Append(*loose, {Column(0, {{12, 7}})});
  doc.AddTailLine(loose);

  auto* upper = new KStaffLine(0, 0, KLineObj::kFlagPairedStaff | KLineObj::kFlagPairUpper);
  Append(*upper, {Column(0, {{19, 8}})});
  auto* lower = new KStaffLine(1, 0, KLineObj::kFlagPairedStaff);
  Append(*lower, {Column(0, {{13, 8}})});
  const POSITION upperPos = doc.AddTailLine(upper);
  const POSITION lowerPos = doc.AddTailLine(lower);
  GroupOf(doc, 1, {upperPos, lowerPos});
  doc.CheckLineGroups();
}

// Everything a line holds, as text.
std::string DumpLines(const CStavlinDoc& doc) {
  std::ostringstream out;
  std::map<const KLineObj*, int> index;
  int n = 0;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) index[doc.GetNextLine(pos)] = n++;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    KLineObj* line = doc.GetNextLine(pos);
    out << line->GetRuntimeClass()->m_lpszClassName << " type " << line->GetType() << " group "
        << line->GetGroupId() << (line->GetGroup() != nullptr ? "*" : "") << " flags " << line->GetFlagWord()
        << " label '" << line->GetLabel().Str() << "' length " << line->GetStaffLength() << " indent "
        << line->GetStoredIndent();
    if (const auto* text = dynamic_cast<const KStrLine*>(line))
      out << " text '" << text->GetText().Str() << "' font " << text->GetFontIndex();
    if (const auto* tab = dynamic_cast<const KTabLine*>(line))
      out << " tuning '" << tab->GetTuning().Str() << "'";
    if (const auto* staff = dynamic_cast<const KStaffLine*>(line)) {
      if (staff->GetPartner() != nullptr) out << " partner " << index[staff->GetPartner()];
    }
    if (const KListLine* list = line->AsListLine()) {
      out << " key " << list->GetKey() << "/" << list->GetLayoutKey() << " columns";
      const CObList* objects = list->GetObjList();
      for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
        const CObject* object = objects->GetNext(node);
        if (const auto* pic = dynamic_cast<const KChordPic*>(object)) {
          out << " [" << pic->GetPos() << " " << pic->GetName().Str() << " " << pic->GetShape().Str() << "]";
        } else if (const auto* item = dynamic_cast<const KRhythmObj*>(object)) {
          // A text run's code reads back as its first character.
          out << " [" << item->GetPos() << " code " << (item->GetText().IsEmpty() ? item->GetCode() : 0) << " '"
              << item->GetText().Str() << "']";
        } else {
          const KChord* column = AsChord(object);
          out << " [" << column->GetPos() << " r" << column->GetRhythmCode();
          for (int i = 0; i < column->GetNoteCount(); ++i)
            out << " " << column->GetNote(i).position << ":" << column->GetNote(i).code;
          out << "]";
        }
      }
    }
    const CObList* attachments = line->GetAttachments();
    for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
      const auto* a = static_cast<const KExtendedObj*>(attachments->GetNext(node));
      out << " {" << a->GetPos() << " kind " << a->GetKind() << " row " << a->GetRow() << "}";
    }
    out << "\n";
  }
  for (POSITION pos = doc.lineGroups.GetHeadPosition(); pos != nullptr;) {
    const auto* group = static_cast<const KLineGroup*>(doc.lineGroups.GetNext(pos));
    out << "group " << group->GetId() << " flags " << group->GetFlags() << " key "
        << group->GetKeySignature();
    for (int i = 0; i < group->GetSlotCount(); ++i) {
      out << " (" << index[group->GetSlotLine(i)] << " type " << group->GetSlotType(i) << " bracket "
          << group->GetSlotBracket(i, 1) << " partner " << group->GetSlotPartner(i) << ")";
    }
    out << "\n";
  }
  return out.str();
}

std::vector<BYTE> Contents(const std::string& path) { return CurrentCompoundFile().Read(path).contents; }

TEST_F(ScoreFileRealLines, ScoreWithTwoGroupsReopensTheSameAndSavesTheSameBytes) {
  CStavlinDoc doc;
  FillScore(doc, true);
  ASSERT_EQ(GroupViolations(doc), "");
  const std::string before = DumpLines(doc);
  ASSERT_NE(before.find("partner 8"), std::string::npos) << before;
  for (const char* kind : {"KChordPicLine type 4", "KRhythmLine type 3", "KStrLine type 5", "KTabLine type 2"})
    ASSERT_NE(before.find(kind), std::string::npos) << before;
  ASSERT_TRUE(doc.OnSaveDocument(PathOf("etude.svd").c_str()));

  CStavlinDoc reopened;
  ASSERT_TRUE(reopened.OnOpenDocument(PathOf("etude.svd").c_str()));
  EXPECT_TRUE(ui_.Messages().empty());
  EXPECT_EQ(DumpLines(reopened), before);
  EXPECT_EQ(GroupViolations(reopened), "");
  EXPECT_EQ(reopened.settings.midiTempo, 88);
  EXPECT_EQ(reopened.settings.pageNumberingText, "Etude");
  EXPECT_EQ(reopened.fontsInUse, 2);

  ASSERT_TRUE(reopened.OnSaveDocument(PathOf("again.svd").c_str()));
  EXPECT_EQ(Contents(PathOf("again.svd")), Contents(PathOf("etude.svd")));
}

// The bytes of the first group record of a stored score (after its class
// name): id, slot count, flags, reserved words, then the slot records.
std::size_t FirstGroupRecord(const std::vector<BYTE>& bytes) {
  const std::string name = "KLineGroup";
  const auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
  EXPECT_NE(at, bytes.end());
  return static_cast<std::size_t>(at - bytes.begin()) + name.size();
}

TEST_F(ScoreFileRealLines, DamagedGroupRecordsAreRepairedOrRefused) {
  CStavlinDoc source;
  FillScore(source);
  CMemFile memory;
  {
    CArchive ar(&memory, CArchive::store);
    source.Serialize(ar);
    ar.Close();
  }
  const std::vector<BYTE> valid = memory.Data();
  const std::size_t record = FirstGroupRecord(valid);

  // A slot kind outside 0..16: the group is dissolved, its lines stay.
  std::vector<BYTE> badKind = valid;
  badKind[record + 4 + 1 + 1 + 16 + 1] = 200;
  CurrentCompoundFile().Write(PathOf("kind.svd"), badKind);
  CStavlinDoc doc;
  ASSERT_TRUE(doc.OnOpenDocument(PathOf("kind.svd").c_str()));
  EXPECT_EQ(ui_.MessageIds(), std::vector<UINT>{kDamagedGroups});
  EXPECT_EQ(DescribeGroups(doc), "1:5,6");
  EXPECT_EQ(doc.GetLineCount(), 7);
  EXPECT_EQ(GroupViolations(doc), "");

  // More slot records than the record form holds: the file is refused and
  // the open score stays as it was.
  const std::string opened = DumpLines(doc);
  std::vector<BYTE> tooMany = valid;
  tooMany[record + 4] = 11;
  CurrentCompoundFile().Write(PathOf("count.svd"), tooMany);
  ui_.ClearRecords();
  EXPECT_FALSE(doc.OnOpenDocument(PathOf("count.svd").c_str()));
  EXPECT_EQ(ui_.MessageIds(), std::vector<UINT>{kOpenProblem});
  EXPECT_EQ(DumpLines(doc), opened);
}

// Changed bytes anywhere: the score opens consistent, or is refused and the
// open score stays as it was.
TEST_F(ScoreFileRealLines, ChangedBytesOpenConsistentOrNotAtAll) {
  CStavlinDoc source;
  FillScore(source);
  ASSERT_TRUE(source.OnSaveDocument(PathOf("good.svd").c_str()));
  const std::vector<BYTE> valid = Contents(PathOf("good.svd"));
  std::mt19937 random(7);
  CStavlinDoc doc;
  ASSERT_TRUE(doc.OnOpenDocument(PathOf("good.svd").c_str()));
  for (int i = 0; i < 300; ++i) {
    std::vector<BYTE> changed = valid;
    for (int n = 1 + random() % 3; n > 0; --n)
      changed[random() % changed.size()] = static_cast<BYTE>(random());
    CurrentCompoundFile().Write(PathOf("changed.svd"), changed);
    const std::string before = DumpLines(doc);
    ui_.ClearRecords();
    if (doc.OnOpenDocument(PathOf("changed.svd").c_str())) {
      ASSERT_EQ(GroupViolations(doc), "") << i;
    } else {
      ASSERT_EQ(ui_.MessageIds().back(), kOpenProblem);
      ASSERT_EQ(DumpLines(doc), before);
    }
  }
}

}  // namespace
