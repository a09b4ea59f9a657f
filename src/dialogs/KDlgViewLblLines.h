#pragma once
// KDlgViewLblLines: which labelled lines are shown. Each label of the score
// (and "  - unlabeled -" for every unlabelled line, the first entry) stands
// in the list of visible or of hidden lines; moving an entry across hides or
// shows every line that carries its label.

#include <vector>

#include "platform/ModalDialog.h"

class KDlgViewLblLines : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5521;
  static constexpr UINT kIdHelp = 1379;
  static constexpr UINT kIdVisible = 1725;
  static constexpr UINT kIdHidden = 1726;
  static constexpr UINT kIdAllVisible = 1727;
  static constexpr UINT kIdInvert = 1728;
  static constexpr UINT kIdHide = 40001;
  static constexpr UINT kIdShow = 40002;
  static constexpr UINT kIdVisibleLabel = 40003;
  static constexpr UINT kIdHiddenLabel = 40004;

  KDlgViewLblLines() : KModalDialog(kTemplateId) {}

  // One entry per label, in order of first appearance; visible 1 or 0.
  std::vector<CString> labels;
  std::vector<int> visible;

  BOOL OnInitDialog() override;
  // The entry chosen in the visible list goes to the hidden one, and back.
  void OnHide();
  void OnShow();
  void OnMakeAllVisible();
  void OnInvert();
  void OnHelp();

  // The texts each list shows.
  std::vector<std::string> VisibleTexts() const { return Texts(1); }
  std::vector<std::string> HiddenTexts() const { return Texts(0); }

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  std::vector<std::string> Texts(int shown) const;
  // The entry behind the nth item of a list; -1 when there is none.
  int EntryOf(int shown, int item) const;
  void Refill();

  int m_visibleChoice = -1;
  int m_hiddenChoice = -1;
};
