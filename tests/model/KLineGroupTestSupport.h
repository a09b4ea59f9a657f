#pragma once
// Shared pieces of the line-group tests: a line list standing in for the
// document (it owns its lines and hands them out by list position), a list
// line that answers the staff and tablature hooks, and a builder of groups
// over such lines.

#include <initializer_list>
#include <vector>

#include "LineTestSupport.h"
#include "model/KLineGroup.h"

// Line kinds beyond those of LineTestSupport.h.
inline constexpr int kBass = 1;
inline constexpr int kBassTab = 15;
inline constexpr int kPercussion = 16;

inline constexpr DWORD kUpperStaff = KLineObj::kFlagPairUpper | KLineObj::kFlagPairedStaff;
inline constexpr DWORD kLowerStaff = KLineObj::kFlagPairedStaff;

// A list line that keeps the partner a group links to it and reports a
// string count of its own.
class GroupLine : public KListLine {
 public:
  explicit GroupLine(int type, int key = 0, DWORD flags = 0) : KListLine(key, type, 0, kNoGroup, flags) {}
  void SetPartnerStaff(KListLine* partner) override {
    m_partner = partner;
    ++m_partnerCalls;
  }
  int GetStringCount() const override { return m_strings; }

  KListLine* Partner() const { return m_partner; }
  int PartnerCalls() const { return m_partnerCalls; }
  void SetStrings(int strings) { m_strings = strings; }

 private:
  KListLine* m_partner = nullptr;
  int m_partnerCalls = 0;
  int m_strings = 6;
};

// The document's line list: owns its lines.
class LineList : public KLineSource {
 public:
  LineList() = default;
  LineList(const LineList&) = delete;
  LineList& operator=(const LineList&) = delete;
  ~LineList() override {
    while (!m_lines.IsEmpty()) delete m_lines.RemoveHead();
  }

  KLineObj* GetLineAt(POSITION position) const override {
    return static_cast<KLineObj*>(m_lines.GetAt(position));
  }

  // Text lines are plain line records; the others answer the hooks.
  POSITION Add(int type, int key = 0, DWORD flags = 0) {
    KLineObj* line = type == kText ? new KLineObj(type, 0, KLineObj::kNoGroup, flags, 0)
                                   : static_cast<KLineObj*>(new GroupLine(type, key, flags));
    return m_lines.AddTail(line);
  }
  KLineObj* Line(POSITION position) const { return GetLineAt(position); }
  GroupLine* Group(POSITION position) const { return dynamic_cast<GroupLine*>(GetLineAt(position)); }

 private:
  CObList m_lines{10};
};

// Slot values of a group, for comparisons.
inline std::vector<int> SlotTypes(const KLineGroup& group) {
  std::vector<int> out;
  for (int i = 0; i < group.GetSlotCount(); ++i) out.push_back(group.GetSlotType(i));
  return out;
}
inline std::vector<int> SlotBrackets(const KLineGroup& group) {
  std::vector<int> out;
  for (int i = 0; i < group.GetSlotCount(); ++i) out.push_back(group.GetSlotBracket(i, 1));
  return out;
}
inline std::vector<int> SlotPartners(const KLineGroup& group) {
  std::vector<int> out;
  for (int i = 0; i < group.GetSlotCount(); ++i) out.push_back(group.GetSlotPartner(i));
  return out;
}

// A group of new lines of the kinds (with their flags, 0 when not given), the
// raw bracket numbers and partner offsets set as given (when given), bound to
// its lines. `positions` receives the lines' positions.
struct GroupRecipe {
  std::vector<int> types;
  std::vector<int> brackets = {};
  std::vector<int> partners = {};
  std::vector<DWORD> flags = {};
  std::vector<int> keys = {};
};

inline std::unique_ptr<KLineGroup> MakeGroup(LineList& lines, const GroupRecipe& recipe,
                                             std::vector<POSITION>* positions = nullptr, int id = 7) {
  std::vector<POSITION> made;
  for (std::size_t i = 0; i < recipe.types.size(); ++i)
    made.push_back(lines.Add(recipe.types[i], i < recipe.keys.size() ? recipe.keys[i] : 0,
                             i < recipe.flags.size() ? recipe.flags[i] : 0));
  auto group = std::make_unique<KLineGroup>(id, made, recipe.types, 0);
  for (std::size_t i = 0; i < recipe.brackets.size(); ++i) group->SetSlotBracket(int(i), recipe.brackets[i]);
  for (std::size_t i = 0; i < made.size(); ++i) {
    group->SetSlotLine(int(i), lines.Line(made[i]));
    if (i < recipe.partners.size()) group->SetSlotPartner(int(i), recipe.partners[i]);
  }
  if (positions != nullptr) *positions = made;
  return group;
}
