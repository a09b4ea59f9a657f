// The staff line's data: construction, file record, partner staff and the
// simple slots.

#include <memory>
#include <string>

#include "StaffLineTestSupport.h"
#include "common/AppServices.h"
#include "lines/KSpeedLine.h"
#include "model/KExtendedObj.h"

namespace {

class KStaffLineTest : public StaffLineTest {};

std::unique_ptr<KStaffLine> LoadStaff(const Bytes& bytes) {
  std::unique_ptr<KListLine> line = LoadLine(bytes);
  auto* staff = dynamic_cast<KStaffLine*>(line.get());
  if (staff == nullptr) return nullptr;
  line.release();
  return std::unique_ptr<KStaffLine>(staff);
}

// The drawing cache mirrors the line's settings.
void ExpectCacheMatches(const KStaffLine& staff) {
  const KSpeedLine* cache = staff.GetSpeedLine();
  ASSERT_NE(cache, nullptr);
  EXPECT_EQ(cache->GetType(), staff.GetType());
  EXPECT_EQ(cache->GetKey(), staff.GetKey());
  EXPECT_EQ(cache->GetLayoutKey(), staff.GetLayoutKey());
  EXPECT_EQ(cache->GetStaffLength(), staff.GetStaffLength());
  EXPECT_EQ(cache->GetFlagWord(), staff.GetFlagWord());
  EXPECT_EQ(cache->GetIndent(), staff.GetIndent());
  EXPECT_EQ(cache->GetSpaceAbove(0), staff.GetSpaceAbove(0));
  EXPECT_EQ(cache->GetSpaceBelow(0), staff.GetSpaceBelow(0));
}

TEST_F(KStaffLineTest, EveryClefStoresTheListLineRecordAndLoadsBack) {
  g_staffSpaceAbove = 30;
  g_staffSpaceBelow = 20;
  for (int type : kStaffKinds) {
    SCOPED_TRACE("type " + std::to_string(type));
    KStaffLine staff(type, 5, 0x800);
    staff.SetLabel("Vln!@!extra");
    staff.SetIndent(-12);
    staff.SetStaffLength(200);
    KChord* column = Column(2, {{14, kSharpSign}, {14, kQuarter}});
    Fill(staff, {column});
    auto* tie = new KExtendedObj(2, 14, 0, 4, 5, 30, 0);
    staff.AddAttachment(tie);

    // The list line's record under the class name KStaffLine; the bass staff
    // keeps its legacy kind 1, the others 0, and the file word names the kind.
    RecordBytes head;
    head.Word(0xFFFF).Word(90).Word(10).Chars("KStaffLine");
    head.Byte(type == kBass ? 1 : 0)
        .Int(200)
        .Int(-1)
        .Int(0x800)
        .Int(100 + type)
        .String("Vln!@!extra")
        .Int(-12);
    head.Word(1).Word(0xFFFF).Word(90).Word(6).Chars("KChord");
    RecordBytes tail;
    tail.Byte(5).Int(2400).Int(30 * 256 + 20).Int(0);
    tail.Word(1).Word(0xFFFF).Word(90).Word(12).Chars("KExtendedObj");
    const Bytes bytes = Concat({head, StoreFields(*column), tail, StoreFields(*tie)});
    ASSERT_EQ(StoreObject(staff), bytes);

    std::unique_ptr<KStaffLine> loaded = LoadStaff(bytes);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetType(), type);
    EXPECT_EQ(loaded->GetKey(), 5);
    EXPECT_EQ(loaded->GetStaffLength(), 200);
    EXPECT_EQ(loaded->GetIndent(), 12);
    EXPECT_EQ(loaded->GetFlagWord(), 0x800u);
    EXPECT_EQ(loaded->GetLabel(), "Vln!@!extra");
    EXPECT_EQ(Positions(*loaded->GetObjList()), std::vector<int>{2});
    EXPECT_EQ(loaded->GetAttachmentCount(), 1);
    EXPECT_EQ(loaded->GetPartner(), nullptr);
    ExpectCacheMatches(*loaded);
    EXPECT_EQ(StoreObject(*loaded), bytes);
  }
}

