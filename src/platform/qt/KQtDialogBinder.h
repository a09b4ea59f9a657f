#pragma once
// Builds a real window for any dialog model from its control table and its
// layout description, and keeps the two in step: the model's control state
// is shown in the widgets, what the user does goes back into it, buttons run
// the model's handlers, OK runs the model's checks (a refusal shows its
// message through the UI port and the window stays open with the focus on
// the control to correct) and Cancel, Escape or the close box cancel.
//
// Layout: columns and rows become box layouts, forms put each label beside
// its field (the label's mnemonic moves to the field), boxes become group
// boxes; OK, Cancel and Help go to a QDialogButtonBox in the desktop's order;
// the tab order is the reading order.

#include <QDialog>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ModalDialog.h"

class QButtonGroup;
class QLayout;
class QBoxLayout;
class QWidget;

class KQtDialogBinder {
 public:
  KQtDialogBinder(KModalDialog& dialog, QWidget* parent);
  // A binder whose window is a plain widget to be placed in another window
  // (a page of a property sheet): Open builds and opens it; the owner runs
  // OK and Cancel through TakeValues and Cancel.
  static std::unique_ptr<KQtDialogBinder> Embedded(KModalDialog& dialog, QWidget* parent);
  ~KQtDialogBinder();
  KQtDialogBinder(const KQtDialogBinder&) = delete;
  KQtDialogBinder& operator=(const KQtDialogBinder&) = delete;

  // Builds the window, opens the model (OnInitDialog) and shows its values,
  // without running the window; Exec does this itself.
  void Open();
  // Opens the window modally and returns the end code.
  int Exec();
  // Acts as a click on the button: OK, Cancel, Help or any other. Returns
  // true when the window has closed.
  bool Press(UINT id);

  QDialog& Window();
  // The widget of a control; nullptr for an id the model does not declare.
  QWidget* WidgetOf(UINT id) const;
  // Shows the model's control state in the widgets again.
  void Refresh();

  // The model checks and takes the values shown (its OK); on a refusal the
  // widgets show the model again and the focus goes where it asks.
  bool TakeValues();
  // The model puts back its members (its Cancel).
  void CancelValues();

  // Runs a model modally in a window of its own: the Qt UI port's runner.
  static int Run(KModalDialog& dialog, QWidget* parent);

 private:
  class BoundWindow;
  void Build();
  QWidget* CreateWidget(const DialogControl& control);
  void PlaceItem(const DialogLayoutItem& item, QBoxLayout& into);
  QWidget* Place(UINT id);
  void Connect(const DialogControl& control, QWidget* widget);
  void UserChanged();
  // Visibility, enabling, captions and entries as the model has them now.
  void RefreshShape(const DialogControl& control, QWidget* widget);
  void ApplyFocus();
  void Cancel();
  void Finish(int code);

  KModalDialog& m_dialog;
  std::unique_ptr<BoundWindow> m_window;
  std::map<UINT, QWidget*> m_widgets;
  std::map<UINT, QButtonGroup*> m_radioGroups;
  std::vector<QWidget*> m_readingOrder;
  std::map<UINT, std::string> m_shownCaptions;
  std::map<UINT, std::vector<std::string>> m_shownItems;
  bool m_built = false;
  bool m_refreshing = false;
  bool m_closed = false;
  int m_openEnd = 0;  // the end code of a dialog that ended while it opened
};
