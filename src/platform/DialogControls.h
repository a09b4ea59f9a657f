#pragma once
// The controls of a dialog model, declared by id. Each control has a kind, a
// caption ('&' marks the mnemonic), the member it exchanges with, the
// framework's checks (integer range, text length) and its handlers. The table
// also holds what the window shows: the value of every control as the user
// sees and changes it. The Qt binder copies that state to and from widgets;
// tests change it directly, as a user would.
//
// Exchange follows the framework's: loading shows the members in the
// controls; storing checks every control first and writes the members only
// when all pass, so a refused entry changes nothing.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/CString.h"
#include "platform/WinTypes.h"

enum class DialogControlKind {
  kEdit,      // text, optionally limited in length
  kNumber,    // an integer typed as text, within a range
  kReal,      // a decimal number typed as text
  kCheck,     // check box: 0 or 1
  kRadio,     // radio button; the first of a group carries the group's value
  kCombo,     // drop-down list: the chosen item's index
  kList,      // list box: the chosen item's index
  kStatic,    // static text
  kIcon,      // the question icon of a choice dialog
  kGroup,     // group box: a caption around related controls
  kButton,    // push button
  kPicture,   // an image the model draws, which reports the mouse and keys to it
  kSpin,      // up and down arrows that step a value (a spinner or a small scroll bar)
  kProgress,  // a progress bar showing value within minimum..maximum
};

class CBitmap;

// Key flags of a mouse press (the framework's MK_SHIFT and MK_CONTROL).
inline constexpr UINT kDialogMouseShift = 0x0004;
inline constexpr UINT kDialogMouseControl = 0x0008;

// A mouse press on a picture, in the picture's pixels.
struct DialogMouse {
  int x = 0;
  int y = 0;
  int button = 1;  // 1 left, 2 right
  bool doubleClick = false;
  UINT flags = 0;  // kDialogMouseShift, kDialogMouseControl
};

enum class DialogButtonRole {
  kOk,      // checks and takes the entered values, then closes
  kCancel,  // closes without taking anything
  kHelp,    // opens the help page; the dialog stays open
  kAction,  // runs its handler; the dialog stays open
  kCloses,  // closes the dialog with its own id as the end code
};

// The framework's standard messages of the data exchange; their ids are the
// help ids the framework gives them.
constexpr UINT kIdpParseInt = 0xF110;         // "Please enter an integer."
constexpr UINT kIdpParseIntRange = 0xF112;    // "Please enter an integer between %1 and %2."
constexpr UINT kIdpParseReal = 0xF113;        // "Please enter a number."
constexpr UINT kIdpParseStringSize = 0xF114;  // "Please enter no more than %1 characters."

struct DialogControl {
  UINT id = 0;
  DialogControlKind kind = DialogControlKind::kStatic;
  std::string caption;

  // The member exchanged: text for edits, a number for the others.
  CString* textMember = nullptr;
  int* numberMember = nullptr;
  double* realMember = nullptr;
  // Checks made when the values are taken.
  int maxChars = -1;  // -1: no limit
  int minimum = 0;
  int maximum = 0;
  std::vector<std::string> items;  // combo and list entries
  UINT groupFirst = 0;             // radio: the first radio of its group
  DialogButtonRole role = DialogButtonRole::kAction;
  std::function<void()> handler;    // button press
  std::function<void()> onChange;   // the user changed the value
  std::function<void(int)> onStep;  // spin: the user stepped up (+1) or down (-1)
  // Pictures: the bitmap the model keeps drawn (owned by the model), its
  // size, and what the model does with the mouse and keys over it (a key
  // handler returns false for keys it leaves to the window).
  CBitmap* picture = nullptr;
  int width = 0;
  int height = 0;
  std::function<void(const DialogMouse&)> onMouse;
  std::function<bool(int virtualKey, int character)> onKey;
  // A picture of marks on the window's own background (a brace beside rows
  // of controls): its white pixels show the window, not a white box.
  bool inkOnly = false;
  // Combo and list boxes: a character typed while the list has the focus
  // (type-ahead); returns false for characters left to the window.
  std::function<bool(int character)> onType;
  // Runs when the control gets the keyboard focus.
  std::function<void()> onFocus;
  // List boxes: whether the user chooses several rows (Ctrl and Shift with
  // the click or the arrows), the rows chosen (in rising order; `value` is
  // the caret row), and what a double click on a row does.
  bool multiple = false;
  std::vector<int> selection;
  // List boxes shown as a table: the column headings; each item then holds
  // its fields separated by tabs (a leading tab: no field), as the
  // framework's list box with tab stops shows them.
  std::vector<std::string> columns;
  std::function<void(int row)> onDoubleClick;

