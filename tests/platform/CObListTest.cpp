#include "ArchiveTestClasses.h"

#include "platform/CObList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Notes numbered 0..n-1 that outlive the lists in a test.
class CObListTest : public testing::Test {
 protected:
  TNote* Note(int i) {
    while (static_cast<int>(m_notes.size()) <= i) {
      m_notes.push_back(std::make_unique<TNote>(static_cast<WORD>(m_notes.size()), ""));
    }
    return m_notes[static_cast<std::size_t>(i)].get();
  }

  // The list's note numbers, head to tail, checked against a walk from the tail.
  static std::string Contents(const CObList& list) {
    std::string forward;
    std::string backward;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
      forward += std::to_string(static_cast<const TNote*>(list.GetNext(pos))->pos);
    }
    for (POSITION pos = list.GetTailPosition(); pos != nullptr;) {
      backward.insert(0, std::to_string(static_cast<const TNote*>(list.GetPrev(pos))->pos));
    }
    EXPECT_EQ(forward, backward);
    EXPECT_EQ(static_cast<int>(forward.size()), list.GetCount());
    return forward;
  }

 private:
  std::vector<std::unique_ptr<TNote>> m_notes;
};

TEST_F(CObListTest, PositionsStayValidWhileOthersAreInsertedAndRemoved) {
  CObList list;
  const POSITION p1 = list.AddTail(Note(1));
  const POSITION p2 = list.AddTail(Note(2));
  const POSITION p3 = list.AddTail(Note(3));
  const POSITION p0 = list.AddHead(Note(0));
  list.InsertBefore(p2, Note(4));
  list.InsertAfter(p2, Note(5));
  EXPECT_EQ(Contents(list), "014253");

  list.RemoveAt(p1);
  list.RemoveAt(p3);
  list.RemoveAt(p0);
  EXPECT_EQ(Contents(list), "425");
  EXPECT_EQ(list.GetAt(p2), Note(2));

  POSITION walk = p2;
  EXPECT_EQ(list.GetNext(walk), Note(2));
  EXPECT_EQ(list.GetAt(walk), Note(5));
  EXPECT_EQ(list.GetNext(walk), Note(5));
  EXPECT_EQ(walk, nullptr);

  list.SetAt(p2, Note(6));
  list.GetAt(list.GetHeadPosition()) = Note(7);
  EXPECT_EQ(Contents(list), "765");
  EXPECT_EQ(list.RemoveHead(), Note(7));
  EXPECT_EQ(list.RemoveTail(), Note(5));
  EXPECT_EQ(list.GetHeadPosition(), p2);
  EXPECT_EQ(list.GetTailPosition(), p2);
}

TEST_F(CObListTest, SearchesByElementAndIndex) {
  CObList list;
  for (int i : {0, 1, 2, 1}) list.AddTail(Note(i));
  const POSITION first = list.Find(Note(1));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, list.FindIndex(1));
  EXPECT_EQ(list.Find(Note(1), first), list.FindIndex(3));
  EXPECT_EQ(list.Find(Note(1), list.FindIndex(3)), nullptr);
  EXPECT_EQ(list.Find(Note(9)), nullptr);

  struct Case {
    int index;
    int note;  // -1: no position
  };
  const Case cases[] = {{0, 0}, {2, 2}, {3, 1}, {4, -1}, {-1, -1}};
  for (const Case& c : cases) {
    const POSITION pos = list.FindIndex(c.index);
    EXPECT_EQ(pos != nullptr ? static_cast<TNote*>(list.GetAt(pos))->pos : -1, c.note) << c.index;
  }
}

TEST_F(CObListTest, AddsWholeListsInOrderEvenToThemselves) {
  CObList list;
  CObList other;
  list.AddTail(Note(1));
  other.AddTail(Note(2));
  other.AddTail(Note(3));
  list.AddTail(&other);
  list.AddHead(&other);
  EXPECT_EQ(Contents(list), "23123");
  list.AddTail(&list);
  EXPECT_EQ(Contents(list), "2312323123");
  other.AddHead(&other);
  EXPECT_EQ(Contents(other), "2323");
}

TEST_F(CObListTest, NullPositionsAndEmptyListsAreHarmless) {
  CObList list;
  EXPECT_EQ(list.GetHead(), nullptr);
  EXPECT_EQ(list.GetTail(), nullptr);
  EXPECT_EQ(list.RemoveHead(), nullptr);
  EXPECT_EQ(list.RemoveTail(), nullptr);
  POSITION none = nullptr;
  EXPECT_EQ(list.GetNext(none), nullptr);
  EXPECT_EQ(list.GetPrev(none), nullptr);
  list.GetAt(nullptr) = Note(1);  // lands nowhere
  EXPECT_EQ(list.GetAt(nullptr), nullptr);
  list.SetAt(nullptr, Note(1));
  list.RemoveAt(nullptr);
  EXPECT_TRUE(list.IsEmpty());

  list.InsertAfter(nullptr, Note(2));   // at the tail
  list.InsertBefore(nullptr, Note(1));  // at the head
  list.InsertAfter(nullptr, Note(3));
  EXPECT_EQ(Contents(list), "123");
}

TEST_F(CObListTest, MovingKeepsPositions) {
  CObList list;
  list.AddTail(Note(1));
  const POSITION p2 = list.AddTail(Note(2));
  CObList moved(std::move(list));
  EXPECT_TRUE(list.IsEmpty());  // a moved-from list is empty
  EXPECT_EQ(moved.GetAt(p2), Note(2));
  moved.InsertBefore(p2, Note(3));
  EXPECT_EQ(Contents(moved), "132");
  list = std::move(moved);
  EXPECT_EQ(Contents(list), "132");
  EXPECT_EQ(list.GetTailPosition(), p2);
}

}  // namespace
