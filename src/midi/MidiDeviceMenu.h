#pragma once
// The MIDI device submenus as models: one item per device of the machine
// (command ids from a first id on, the device's name as text), the checked
// item, and the choice of a device, which reopens the output or input on it.
// The frame shows them as submenus of Actions | MIDI.

#include <string>
#include <vector>

#include "platform/WinTypes.h"

class CMaxMidiIn;
class CMaxMidiOut;

class CMidiDeviceMenu {
 public:
  struct Item {
    UINT id = 0;
    std::string text;
    bool checked = false;
  };

  virtual ~CMidiDeviceMenu() = default;

  const std::string& Title() const { return m_title; }
  UINT FirstId() const { return m_firstId; }
  const std::vector<Item>& Items() const { return m_items; }
  int GetItemCount() const { return static_cast<int>(m_items.size()); }
  // The index of the checked item, -1 for none.
  int CheckedIndex() const;
  // The index of the item with that text, -1 for none.
  int FindItem(const std::string& name) const;
  // The text of the item, empty for an index out of range.
  std::string ItemText(int index) const;
  bool IsCreated() const { return m_created; }

  // n is an item index (below the item count) or a command id of an item.
  // Reopens the device on the chosen item and checks it; FALSE (nothing
  // changed) for any other n.
  virtual BOOL SelectDevice(int n) = 0;
  // Checks the item (its device is already in use) and no other.
  void MarkChecked(int index) { Check(index, true); }

 protected:
  // Makes the items from the names, at most maxItems of them.
  void Build(const char* title, UINT firstId, const std::vector<std::string>& names, int maxItems);
  // Appends one more item (the mapper's).
  void Append(const std::string& text);
  // The item index n names, -1 when none.
  int IndexOf(int n) const;
  void Check(int index, bool checked);

 private:
  std::string m_title;
  UINT m_firstId = 0;
  std::vector<Item> m_items;
  bool m_created = false;
};

class CMidiOutDeviceMenu final : public CMidiDeviceMenu {
 public:
  // At most ten output items, the mapper's among them.
  static constexpr int kMaxItems = 10;
  // One item per device, then the mapper's item when the system has one.
  void Create(const char* title, UINT firstId);
  // The mapper item's index, -1 when there is none.
  int MapperIndex() const { return m_mapperIndex; }
  void SetOutput(CMaxMidiOut* output) { m_output = output; }
  CMaxMidiOut* GetOutput() const { return m_output; }
  // Reset, close and open the chosen device; the item is checked only when
  // it opened.
  BOOL SelectDevice(int n) override;

 private:
  CMaxMidiOut* m_output = nullptr;
  int m_mapperIndex = -1;
};

class CMidiInDeviceMenu final : public CMidiDeviceMenu {
 public:
  // At most six input devices have an item.
  static constexpr int kMaxItems = 6;
  void Create(const char* title, UINT firstId);
  void SetInput(CMaxMidiIn* input) { m_input = input; }
  CMaxMidiIn* GetInput() const { return m_input; }
  // Stop, close, open and start the chosen device; the item is checked
  // whatever the open gave.
  BOOL SelectDevice(int n) override;

 private:
  CMaxMidiIn* m_input = nullptr;
};
