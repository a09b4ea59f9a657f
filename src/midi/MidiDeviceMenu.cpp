#include "midi/MidiDeviceMenu.h"

#include <algorithm>

#include "midi/CMaxMidiIn.h"
#include "midi/CMaxMidiOut.h"
#include "platform/MidiDevices.h"

namespace {
constexpr DWORD kOpenFlags = 0x13320;
}  // namespace

int CMidiDeviceMenu::CheckedIndex() const {
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i].checked) return static_cast<int>(i);
  }
  return -1;
}

int CMidiDeviceMenu::FindItem(const std::string& name) const {
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i].text == name) return static_cast<int>(i);
  }
  return -1;
}

std::string CMidiDeviceMenu::ItemText(int index) const {
  return index >= 0 && index < GetItemCount() ? m_items[static_cast<std::size_t>(index)].text : std::string();
}

void CMidiDeviceMenu::Append(const std::string& text) {
  m_items.push_back({m_firstId + static_cast<UINT>(m_items.size()), text, false});
}

void CMidiDeviceMenu::Build(const char* title, UINT firstId, const std::vector<std::string>& names,
                            int maxItems) {
  m_title = title != nullptr ? title : "";
  m_firstId = firstId;
  m_items.clear();
  for (std::size_t i = 0; i < names.size() && static_cast<int>(i) < maxItems; ++i) {
    m_items.push_back({firstId + static_cast<UINT>(i), names[i], false});
  }
  m_created = true;
}

int CMidiDeviceMenu::IndexOf(int n) const {
  const int count = GetItemCount();
  if (n >= 0 && n < count) return n;
  const long id = n;
  if (id >= static_cast<long>(m_firstId) && id < static_cast<long>(m_firstId) + count) {
    return static_cast<int>(id - static_cast<long>(m_firstId));
  }
  return -1;
}

void CMidiDeviceMenu::Check(int index, bool checked) {
  for (std::size_t i = 0; i < m_items.size(); ++i)
    m_items[i].checked = static_cast<int>(i) == index && checked;
}

void CMidiOutDeviceMenu::Create(const char* title, UINT firstId) {
  MidiDeviceSystem& devices = CurrentMidiDevices();
  const std::string mapper = devices.MapperName();
  Build(title, firstId, devices.OutputNames(), mapper.empty() ? kMaxItems : kMaxItems - 1);
  m_mapperIndex = -1;
  if (!mapper.empty()) {
    m_mapperIndex = GetItemCount();
    Append(mapper);
  }
}

BOOL CMidiOutDeviceMenu::SelectDevice(int n) {
  const int index = IndexOf(n);
  if (index < 0) return FALSE;
  bool opened = false;
  if (m_output != nullptr) {
    m_output->Reset();
    m_output->Close();
    const bool mapper = index == m_mapperIndex;
    // The choice is the device of that name, wherever it stands later.
    m_output->SetWantedName(ItemText(index));
    opened = m_output->Open(mapper ? CMaxMidiOut::kMapper : index, kOpenFlags) != FALSE;
  }
  Check(index, opened);
  return TRUE;
}

void CMidiInDeviceMenu::Create(const char* title, UINT firstId) {
  Build(title, firstId, CurrentMidiDevices().InputNames(), kMaxItems);
}

BOOL CMidiInDeviceMenu::SelectDevice(int n) {
  const int index = IndexOf(n);
  if (index < 0) return FALSE;
  bool opened = false;
  if (m_input != nullptr) {
    m_input->Stop();
    m_input->Close();
    opened = m_input->Open(index, kOpenFlags) != FALSE;
    m_input->Start();
  }
  // The check mark says the device is in use: only when it really opened.
  Check(index, opened);
  return TRUE;
}