// A staff line holds note columns only: a record that claims the rhythm kind
// and carries a rhythm item is refused, not loaded as a staff of rhythm items.
TEST_F(KStaffLineTest, ARecordWithObjectsOtherThanColumnsIsRefused) {
  KListLine rhythm(0, kRhythm, 0, -1, 0);
  Fill(rhythm, {Item(0, 210)});
  Bytes bytes = StoreObject(rhythm);
  // The same record under the staff line's class name.
  const Bytes listName = RecordBytes().Word(9).Chars("KListLine");
  const Bytes staffName = RecordBytes().Word(10).Chars("KStaffLine");
  ASSERT_TRUE(std::equal(listName.begin(), listName.end(), bytes.begin() + 4));
  bytes.erase(bytes.begin() + 4, bytes.begin() + 4 + long(listName.size()));
  bytes.insert(bytes.begin() + 4, staffName.begin(), staffName.end());
  EXPECT_EQ(LineLoadFailure(bytes), CArchiveException::badClass);
}

struct PairMarkCase {
  int version;
  int type;
  DWORD stored;
  DWORD loaded;
};

// Older files knew only the paired-staff flag; the pairing marks are derived
// from it by the file's version and the kind.
TEST_F(KStaffLineTest, OlderFilesGainThePairingMarksTheirVersionLacked) {
  constexpr DWORD kPaired = 0x4;
  constexpr DWORD kLong = 0x100000;
  constexpr DWORD kUpper = 0x200000;
  const PairMarkCase cases[] = {
      {3606, 0, kPaired, kPaired | kLong | kUpper},
      {3606, kBass, kPaired, kPaired | kLong},
      {3650, 0, kPaired, kPaired | kUpper},
      {3650, kBass, kPaired, kPaired},
      {3705, kAlto, kPaired, kPaired},
      {3706, 0, kPaired, kPaired},
      {3940, 0, kPaired, kPaired},
      {3606, 0, 0x800, 0x800},
  };
  for (const PairMarkCase& c : cases) {
    SCOPED_TRACE("version " + std::to_string(c.version) + " type " + std::to_string(c.type));
    KStaffLine staff(c.type, 0, c.stored);
    const Bytes bytes = StoreObject(staff);
    g_fileVersion = c.version;
    std::unique_ptr<KStaffLine> loaded = LoadStaff(bytes);
    g_fileVersion = kCurrentFileVersion;
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetFlagWord(), c.loaded);
    ExpectCacheMatches(*loaded);
  }
}

TEST_F(KStaffLineTest, TheDefaultStaffIsATrebleStaffWithTheDefaultIndent) {
  g_defaultIndent = 9;
  KStaffLine staff;
  EXPECT_EQ(staff.GetType(), 0);
  EXPECT_EQ(staff.GetKey(), 0);
  EXPECT_EQ(staff.GetFlagWord(), 0u);
  EXPECT_EQ(staff.GetIndent(), 9);
  EXPECT_EQ(staff.GetGroupId(), -1);
  ExpectCacheMatches(staff);
}

TEST_F(KStaffLineTest, SettingAPartnerMarksItAsPaired) {
  KStaffLine treble(0, 0, 0);
  KStaffLine bass(kBass, 0, 0);
  treble.SetPartner(&bass);
  EXPECT_EQ(treble.GetPartner(), &bass);
  EXPECT_EQ(bass.GetPartner(), nullptr) << "one-way: the caller sets both sides";
  EXPECT_EQ(bass.GetFlagWord(), 0x4u);
  EXPECT_EQ(bass.GetSpeedLine()->GetFlagWord(), 0x4u);
  EXPECT_EQ(treble.GetFlagWord(), 0u);
  treble.SetPartner(nullptr);
  EXPECT_EQ(treble.GetPartner(), nullptr);
}

