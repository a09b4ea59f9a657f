#include "platform/CObList.h"

#include "platform/CArchive.h"

IMPLEMENT_SERIAL(CObList, CObject, 0);

CObList::CObList(int) {}

CObList::~CObList() { RemoveAll(); }

CObList::CObList(CObList&& other) noexcept
    : CObject(other), m_head(other.m_head), m_tail(other.m_tail), m_count(other.m_count) {
  other.m_head = other.m_tail = nullptr;
  other.m_count = 0;
}

CObList& CObList::operator=(CObList&& other) noexcept {
  if (this != &other) {
    RemoveAll();
    m_head = other.m_head;
    m_tail = other.m_tail;
    m_count = other.m_count;
    other.m_head = other.m_tail = nullptr;
    other.m_count = 0;
  }
  return *this;
}

CObject*& CObList::NullElement() {
  m_nullElement = nullptr;
  return m_nullElement;
}

CObList::Node* CObList::Link(Node* before, Node* after, CObject* element) {
  Node* node = new Node{after, before, element};
  (before != nullptr ? before->next : m_head) = node;
  (after != nullptr ? after->prev : m_tail) = node;
  ++m_count;
  return node;
}

void CObList::Unlink(Node* node) {
  (node->prev != nullptr ? node->prev->next : m_head) = node->next;
  (node->next != nullptr ? node->next->prev : m_tail) = node->prev;
  delete node;
  --m_count;
}

CObject*& CObList::GetHead() { return m_head != nullptr ? m_head->element : NullElement(); }

CObject* CObList::GetHead() const { return m_head != nullptr ? m_head->element : nullptr; }

CObject*& CObList::GetTail() { return m_tail != nullptr ? m_tail->element : NullElement(); }

CObject* CObList::GetTail() const { return m_tail != nullptr ? m_tail->element : nullptr; }

CObject* CObList::RemoveHead() {
  if (m_head == nullptr) return nullptr;
  CObject* element = m_head->element;
  Unlink(m_head);
  return element;
}

CObject* CObList::RemoveTail() {
  if (m_tail == nullptr) return nullptr;
  CObject* element = m_tail->element;
  Unlink(m_tail);
  return element;
}

POSITION CObList::AddHead(CObject* element) { return PositionOf(Link(nullptr, m_head, element)); }

POSITION CObList::AddTail(CObject* element) { return PositionOf(Link(m_tail, nullptr, element)); }

void CObList::AddHead(const CObList* list) {
  if (list == nullptr) return;
  // Walk from the tail, counting, so that adding a list to itself ends.
  Node* node = list->m_tail;
  for (int n = list->m_count; n > 0; --n, node = node->prev) AddHead(node->element);
}

void CObList::AddTail(const CObList* list) {
  if (list == nullptr) return;
  Node* node = list->m_head;
  for (int n = list->m_count; n > 0; --n, node = node->next) AddTail(node->element);
}

void CObList::TakeTail(CObList& other) {
  if (&other == this || other.m_head == nullptr) return;
  if (m_tail == nullptr) {
    m_head = other.m_head;
  } else {
    m_tail->next = other.m_head;
    other.m_head->prev = m_tail;
  }
  m_tail = other.m_tail;
  m_count += other.m_count;
  other.m_head = other.m_tail = nullptr;
  other.m_count = 0;
}

void CObList::RemoveAll() {
  while (m_head != nullptr) {
    Node* next = m_head->next;
    delete m_head;
    m_head = next;
  }
  m_tail = nullptr;
  m_count = 0;
}

POSITION CObList::GetHeadPosition() const { return PositionOf(m_head); }

POSITION CObList::GetTailPosition() const { return PositionOf(m_tail); }

CObject*& CObList::GetNext(POSITION& position) {
  Node* node = NodeOf(position);
  if (node == nullptr) return NullElement();
  position = PositionOf(node->next);
  return node->element;
}

CObject* CObList::GetNext(POSITION& position) const {
  Node* node = NodeOf(position);
  if (node == nullptr) return nullptr;
  position = PositionOf(node->next);
  return node->element;
}

CObject*& CObList::GetPrev(POSITION& position) {
  Node* node = NodeOf(position);
  if (node == nullptr) return NullElement();
  position = PositionOf(node->prev);
  return node->element;
}

CObject* CObList::GetPrev(POSITION& position) const {
  Node* node = NodeOf(position);
  if (node == nullptr) return nullptr;
  position = PositionOf(node->prev);
  return node->element;
}

CObject*& CObList::GetAt(POSITION position) {
  Node* node = NodeOf(position);
  return node != nullptr ? node->element : NullElement();
}

CObject* CObList::GetAt(POSITION position) const {
  Node* node = NodeOf(position);
  return node != nullptr ? node->element : nullptr;
}

void CObList::SetAt(POSITION position, CObject* element) {
  if (Node* node = NodeOf(position)) node->element = element;
}

void CObList::RemoveAt(POSITION position) {
  if (Node* node = NodeOf(position)) Unlink(node);
}

POSITION CObList::InsertBefore(POSITION position, CObject* element) {
  Node* node = NodeOf(position);
  if (node == nullptr) return AddHead(element);
  return PositionOf(Link(node->prev, node, element));
}

POSITION CObList::InsertAfter(POSITION position, CObject* element) {
  Node* node = NodeOf(position);
  if (node == nullptr) return AddTail(element);
  return PositionOf(Link(node, node->next, element));
}

POSITION CObList::Find(const CObject* element, POSITION startAfter) const {
  Node* node = startAfter != nullptr ? NodeOf(startAfter)->next : m_head;
  for (; node != nullptr; node = node->next) {
    if (node->element == element) return PositionOf(node);
  }
  return nullptr;
}

POSITION CObList::FindIndex(int index) const {
  if (index < 0 || index >= m_count) return nullptr;
  Node* node = m_head;
  while (index-- > 0) node = node->next;
  return PositionOf(node);
}

void CObList::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD>(m_count));
    for (Node* node = m_head; node != nullptr; node = node->next) ar.WriteObject(node->element);
  } else {
    // Each element read needs at least two bytes, so a huge count in a
    // damaged file ends at the end of the data, not in memory.
    for (DWORD n = ar.ReadCount(); n > 0; --n) AddTail(ar.ReadObject(nullptr));
  }
}
