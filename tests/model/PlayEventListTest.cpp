// Walking a line's play events by column and finding the events of a column span.

#include <gtest/gtest.h>

#include <vector>

#include "model/KListLine.h"
#include "model/KMIDIObj.h"

namespace {

constexpr int kNoKey = 10000;

// Events given as (column, key, length); a length of 20000004 is a control event.
struct EventEntry {
  int column;
  int key;
  int length;
};

class PlayEventListTest : public ::testing::Test {
 protected:
  void Fill(std::initializer_list<EventEntry> entries) {
    for (const EventEntry& s : entries) {
      auto* event = new KMIDIObj(KMidiEventRecord{0, s.column, 0, 0x90 | s.key << 8 | 64 << 16, 0, s.length});
      line.GetPlayEvents()->AddTail(event);
    }
  }
  int IndexOf(const KMIDIObj* event) {
    int i = 0;
    for (POSITION node = line.GetPlayEvents()->GetHeadPosition(); node != nullptr; ++i) {
      if (line.GetPlayEvents()->GetNext(node) == event) return i;
    }
    return -1;
  }
  KListLine line{0, 0, 0, -1, 0};
};

TEST_F(PlayEventListTest, NextEventAtWalksOneColumnOnly) {
  Fill({{0, 60, 480}, {2, 61, 480}, {2, 62, 480}, {3, 63, 480}});
  struct Case {
    int column;
    std::vector<int> keys;
  } cases[] = {{0, {60}}, {1, {}}, {2, {61, 62}}, {3, {63}}, {4, {}}};
  for (const Case& c : cases) {
    std::vector<int> keys;
    POSITION cursor = nullptr;
    do {
      KMIDIObj* event = line.GetNextPlayEventAt(c.column, cursor);
      if (event == nullptr) break;
      keys.push_back(event->GetData1());
    } while (cursor != nullptr);
    EXPECT_EQ(keys, c.keys) << c.column;
  }
}

TEST_F(PlayEventListTest, SpanFindsFirstAndLastEventsByItsRules) {
  Fill({{0, 20, 20000004}, {1, 60, 480}, {1, 64, 480}, {3, 60, 480}, {3, 64, 480}, {4, 62, 20000002},
        {6, 65, 480}});
  struct Case {
    int start;
    int end;
    int endKey;
    int startKey;
    int found;
    int first;
    int last;
  } cases[] = {
      {0, 4, kNoKey, kNoKey, 1, 0, 4},  // the control event at 4 never ends a span
      {1, 3, 64, kNoKey, 1, 2, 4},      // start key taken from the end key
      {1, 3, 60, 60, 1, 1, 3},          {1, 3, 67, kNoKey, 0, 0, 0},  // no such key at the start
      {2, 3, 60, 60, 0, 0, 0},          // keyed start must lie at the start column
      {1, 1, kNoKey, kNoKey, 0, 0, 0},  // an empty span
      {1, 5, 64, 64, 0, 0, 0},          // keyed end must lie at the end column
      {7, 9, kNoKey, kNoKey, 0, 0, 0},
  };
  for (const Case& c : cases) {
    KMIDIObj* pair[2] = {nullptr, nullptr};
    POSITION cursor = nullptr;
    const int found = line.FindPlayEventSpan(c.start, nullptr, c.end, cursor, pair, c.endKey, 0, c.startKey);
    EXPECT_EQ(found, c.found) << c.start << ".." << c.end << " key " << c.endKey;
    if (found == 0 || c.found == 0) continue;
    EXPECT_EQ(IndexOf(pair[0]), c.first);
    EXPECT_EQ(IndexOf(pair[1]), c.last);
    EXPECT_EQ(line.GetPlayEvents()->GetAt(cursor), pair[1]);
  }
}

TEST_F(PlayEventListTest, SecondKeyEndsASpanAndTakesTheEndKey) {
  Fill({{0, 60, 480}, {2, 80, 480}});
  KMIDIObj* pair[2] = {nullptr, nullptr};
  POSITION cursor = nullptr;
  ASSERT_EQ(line.FindPlayEventSpan(0, nullptr, 2, cursor, pair, 60, 0, 60, 80), 1);
  EXPECT_EQ(pair[1]->GetData1(), 60);
}

TEST_F(PlayEventListTest, WithoutInterpreterRebuildOnlyClearsTheRange) {
  Fill({{0, 60, 480}, {5, 61, 480}});
  float swing = 0.25f;
  line.InterpretTextForPlayback(-1, &swing, 0, 3);
  ASSERT_EQ(line.GetPlayEvents()->GetCount(), 0);  // a line without objects loses every event
  EXPECT_FLOAT_EQ(line.GetCachedPlayValue(), 0.25f);
}

}  // namespace