TEST_F(KStaffLineTest, DeletingOneStaffOfAPairLeavesTheOtherUnpaired) {
  auto treble = std::make_unique<KStaffLine>(0, 0, 0);
  auto bass = std::make_unique<KStaffLine>(kBass, 0, 0);
  treble->SetPartner(bass.get());
  bass->SetPartner(treble.get());
  bass.reset();
  EXPECT_EQ(treble->GetPartner(), nullptr);
}

// Pairings are set one side at a time; a staff whose partner was paired again
// elsewhere must not keep a pointer to it once it is deleted, and deleting it
// must not break the other pairing.
TEST_F(KStaffLineTest, DeletingAStaffClearsEveryPointerToItAndNoOther) {
  auto a = std::make_unique<KStaffLine>(0, 0, 0);
  auto b = std::make_unique<KStaffLine>(kBass, 0, 0);
  auto c = std::make_unique<KStaffLine>(0, 0, 0);
  a->SetPartner(b.get());
  b->SetPartner(c.get());
  c->SetPartner(b.get());
  b.reset();
  EXPECT_EQ(a->GetPartner(), nullptr);
  EXPECT_EQ(c->GetPartner(), nullptr);

  auto d = std::make_unique<KStaffLine>(kBass, 0, 0);
  a->SetPartner(d.get());
  d->SetPartner(c.get());
  c->SetPartner(d.get());
  a.reset();
  EXPECT_EQ(d->GetPartner(), c.get());
  EXPECT_EQ(c->GetPartner(), d.get());
}

// Leaving a group unpairs both staves of a grand staff, through the list
// line's partner hook and the line group's pairing call.
TEST_F(KStaffLineTest, LeavingTheGroupUnhooksBothStaves) {
  KStaffLine treble(0, 0, 0);
  KStaffLine bass(kBass, 0, 0);
  treble.SetGroup(3, nullptr);
  bass.SetGroup(3, nullptr);
  KListLine& trebleLine = treble;
  KListLine& bassLine = bass;
  trebleLine.SetPartnerStaff(&bass);
  bassLine.SetPartnerStaff(&treble);
  treble.ModifyFlags(0x200000, 1);
  ASSERT_EQ(treble.GetFlagWord(), 0x200004u);

  treble.SetGroup(-1, nullptr);
  EXPECT_EQ(treble.GetPartner(), nullptr);
  EXPECT_EQ(bass.GetPartner(), nullptr);
  EXPECT_EQ(treble.GetFlagWord(), 0u);
  EXPECT_EQ(bass.GetFlagWord(), 0u);
}

TEST_F(KStaffLineTest, AStaffMadeFromATabLineKeepsItsKeyLabelNameAndColumns) {
  g_staffSpaceAbove = 33;
  g_staffSpaceBelow = 44;
  KListLine tab(4, kTab, 150, -1, 0x800 | 0x20);
  tab.SetLabel("Gtr!@!!@@!7 1 2");
  tab.SetIndent(-15);
  // A key change later on the line does not change the key at column 0.
  KChord* cell = Stemmed(1, 9, 8);
  Fill(tab, {cell, KeySig(3, 6), Note(5)});
  tab.AddAttachment(new KExtendedObj(1, 3, 0, 4, 5, 30, 0));

  KStaffLine staff(tab);
  EXPECT_EQ(staff.GetType(), kTab) << "the cells are converted by the command afterwards";
  EXPECT_EQ(staff.GetKey(), 4);
  EXPECT_EQ(staff.GetLayoutKey(), 4);
  EXPECT_EQ(staff.GetLabel(), "Gtr");
  EXPECT_EQ(staff.GetStaffLength(), 150);
  EXPECT_EQ(staff.GetFlagWord(), 0x820u);
  EXPECT_EQ(staff.GetIndent(), 15);
  EXPECT_EQ(staff.GetSpaceAbove(0), 33);
  EXPECT_EQ(staff.GetSpaceBelow(0), 44);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(staff.GetLayoutByte(i), 0);
  EXPECT_EQ(Positions(*staff.GetObjList()), (std::vector<int>{1, 3, 5}));
  const KChord* copy = AsChord(staff.GetObjList()->GetHead());
  ASSERT_NE(copy, cell);
  EXPECT_EQ(copy->GetVoiceStem(0), 9) << "stored stem values are kept";
  EXPECT_EQ(copy->GetVoiceStem(1), 8);
  EXPECT_EQ(copy->GetNote(0).code, cell->GetNote(0).code);
  EXPECT_EQ(staff.GetAttachmentCount(), 1);
  ExpectCacheMatches(staff);
}

