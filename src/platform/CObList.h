#pragma once
// CObList: a doubly linked list of CObject pointers, with the framework's
// operations. Every element lives in its own node, so a POSITION stays valid
// while other elements are inserted or removed (lines keep positions across
// edits). The list does not own its elements: whoever holds the list deletes
// them.
//
// Misuse that the framework left undefined is harmless here: a null POSITION
// reads as a null element, and writes, removals and moves through it do
// nothing; GetHead, GetTail, RemoveHead and RemoveTail of an empty list give
// null. InsertBefore(null) adds at the head and InsertAfter(null) at the tail,
// as in the framework. A POSITION of a removed element, or of another list,
// must not be used.

#include "platform/CObject.h"
#include "platform/Position.h"

class CObList : public CObject {
  DECLARE_SERIAL(CObList);

  // The block size is accepted for compatibility; nodes are allocated one by
  // one.
  explicit CObList(int blockSize = 10);
  ~CObList() override;
  CObList(const CObList&) = delete;
  CObList& operator=(const CObList&) = delete;
  // Moving keeps the nodes, so positions move with them to the new list.
  CObList(CObList&& other) noexcept;
  CObList& operator=(CObList&& other) noexcept;

  int GetCount() const { return m_count; }
  bool IsEmpty() const { return m_count == 0; }

  CObject*& GetHead();
  CObject* GetHead() const;
  CObject*& GetTail();
  CObject* GetTail() const;
  CObject* RemoveHead();
  CObject* RemoveTail();

  POSITION AddHead(CObject* element);
  POSITION AddTail(CObject* element);
  // Adds every element of another list (or of this one), keeping their order.
  void AddHead(const CObList* list);
  void AddTail(const CObList* list);
  // Moves every node of another list to the end of this one, keeping their
  // order and their positions; the other list is left empty.
  void TakeTail(CObList& other);
  void RemoveAll();

  POSITION GetHeadPosition() const;
  POSITION GetTailPosition() const;
  // The element at `position`; `position` moves to the next (previous)
  // element, or becomes null past the end.
  CObject*& GetNext(POSITION& position);
  CObject* GetNext(POSITION& position) const;
  CObject*& GetPrev(POSITION& position);
  CObject* GetPrev(POSITION& position) const;
  CObject*& GetAt(POSITION position);
  CObject* GetAt(POSITION position) const;
  void SetAt(POSITION position, CObject* element);
  void RemoveAt(POSITION position);
  POSITION InsertBefore(POSITION position, CObject* element);
  POSITION InsertAfter(POSITION position, CObject* element);

  // The first position holding `element`, searching after `startAfter` (from
  // the head when null); null when absent.
  POSITION Find(const CObject* element, POSITION startAfter = nullptr) const;
  // The position of the element with this zero-based index, or null.
  POSITION FindIndex(int index) const;

  // Storing: the count, then each element by the archive's object protocol.
  // Loading appends the elements read to the list.
  void Serialize(CArchive& ar) override;

 private:
  struct Node {
    Node* next;
    Node* prev;
    CObject* element;
  };

  static Node* NodeOf(POSITION position) { return reinterpret_cast<Node*>(position); }
  static POSITION PositionOf(Node* node) { return reinterpret_cast<POSITION>(node); }
  CObject*& NullElement();
  Node* Link(Node* before, Node* after, CObject* element);
  void Unlink(Node* node);

  Node* m_head = nullptr;
  Node* m_tail = nullptr;
  int m_count = 0;
  // What a null position or an empty list hands out by reference.
  CObject* m_nullElement = nullptr;
};