  // What the window shows.
  std::string text;      // edit and number text
  int value = 0;         // check state, radio checked, chosen index (-1 none), spin position
  bool entered = false;  // the user changed it since the members were last shown
  bool visible = true;   // the window shows the control
  bool enabled = true;   // the user can change or press it

  // Runs when the user changes the control's value (typing in an edit).
  DialogControl& WhenChanged(std::function<void()> handler_) {
    onChange = std::move(handler_);
    return *this;
  }
  // Runs when the user double-clicks a row of a list box.
  DialogControl& WhenDoubleClicked(std::function<void(int row)> handler_) {
    onDoubleClick = std::move(handler_);
    return *this;
  }
  DialogControl& InkOnly() {
    inkOnly = true;
    return *this;
  }
  DialogControl& WithColumns(std::vector<std::string> headings) {
    columns = std::move(headings);
    return *this;
  }
  bool IsButton() const { return kind == DialogControlKind::kButton; }
  // Takes part in the exchange with a member.
  bool Exchanges() const { return textMember != nullptr || numberMember != nullptr || realMember != nullptr; }
};

// Why the entered values were refused: the message shown and the control
// that gets the focus to be corrected.
struct DialogFailure {
  UINT controlId = 0;
  UINT messageId = 0;
  std::string message;
};

class DialogControls {
 public:
  // The window's caption.
  void SetTitle(std::string title) { m_title = std::move(title); }
  const std::string& Title() const { return m_title; }

  // Declaring the controls, in reading order. Each returns the new control.
  DialogControl& Static(UINT id, std::string caption);
  DialogControl& Icon(UINT id);
  DialogControl& Group(UINT id, std::string caption);
  DialogControl& Edit(UINT id, CString& member, int maxChars = -1);
  DialogControl& Number(UINT id, int& member, int minimum, int maximum);
  // A decimal number, shown with up to 15 significant digits.
  DialogControl& Real(UINT id, double& member);
  DialogControl& Check(UINT id, std::string caption, int& member);
  // The first radio of a group: the member holds the index of the checked
  // radio within the group, -1 for none.
  DialogControl& RadioGroup(UINT id, std::string caption, int& member);
  // A further radio of the group declared last.
  DialogControl& Radio(UINT id, std::string caption);
  DialogControl& Combo(UINT id, int& member, std::vector<std::string> items);
  DialogControl& List(UINT id, int& member, std::vector<std::string> items);
  // A list box of several chosen rows (the framework's extended selection):
  // the member holds the caret row; the chosen rows are the control's
  // selection.
  DialogControl& MultiList(UINT id, int& member, std::vector<std::string> items);
  DialogControl& Button(UINT id, std::string caption, DialogButtonRole role,
                        std::function<void()> handler = {});
  DialogControl& Picture(UINT id, CBitmap& bitmap, int width, int height);
  // Arrows that step something the dialog shows elsewhere; onStep gets +1 for
  // up and -1 for down.
  DialogControl& Spin(UINT id, std::function<void(int)> onStep);
  // A progress bar over minimum..maximum; the dialog moves it with SetShown.
  DialogControl& Progress(UINT id, int minimum, int maximum);
  // A member that is not shown in a control but is restored when the dialog
  // is cancelled, as the exchanged members are.
  void Keep(CString& member) { m_keptTexts.push_back(&member); }
  void Keep(int& member) { m_keptNumbers.push_back(&member); }

  const std::deque<DialogControl>& All() const { return m_controls; }
  const DialogControl* Find(UINT id) const;
  DialogControl* Find(UINT id);
  // The radios of the group that starts at the first id, in order.
  std::vector<const DialogControl*> RadiosOf(UINT firstId) const;

