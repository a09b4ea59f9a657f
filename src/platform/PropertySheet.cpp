#include "platform/PropertySheet.h"

#include "platform/UiPort.h"

void KPropertySheet::OnInit() {
  for (KModalDialog* page : m_pages) page->OnInitDialog();
}

bool KPropertySheet::OnOK() {
  for (int i = 0; i < PageCount(); ++i) {
    if (!m_pages[static_cast<size_t>(i)]->OnOK()) {
      m_active = i;
      return false;
    }
  }
  return true;
}

void KPropertySheet::OnCancel() {
  for (KModalDialog* page : m_pages) page->OnCancel();
}

int KPropertySheet::DoModal() { return CurrentUiPort().RunPropertySheet(*this); }
