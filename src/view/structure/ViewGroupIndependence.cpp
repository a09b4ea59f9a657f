// Edit/Edit Group Lines Independently: switches independent editing of the
// lines of a line group on and off. While it is on, the bars of one line no
// longer move the others, and mutual translation and automatic wrap (which
// would move them) are off; turning it off brings back what it switched off.

#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/core/ViewMirrors.h"

namespace {

constexpr int kModeMessages = 1;
constexpr int kModeLocked = 2;
constexpr UINT kNowIndependent = 8231;
constexpr UINT kNowLinked = 8232;

}  // namespace

void CStavlinView::OnEditGroupLinesIndependently() {
  if (m_independenceMode == kModeLocked) return;
  m_independentEditing = m_independentEditing != 0 ? 0 : 1;
  if (m_independentEditing != 0) {
    if (m_mutualTranslation != 0) {
      m_translationRestore = 1;
      OnOptionsMutualTranslation();
    }
    if (m_autoWrap != 0) {
      m_autoWrapRestore = 1;
      OnOptionsAutoWrapMusic();
    }
    if (m_independenceMode == kModeMessages) AfxMessageBox(kNowIndependent, MB_OK | MB_ICONINFORMATION);
  } else {
    if (m_translationRestore != 0 && m_mutualTranslation == 0) OnOptionsMutualTranslation();
    if (m_autoWrapRestore != 0 && m_autoWrap == 0) OnOptionsAutoWrapMusic();
    if (m_independenceMode == kModeMessages) AfxMessageBox(kNowLinked, MB_OK | MB_ICONINFORMATION);
  }
  g_viewMirrors.independentEditing = m_independentEditing;
}

std::span<const KViewCommandHandler> GroupIndependenceCommandHandlers() {
  static constexpr KViewCommandHandler kHandlers[] = {
      {cmd::kEditGroupLinesIndependently, cmd::kEditGroupLinesIndependently,
       [](CStavlinView& v, UINT) {
         v.m_independenceMode = kModeMessages;
         v.OnEditGroupLinesIndependently();
       }},
  };
  return kHandlers;
}