  // The user's side. Each of these throws std::logic_error for an id that is
  // not a control of that kind (a fault of the caller), marks the control as
  // entered and runs its change handler.
  void SetText(UINT id, std::string_view text);  // edit, number and real
  void SetChecked(UINT id, int checked);         // check box; a radio is checked with 1
  void Select(UINT id, int index);               // combo and list (a multiple list chooses that row alone)
  // A list of several rows: the rows chosen and the caret row among them.
  void SelectRows(UINT id, std::vector<int> rows, int caret);
  // A double click on a row of a list (the row becomes the one chosen first).
  void DoubleClick(UINT id, int row);
  void Click(UINT id, const DialogMouse& mouse);  // picture
  // A click on the window itself, outside every control that takes the mouse.
  void ClickWindow(const DialogMouse& mouse) {
    if (onWindowMouse) onWindowMouse(mouse);
  }
  // What the model does with such a click (none: nothing).
  std::function<void(const DialogMouse&)> onWindowMouse;
  bool PressKey(UINT id, int virtualKey, int character);  // picture; false when not taken
  bool TypeChar(UINT id, int character);                  // combo and list; false when not taken
  void Focus(UINT id);                                    // the control gets the focus
  void Step(UINT id, int delta);                          // spin: +1 up, -1 down
  // The state shown.
  std::string Text(UINT id) const;
  int Checked(UINT id) const;
  int Selected(UINT id) const;
  // The rows chosen in a list (the caret row alone in a list of one choice).
  std::vector<int> SelectedRows(UINT id) const;
  // The index of the checked radio of the group, -1 for none.
  int RadioValue(UINT firstId) const;

  // The dialog's side: what the window shows beside the members. Each throws
  // std::logic_error for an id that is not a control.
  void Show(UINT id, bool visible);
  void Enable(UINT id, bool enabled);
  // The caption of a static text, group box, check box, radio or button.
  void SetCaption(UINT id, std::string caption);
  // The entries of a combo or list box (the choice is kept when it is still
  // an entry, else none).
  void SetItems(UINT id, std::vector<std::string> items);
  // The check of a check box, or a spin's position, shown without a member.
  void SetShown(UINT id, int value);
  // The rows a list of several choices shows chosen (rows it does not have are left out).
  void SetShownRows(UINT id, std::vector<int> rows);
  bool IsShown(UINT id) const;
  bool IsEnabled(UINT id) const;

  // Loading: the members into the controls (all, or those the user has not
  // changed). Handlers and the entered flags are not touched by loading a
  // control except that it counts as unchanged again.
  void Load();
  void LoadUnentered();
  // Loads one control from its member (the first radio of a group: the group).
  void Load(UINT id);
  // The first control whose value the checks refuse, in declared order.
  std::optional<DialogFailure> Check() const;
  // Writes every member from its control; call after Check passed.
  void Store();

  // Remembers the members as they are when the dialog opens ...
  void RememberMembers();
  // ... and puts them back, for Cancel.
  void RestoreMembers() const;

 private:
  DialogControl& Add(UINT id, DialogControlKind kind, std::string caption);
  DialogControl& UserControl(UINT id, std::initializer_list<DialogControlKind> kinds);
  DialogControl& AnyControl(UINT id);
  void Changed(DialogControl& control);
  void LoadOne(DialogControl& control);

  std::string m_title;
  std::deque<DialogControl> m_controls;
  UINT m_lastGroup = 0;
  std::vector<CString*> m_keptTexts;
  std::vector<int*> m_keptNumbers;
  std::vector<std::pair<CString*, CString>> m_savedTexts;
  std::vector<std::pair<int*, int>> m_savedNumbers;
  std::vector<std::pair<double*, double>> m_savedReals;
};

// Parses the text of an integer edit as the framework does: optional blanks,
// an optional sign, digits, optional blanks; nothing else, no overflow.
std::optional<int> ParseDialogInteger(std::string_view text);
// The same for a decimal number: optional blanks, a number with an optional
// sign, fraction and exponent ("." is the decimal point whatever the
// locale), optional blanks.
std::optional<double> ParseDialogReal(std::string_view text);
// A decimal number as the edit shows it: up to 15 significant digits, no
// trailing zeros.
std::string FormatDialogReal(double value);