TEST_F(KStaffLineTest, InsertObjTakesColumnsOnlyAndInsertCopyCopiesWithoutComputedStems) {
  KStaffLine staff(0, 0, 0);
  KRhythmObj item(0, 210);
  EXPECT_EQ(staff.InsertObj(&item, 0, 2, nullptr, 0), (KLinePair{0, -1}));
  EXPECT_EQ(staff.GetObjCount(), 0);

  KChord* column = Note(0);
  EXPECT_EQ(staff.InsertObj(column, 0, 2, nullptr, 0).first, 1);
  EXPECT_EQ(staff.GetObjAt(2, 0), column);

  const KChord* source = Stemmed(0, 9, 3);
  const std::unique_ptr<const KChord> owned(source);
  EXPECT_EQ(staff.InsertCopy(source, 0, 5, nullptr, 0).first, 1);
  const KChord* copy = AsChord(staff.GetObjAt(5, 0));
  ASSERT_NE(copy, nullptr);
  ASSERT_NE(copy, source);
  EXPECT_EQ(copy->GetVoiceStem(0), 0) << "a computed stem is dropped";
  EXPECT_EQ(copy->GetVoiceStem(1), 3) << "a stored one is kept";
  EXPECT_EQ(staff.InsertCopy(&item, 0, 7, nullptr, 0), (KLinePair{0, -1}));
}

// Keys and deletion at the caret go to the note-entry editor; an insertion
// that replaces clears the column through it first.
TEST_F(KStaffLineTest, KeysDeletionAndReplacingGoThroughTheNoteEntryEditor) {
  KStaffLine staff(0, 0, 0);
  EXPECT_EQ(staff.HandleKey(kQuarter, 0, 0, 2, 17, 0, 0, 0).second, 2);
  const KChord* column = AsChord(staff.GetObjAt(2, 0));
  ASSERT_NE(column, nullptr);
  EXPECT_EQ(column->GetNote(0).position, 17);
  EXPECT_EQ(column->GetNote(0).code, kQuarter);

  staff.DeleteAtCaret(2, 17, 0, 0);
  EXPECT_EQ(staff.GetObjAt(2, 0), nullptr);

  Fill(staff, {Note(4), Note(6)});
  KChord* replacement = Column(4, {{20, kQuarter}});
  const int beams[2] = {0, 0};
  EXPECT_EQ(staff.InsertObj(replacement, 0, 4, beams, 1).first, 1);
  EXPECT_EQ(staff.GetObjCount(), 2) << "the column that stood there is gone";
  EXPECT_EQ(staff.GetObjAt(4, 0), replacement);
}

// A staff whose ABC writer answers a text, to see what the text writer returns.
class AbcStaff : public KStaffLine {
 public:
  std::optional<CString> WriteAbc() override { return CString("X:1"); }
};

TEST_F(KStaffLineTest, PlainTextIsEmptyUnlessTheAbcPreferenceIsOn) {
  AbcStaff staff;
  std::optional<CString> text = staff.WriteText(0, 0, 0);
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(*text, "");
  g_staffTextAsAbc = 1;
  text = staff.WriteText(0, 0, 0);
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(*text, "X:1");
}

}  // namespace
