// The entries of the drawing cache: items, ledger lines, stems, flags and
// beams of staff and tablature columns, and when the cache rebuilds.

#include <memory>

#include "SpeedLineTestSupport.h"

namespace {

using namespace speedline;

class SpeedLineEntries : public SpeedLineTest {
 protected:
  // The entry of column 0 of a cache built over one column of the kind.
  const KBigChord& Only(KChord* column, int kind = kStaffKind, int size = 0, const char* tuning = "") {
    owner = std::make_unique<KListLine>(0, kind, 0, -1, 0);
    FillLine(*owner, {column});
    cache = std::make_unique<KSpeedLine>(kind, 0, owner->GetObjList(), size, 0, 0, 0, tuning);
    const KBigChord* entry = cache->GetEntryAt(column->GetPos());
    EXPECT_NE(entry, nullptr);
    static const KBigChord kNone(-1);
    return entry != nullptr ? *entry : kNone;
  }

  std::unique_ptr<KListLine> owner;
  std::unique_ptr<KSpeedLine> cache;
};

TEST_F(SpeedLineEntries, StemsHaveTheDefaultLengthsOfTheSizeFromTheirExtremeNotes) {
  struct Case {
    const char* what;
    int kind;
    int size;
    Entries entries;
    Texts stems;  // "x,note end kKind free end"
  };
  const std::vector<Case> cases = {
      {"voice 1 quarter", kStaffKind, 0, {{18, 8}}, {"12,112 k1 93"}},
      {"voice 0 quarter", kStaffKind, 0, {{18, 9}}, {"5,112 k0 132"}},
      {"voice 1 quarter, large", kStaffKind, 1, {{18, 8}}, {"16,116 k1 93"}},
      {"voice 0 quarter, large", kStaffKind, 1, {{18, 9}}, {"6,116 k0 141"}},
      {"voice 1 chord", kStaffKind, 0, {{16, 8}, {20, 8}}, {"12,118 k1 87"}},
      {"both voices", kStaffKind, 0, {{14, 8}, {20, 9}}, {"5,118 k0 138", "12,100 k1 81"}},
      {"whole note", kStaffKind, 0, {{18, 12}}, {}},
      {"rest", kStaffKind, 0, {{18, 16}}, {}},
      {"own stem of a nudged half",
       kStaffKind,
       0,
       {{14, 8}, {20, 10, 0, 32}},
       {"12,100 k1 81", "12,118 k1 99"}},
      // Tablature stems hang under the bottom string (row 7 at 155, 210 large),
      // clear of its fret numbers, whatever the voice and the string.
      {"tab voice 1", kTabKind, 0, {Fret(3, 5, 8)}, {"9,162 k1 172"}},
      {"tab voice 0", kTabKind, 0, {Fret(5, 0, 9)}, {"9,162 k0 172"}},
      {"tab voice 1, large", kTabKind, 1, {Fret(3, 5, 8)}, {"11,178 k1 191"}},
      {"tab stemless quarter", kTabKind, 0, {Fret(3, 5, 14)}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KChord* column = c.kind == kTabKind ? TabColumn(0, c.entries) : StaffColumn(0, c.entries);
    EXPECT_EQ(Stems(Only(column, c.kind, c.size, kGuitar)), c.stems);
  }
}

TEST_F(SpeedLineEntries, ShortNotesCarryAFlagAtTheStemsFreeEnd) {
  struct Case {
    const char* what;
    int size;
    Entry note;
    int stem1;
    Texts items;  // head, then flag ("symbol x,y"; x 100 + offset for a flag)
  };
  const std::vector<Case> cases = {
      {"voice 1 eighth", 0, {18, 0}, 0, {"0 5,109", "0 112,89"}},
      {"voice 0 eighth", 0, {18, 1}, 0, {"1 5,109", "1 105,117"}},
      {"voice 1 64th", 0, {18, 6}, 0, {"6 5,109", "6 112,83"}},
      {"voice 1 eighth, large", 1, {18, 0}, 0, {"112 6,112", "12 116,89"}},
      {"plain stem", 0, {18, 0}, KChord::kStemPlain, {"0 5,109"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Items(Only(StaffColumn(0, {c.note}, 0, c.stem1), kStaffKind, c.size)), c.items);
  }
}

TEST_F(SpeedLineEntries, NotesOutsideTheStaffGetLedgerLinesUpToTheirStep) {
  struct Case {
    int size;
    Entries entries;
    std::vector<int> ledgers;
  };
  const std::vector<Case> cases = {
      {0, {{10, 8}}, {88, 94}},  // steps 10 and 12
      {0, {{11, 8}}, {94}},      // rounded towards the staff
      {0, {{12, 8}}, {94}},
      {0, {{13, 8}}, {}},
      {0, {{23, 8}}, {}},
      {0, {{24, 8}}, {130}},
      {0, {{27, 8}}, {130, 136}},  // steps 24 and 26
      {0, {{10, 8}, {26, 8}}, {88, 94, 130, 136}},
      {1, {{10, 8}}, {84, 92}},
      {0, {{8, 16}}, {}},  // a rest high above the staff
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "step " << c.entries.begin()->value << " size " << c.size);
    EXPECT_EQ(Ledgers(Only(StaffColumn(0, c.entries), kStaffKind, c.size)), c.ledgers);
  }
}

TEST_F(SpeedLineEntries, LedgerLinesSpanTheNudgesOfTheNotesOnTheirSide) {
  // A second above the staff with its lower note moved 8 pixels left; a note below unmoved.
  const KBigChord& entry = Only(StaffColumn(0, {{9, 9}, {10, 9, 0, 20}, {26, 8}}));
  EXPECT_EQ(entry.extent[0], -8);
  EXPECT_EQ(entry.extent[1], 0);
  EXPECT_EQ(entry.extent[2], 0);
  EXPECT_EQ(entry.extent[3], 0);
  const KBigChord& inside = Only(StaffColumn(0, {{18, 8}}));
  EXPECT_EQ(inside.extent[0], KBigChord::kNoExtentMin);
  EXPECT_EQ(inside.extent[3], KBigChord::kNoExtentMax);
}

TEST_F(SpeedLineEntries, SignatureColumnsGiveTheirNumbersOrTheKeyAndNothingElse) {
  struct Case {
    const char* what;
    int kind;
    int size;
    Entries entries;
    Texts items;
  };
  const std::vector<Case> cases = {
      {"3/4", kStaffKind, 0, {{1, 225}, {1, 102}, {1, 103}}, {"102 -105,100", "103 -105,112"}},
      {"3/4 large", kStaffKind, 1, {{1, 225}, {1, 102}, {1, 103}}, {"120 -105,100", "121 -105,116"}},
      {"common time", kStaffKind, 0, {{1, 225}, {1, 98}, {1, 103}}, {"98 -105,106"}},
      {"cut time", kTabKind, 0, {{1, 225}, {1, 99}, {1, 101}}, {"99 -105,121"}},
      {"3/4 on tablature", kTabKind, 0, {{1, 225}, {1, 102}, {1, 103}}, {"102 -105,115", "103 -105,127"}},
      {"key", kStaffKind, 0, {{1, 254}, {1, 4}}, {"4 -104,100"}},
      {"key on tablature", kTabKind, 0, {{1, 254}, {1, 4}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KChord* column = c.kind == kTabKind ? TabColumn(0, c.entries) : StaffColumn(0, c.entries);
    const KBigChord& entry = Only(column, c.kind, c.size, kGuitar);
    EXPECT_EQ(Items(entry), c.items);
    EXPECT_EQ(entry.stemCount, 0);
    EXPECT_EQ(entry.ledgerCount, 0);
  }
}

TEST_F(SpeedLineEntries, FretsBecomeFretIdsWithTheMarkOfTheirDuration) {
  constexpr const char* kBanjo = "D D G B D   5594247515400!@@!22";
  struct Case {
    const char* what;
    const char* tuning;
    Entry entry;
    Texts items;
  };
  const std::vector<Case> cases = {
      {"quarter", kGuitar, Fret(4, 5, 8), {"229 0,122"}},
      {"half: hollow mark", kGuitar, Fret(4, 12, 10), {"236 -70,122"}},
      {"whole: hollow mark", kGuitar, Fret(4, 12, 12), {"236 -70,122"}},
      {"stemless quarter", kGuitar, Fret(4, 3, 15), {"227 -119,122"}},
      {"note style 1: the note of its duration", kGuitar, {84, 231, 2}, {"8 5,119"}},
      {"short fifth string from fret 5", kBanjo, Fret(7, 5, 8), {"224 0,155"}},
      {"short fifth string, another fret", kBanjo, Fret(7, 6, 8), {"230 0,155"}},
      {"nudged fret", kGuitar, {84, 231, 0, 2}, {"229 4,122"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Items(Only(TabColumn(0, {c.entry}), kTabKind, 0, c.tuning)), c.items);
  }
}

TEST_F(SpeedLineEntries, TheStringCountComesFromTheTuning) {
  owner = std::make_unique<KListLine>(0, kTabKind, 0, -1, 0);
  EXPECT_EQ(KSpeedLine(kTabKind, 0, owner->GetObjList(), 0, 0, 0, 0, "").GetStringCount(), 6);
  EXPECT_EQ(
      KSpeedLine(kTabKind, 0, owner->GetObjList(), 0, 0, 0, 0, "  E A D G   *002025303500").GetStringCount(),
      4);
  KSpeedLine seven(kTabKind, 0, nullptr, 0, 0, 0, 0, "E A D G B E  323742475156/");
  EXPECT_EQ(seven.GetStringCount(), 7);
  EXPECT_EQ(seven.GetFretLabel(12), CString("12"));
  EXPECT_EQ(seven.GetFretLabel(25), CString(""));
}

TEST_F(SpeedLineEntries, AnEntryHoldsAtMostItsItemsAndStems) {
  // Twenty flagged symbols take two items each: only eleven fit.
  const KBigChord& items = Only(StaffColumn(0, Entries(20, Entry{18, 22, 16})));
  ASSERT_EQ(items.itemCount, KBigChord::kMaxItems);
  for (int i = 0; i < KBigChord::kMaxItems; i += 2) {
    EXPECT_EQ(items.itemSymbol[i], 255);
    EXPECT_EQ(items.itemSymbol[i + 1], 22);
  }
  // Eight nudged quarters want a stem each; five fit.
  const KBigChord& stems = Only(StaffColumn(0, {{8, 8, 0, 32},
                                                {10, 8, 0, 32},
                                                {12, 8, 0, 32},
                                                {14, 8, 0, 32},
                                                {16, 8, 0, 32},
                                                {18, 8, 0, 32},
                                                {20, 8, 0, 32},
                                                {22, 8, 0, 32}}));
  EXPECT_EQ(stems.stemCount, 5);
}

// ---- Beams ---------------------------------------------------------------------

class SpeedLineBeams : public SpeedLineTest {
 protected:
  // Columns 0.. of voice-1 notes at step 18 of the codes, beamed from the
  // first to the last with the stem ends 85 (opening), -87 (inside; stored
  // for -85, as the column rounds it) and 86 (closing).
  void BeamVoice1(std::initializer_list<int> codes) {
    int pos = 0;
    for (int code : codes) {
      KChord* column = StaffColumn(pos, {{18, code}});
      const int last = static_cast<int>(codes.size()) - 1;
      column->SetStemEnd(1, pos == 0 ? 85 : pos == last ? 86 : -85);
      owner.GetObjList()->AddTail(column);
      ++pos;
    }
    for (POSITION node = owner.GetObjList()->GetHeadPosition(); node != nullptr;) {
      const KChord* column = AsChord(owner.GetObjList()->GetNext(node));
      const int last = static_cast<int>(codes.size()) - 1;
      ASSERT_EQ(column->GetStemEnd(1), column->GetPos() == 0 ? 85 : column->GetPos() == last ? 86 : -87);
    }
  }

  KListLine owner{0, kStaffKind, 0, -1, 0};
};

TEST_F(SpeedLineBeams, AGroupOfSixteenthsGetsAMainAndASecondBeamAndNoFlags) {
  BeamVoice1({2, 2, 2, 2});
  KSpeedLine cache(kStaffKind, 0, owner.GetObjList(), 0, 0, 0, 0, "");
  // From the first stem (x 12) to the last (3 columns of 18 further), the
  // second beam 5 pixels nearer the heads.
  EXPECT_EQ(Beams(*cache.GetEntryAt(0)), (Texts{"12,85-66,85", "12,90-66,90"}));
  for (int pos = 1; pos < 4; ++pos) EXPECT_EQ(Beams(*cache.GetEntryAt(pos)), Texts{}) << pos;
  EXPECT_EQ(Stems(*cache.GetEntryAt(0)), Texts{"12,112 k1 85"});
  EXPECT_EQ(Stems(*cache.GetEntryAt(1)), Texts{"12,112 k1 87"});
  EXPECT_EQ(Stems(*cache.GetEntryAt(3)), Texts{"12,112 k1 86"});
  for (int pos = 0; pos < 4; ++pos) EXPECT_EQ(cache.GetEntryAt(pos)->itemCount, 1) << "a flag at " << pos;
}

TEST_F(SpeedLineBeams, ASecondLevelThatStopsAtOneColumnIsAStub) {
  // Eighth, sixteenth, eighth, sixteenth.
  BeamVoice1({0, 2, 0, 2});
  KSpeedLine cache(kStaffKind, 0, owner.GetObjList(), 0, 0, 0, 0, "");
  EXPECT_EQ(Beams(*cache.GetEntryAt(0)), Texts{"12,85-66,85"});
  // Inside the group: neighbours with equal flags, so the stub points right.
  EXPECT_EQ(Beams(*cache.GetEntryAt(1)), Texts{"12,90-19,90"});
  EXPECT_EQ(Beams(*cache.GetEntryAt(2)), Texts{});
  // The closing sixteenth completes six sixteenths: its stub points back.
  EXPECT_EQ(Beams(*cache.GetEntryAt(3)), Texts{"12,90-5,90"});
}

TEST_F(SpeedLineBeams, AGroupWithoutAClosingColumnDrawsFlags) {
  BeamVoice1({0, 0});
  ColumnAt(owner, 1)->SetVoiceStem(1, 0);
  KSpeedLine cache(kStaffKind, 0, owner.GetObjList(), 0, 0, 0, 0, "");
  EXPECT_EQ(cache.GetEntryAt(0)->beamCount, 0);
  EXPECT_EQ(Items(*cache.GetEntryAt(0)), (Texts{"0 5,109", "0 112,81"}));  // the flag follows the stem end
}

TEST_F(SpeedLineBeams, RebuildingFromTheMiddleOfAGroupGivesTheSameEntries) {
  BeamVoice1({0, 2, 0, 2});
  KSpeedLine whole(kStaffKind, 0, owner.GetObjList(), 0, 0, 0, 0, "");
  KSpeedLine part(kStaffKind, 0, owner.GetObjList(), 0, 0, 0, 0, "");
  const KBigChord* kept = part.GetEntryAt(1);
  part.Rebuild(owner.GetObjList(), 2);
  EXPECT_EQ(part.GetEntryAt(1), kept);
  ASSERT_EQ(part.GetObjCount(), 4);
  for (int pos = 0; pos < 4; ++pos) {
    SCOPED_TRACE(pos);
    EXPECT_EQ(Beams(*part.GetEntryAt(pos)), Beams(*whole.GetEntryAt(pos)));
    EXPECT_EQ(Stems(*part.GetEntryAt(pos)), Stems(*whole.GetEntryAt(pos)));
    EXPECT_EQ(Items(*part.GetEntryAt(pos)), Items(*whole.GetEntryAt(pos)));
  }
}

TEST_F(SpeedLineBeams, Voice0HangsItsBeamAboveItsStemEnds) {
  for (int pos = 0; pos < 2; ++pos) {
    KChord* column = StaffColumn(pos, {{14, 1}});
    column->SetStemEnd(0, pos == 0 ? 131 : 132);
    owner.GetObjList()->AddTail(column);
  }
  ASSERT_EQ(ColumnAt(owner, 0)->GetStemEnd(0), 131);
  ASSERT_EQ(ColumnAt(owner, 1)->GetStemEnd(0), 132);
  KSpeedLine cache(kStaffKind, 0, owner.GetObjList(), 0, 0, 0, 0, "");
  EXPECT_EQ(Stems(*cache.GetEntryAt(0)), Texts{"5,100 k0 131"});
  EXPECT_EQ(Stems(*cache.GetEntryAt(1)), Texts{"5,100 k0 131"});  // rounded down to an odd end
  EXPECT_EQ(Beams(*cache.GetEntryAt(0)), Texts{"5,129-23,129"});  // its three lines end on the stem ends
}

// ---- When the cache rebuilds -------------------------------------------------

class SpeedLineRefresh : public SpeedLineTest {
 protected:
  SpeedLineRefresh() {
    FillLine(owner, {StaffColumn(0, {{18, 8}}), StaffColumn(1, {{16, 8}})});
    owner.ClearChanged();
    built = std::make_unique<KSpeedLine>(kStaffKind, 0, owner.GetObjList(), 0, 0, 0, 0, "");
  }
  // The y of the head at column 1, as the cache holds it.
  int HeadY() const { return built->GetEntryAt(1)->itemY[0]; }

  KListLine owner{0, kStaffKind, 0, -1, 0};
  std::unique_ptr<KSpeedLine> built;
};

TEST_F(SpeedLineRefresh, RebuildsWhenTheOwnerIsMarkedChangedAndNotOtherwise) {
  ASSERT_EQ(HeadY(), 103);
  ColumnAt(owner, 1)->SetNoteValue(0, 20);  // changed behind the line's back
  EXPECT_FALSE(built->Refresh(owner, 0, nullptr));
  EXPECT_EQ(HeadY(), 103);
  owner.MarkChanged();
  EXPECT_TRUE(built->Refresh(owner, 0, nullptr));
  EXPECT_EQ(HeadY(), 115);
  EXPECT_EQ(owner.IsChanged(), 0);
  EXPECT_FALSE(built->Refresh(owner, 0, nullptr));
}

TEST_F(SpeedLineRefresh, RebuildsOnceAtAnotherSize) {
  EXPECT_TRUE(built->Refresh(owner, 1, nullptr));
  EXPECT_EQ(built->GetSizeIndex(), 1);
  EXPECT_EQ(HeadY(), 104);  // step 16 at the large size, head 4 above it
  EXPECT_FALSE(built->Refresh(owner, 1, nullptr));
  EXPECT_TRUE(built->Refresh(owner, 0, nullptr));
  EXPECT_EQ(HeadY(), 103);
}

TEST_F(SpeedLineRefresh, RebuildsWhenRetuned) {
  KListLine tab(0, kTabKind, 0, -1, 0);
  FillLine(tab, {TabColumn(0, {Fret(2, 0, 8)})});
  tab.ClearChanged();
  KSpeedLine tabCache(kTabKind, 0, tab.GetObjList(), 0, 0, 0, 0, kGuitar);
  const CString same(kGuitar);
  EXPECT_FALSE(tabCache.Refresh(tab, 0, &same));
  // Four strings start at row 3.
  const CString bass("  E A D G   *002025303500");
  ColumnAt(tab, 0)->SetNoteValue(0, 3);
  EXPECT_TRUE(tabCache.Refresh(tab, 0, &bass));
  EXPECT_EQ(tabCache.GetStringCount(), 4);
  EXPECT_EQ(tabCache.GetEntryAt(0)->itemY[0], 111);
  EXPECT_FALSE(tabCache.Refresh(tab, 0, &bass));
}

TEST_F(SpeedLineRefresh, SettingsOfTheOwnerReachTheCache) {
  owner.SetLinkedLine(new KSpeedLine(kStaffKind, 0, owner.GetObjList(), 0, 0, 0, 0, ""));
  auto* linked = static_cast<KSpeedLine*>(owner.GetLinkedLine());
  owner.SetIndent(12);
  owner.SetKeySignature(4, 0, 0);
  owner.SetSpaceAbove(30, 0);
  EXPECT_EQ(linked->GetIndent(), 12);
  EXPECT_EQ(linked->GetLeadInWidth(0), 34 + 5 * 3);
  EXPECT_EQ(linked->GetSpaceAbove(0), 30);
  EXPECT_EQ(linked->GetRuntimeClass(), RUNTIME_CLASS(KListLine));
}

}  // namespace
