#pragma once
// The Ad-Tab fingering guide: a small window beside the score that shows
// which shape stands for which finger while fingering marks are entered on
// tablature digits (F1 to F4). The main frame opens one at most and closes it
// when its OK is pressed; Help (also Escape) opens the guide's help page and
// leaves the window open.

#include <QDialog>
#include <functional>

class KDlgAdTabLegend : public QDialog {
 public:
  // onClose: the frame's closing of the guide (OK).
  KDlgAdTabLegend(QWidget* parent, std::function<void()> onClose);

  // The Help button's work; also what Escape does.
  void OnHelp();

 protected:
  void reject() override { OnHelp(); }
  void closeEvent(QCloseEvent* event) override;

 private:
  std::function<void()> m_onClose;
};
