#pragma once
// A property sheet: several dialog models shown as the tabs of one window,
// with one OK and one Cancel for all of them. Each page is an ordinary
// KModalDialog (its controls by id, its layout, its checks); its caption is
// the title its controls declare. The sheet owns none of its pages.
//
// Opening shows every page's members in its controls. OK asks every page in
// tab order to check and take its values; the first page that refuses becomes
// the active page and the sheet stays open. Cancel puts back every page's
// members.

#include <string>
#include <vector>

#include "platform/ModalDialog.h"
#include "platform/WinTypes.h"

class KPropertySheet {
 public:
  // id names the sheet to scripts (the command that opens it).
  KPropertySheet(UINT id, std::string caption) : m_id(id), m_caption(std::move(caption)) {}
  KPropertySheet(const KPropertySheet&) = delete;
  KPropertySheet& operator=(const KPropertySheet&) = delete;

  UINT GetSheetId() const { return m_id; }
  const std::string& Caption() const { return m_caption; }

  void AddPage(KModalDialog& page) { m_pages.push_back(&page); }
  const std::vector<KModalDialog*>& Pages() const { return m_pages; }
  int PageCount() const { return static_cast<int>(m_pages.size()); }
  KModalDialog& Page(int index) const { return *m_pages[static_cast<size_t>(index)]; }

  int GetActiveIndex() const { return m_active; }
  void SetActivePage(int index) { m_active = index; }

  // The sheet opens: every page opens (OnInitDialog).
  void OnInit();
  // OK: false, with the refusing page active, when a page does not take its values.
  bool OnOK();
  // Cancel: every page puts back its members.
  void OnCancel();

  // Runs the sheet through the current UI port; IDOK or IDCANCEL.
  int DoModal();

 private:
  UINT m_id;
  std::string m_caption;
  std::vector<KModalDialog*> m_pages;
  int m_active = 0;
};
