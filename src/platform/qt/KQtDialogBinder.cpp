#include "platform/qt/KQtDialogBinder.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLinkButton>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStyle>
#include <QStyleOption>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/GdiObjects.h"
#include "platform/UiPort.h"
#include "platform/qt/QtBitmapImage.h"
#include "platform/qt/QtText.h"

// The window: Escape and the close box cancel through the model.
class KQtDialogBinder::BoundWindow : public QDialog {
 public:
  BoundWindow(KQtDialogBinder& binder, QWidget* parent) : QDialog(parent), m_binder(binder) {}
  void reject() override {
    // A page inside another window: Escape is that window's.
    if (!isWindow()) {
      if (auto* top = qobject_cast<QDialog*>(window())) top->reject();
      return;
    }
    m_binder.Cancel();
  }

 protected:
  // A click outside the controls that take the mouse (labels and frames let
  // it through) goes to the model.
  void mousePressEvent(QMouseEvent* event) override {
    DialogControls& controls = m_binder.m_dialog.Controls();
    if (!controls.onWindowMouse) {
      QDialog::mousePressEvent(event);
      return;
    }
    DialogMouse mouse;
    mouse.x = static_cast<int>(event->position().x());
    mouse.y = static_cast<int>(event->position().y());
    mouse.button = event->button() == Qt::RightButton ? 2 : 1;
    if (event->modifiers() & Qt::ShiftModifier) mouse.flags |= kDialogMouseShift;
    if (event->modifiers() & Qt::ControlModifier) mouse.flags |= kDialogMouseControl;
    controls.ClickWindow(mouse);
    m_binder.UserChanged();
  }

 private:
  KQtDialogBinder& m_binder;
};

namespace {

// A static text of this many lines or more scrolls.
constexpr long kScrolledTextLines = 30;

// A picture control: shows the model's bitmap and hands it the mouse and keys.
class PictureWidget : public QWidget {
 public:
  PictureWidget(const DialogControl& control, std::function<void()> afterEvent, QWidget* parent)
      : QWidget(parent), m_control(control), m_afterEvent(std::move(afterEvent)) {
    setFixedSize(std::max(control.width, 1), std::max(control.height, 1));
    setFocusPolicy(control.onKey ? Qt::StrongFocus : Qt::NoFocus);
    if (control.inkOnly) {
      // Marks that come and go keep their place: the controls beside them
      // do not move when one is hidden.
      QSizePolicy policy = sizePolicy();
      policy.setRetainSizeWhenHidden(true);
      setSizePolicy(policy);
    }
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    if (!m_control.inkOnly) painter.fillRect(rect(), Qt::white);
    if (m_control.picture == nullptr) return;
    QImage image = BitmapToQImage(*m_control.picture);
    if (m_control.inkOnly && !image.isNull()) {
      // White is the paper of the picture: the window shows through it.
      image = image.convertToFormat(QImage::Format_ARGB32);
      for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
          if ((row[x] & 0xFFFFFFu) == 0xFFFFFFu) row[x] = 0;
        }
      }
    }
    painter.drawImage(0, 0, image);
  }
  void mousePressEvent(QMouseEvent* event) override { Mouse(event, false); }
  void mouseDoubleClickEvent(QMouseEvent* event) override { Mouse(event, true); }
  void keyPressEvent(QKeyEvent* event) override {
    int key = event->key();
    // The framework's virtual keys for the keys a picture takes.
    switch (key) {
      case Qt::Key_Left:
        key = 0x25;
        break;
      case Qt::Key_Up:
        key = 0x26;
        break;
      case Qt::Key_Right:
        key = 0x27;
        break;
      case Qt::Key_Down:
        key = 0x28;
        break;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        key = 0x0D;
        break;
      default:
        break;
    }
    const QString text = event->text();
    const int character = text.size() == 1 ? text.at(0).unicode() : 0;
    if (m_control.onKey && m_control.onKey(key, character)) {
      m_afterEvent();
      return;
    }
    QWidget::keyPressEvent(event);
  }

 private:
  void Mouse(QMouseEvent* event, bool doubleClick) {
    if (!m_control.onMouse) return;
    DialogMouse mouse;
    mouse.x = static_cast<int>(event->position().x());
    mouse.y = static_cast<int>(event->position().y());
    mouse.button = event->button() == Qt::RightButton ? 2 : 1;
    mouse.doubleClick = doubleClick;
    if (event->modifiers() & Qt::ShiftModifier) mouse.flags |= kDialogMouseShift;
    if (event->modifiers() & Qt::ControlModifier) mouse.flags |= kDialogMouseControl;
    m_control.onMouse(mouse);
    m_afterEvent();
  }

  const DialogControl& m_control;
  std::function<void()> m_afterEvent;
};

// A caption shown where no buddy takes its mnemonic: "&&" is an ampersand,
// a single '&' only marks the letter after it.
QString WithoutMnemonic(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    out += caption[i];
  }
  return ToQString(out);
}

// Captions written for a fixed-width button pad with runs of blanks where
// the text should break; a wrapping button needs single spaces.
QString Squeezed(const std::string& caption) { return ToQString(caption).simplified(); }

// Up and down arrows that step the model: a spin box without a value of its
// own (the arrows, the arrow keys and the wheel step). Only the arrows show:
// the value they step stands in a control of its own beside them, so an
// empty text field here would only look like a box that lost its number.
class StepArrows : public QAbstractSpinBox {
 public:
  StepArrows(QWidget* parent, std::function<void(int)> step)
      : QAbstractSpinBox(parent), m_step(std::move(step)) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setFrame(false);
    lineEdit()->setReadOnly(true);
    lineEdit()->setVisible(false);
    setFixedWidth(ArrowsWidth());
  }
  void stepBy(int steps) override {
    if (steps != 0 && m_step) m_step(steps > 0 ? 1 : -1);
  }

 protected:
  StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
  void resizeEvent(QResizeEvent* event) override {
    QAbstractSpinBox::resizeEvent(event);
    lineEdit()->setVisible(false);
  }

 private:
  // The width of the style's arrow buttons alone.
  int ArrowsWidth() const {
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    option.rect = QRect(0, 0, 200, sizeHint().height());
    const QRect up = style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, this);
    return std::max(up.width(), 12) + 2;
  }

  std::function<void(int)> m_step;
};

// Hands the characters typed into a list to the model's type-ahead; keys
// without text (arrows, Enter, Escape) stay the list's own.
class TypeAhead : public QObject {
 public:
  TypeAhead(QObject* parent, std::function<bool(int)> typed, std::function<void()> focused)
      : QObject(parent), m_typed(std::move(typed)), m_focused(std::move(focused)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn && m_focused) m_focused();
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (text.size() != 1 || !text[0].isPrint() ||
        (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
      return false;
    const char16_t c = text[0].unicode();
    return c < 128 && m_typed(static_cast<int>(c));
  }

 private:
  std::function<bool(int)> m_typed;
  std::function<void()> m_focused;
};

// The rows of a table: each item's fields are separated by tabs (a leading
// tab stands for no field); the columns are as wide as their widest field.
void FillTable(QTreeWidget& table, const std::vector<std::string>& items) {
  table.clear();
  QList<QTreeWidgetItem*> rows;
  for (const std::string& item : items) {
    QStringList fields = ToQString(item).split(u'\t');
    if (!fields.isEmpty() && fields.front().isEmpty() && item.starts_with('\t')) fields.removeFirst();
    for (QString& field : fields) field = field.trimmed();
    rows.push_back(new QTreeWidgetItem(fields));
  }
  table.addTopLevelItems(rows);
  for (int column = 0; column < table.columnCount(); ++column) table.resizeColumnToContents(column);
}

// The caret row and the chosen rows of a list as the model has them.
void ShowListChoice(QAbstractItemView& view, const DialogControl& control) {
  QItemSelectionModel& selection = *view.selectionModel();
  const QAbstractItemModel& model = *view.model();
  const QModelIndex caret = model.index(control.value, 0);
  if (!control.multiple) {
    selection.setCurrentIndex(caret, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return;
  }
  selection.setCurrentIndex(caret, QItemSelectionModel::NoUpdate);
  QItemSelection chosen;
  for (int row : control.selection) {
    const QModelIndex index = model.index(row, 0);
    if (index.isValid()) chosen.select(index, index);
  }
  selection.select(chosen, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QDialogButtonBox::ButtonRole BoxRole(DialogButtonRole role) {
  switch (role) {
    case DialogButtonRole::kOk:
      return QDialogButtonBox::AcceptRole;
    case DialogButtonRole::kCancel:
      return QDialogButtonBox::RejectRole;
    case DialogButtonRole::kHelp:
      return QDialogButtonBox::HelpRole;
    default:
      return QDialogButtonBox::ActionRole;
  }
}

bool InButtonBox(const DialogControl& control) {
  return control.IsButton() &&
         (control.role == DialogButtonRole::kOk || control.role == DialogButtonRole::kCancel ||
          control.role == DialogButtonRole::kHelp);
}

}  // namespace

KQtDialogBinder::KQtDialogBinder(KModalDialog& dialog, QWidget* parent)
    : m_dialog(dialog), m_window(std::make_unique<BoundWindow>(*this, parent)) {}

KQtDialogBinder::~KQtDialogBinder() = default;

std::unique_ptr<KQtDialogBinder> KQtDialogBinder::Embedded(KModalDialog& dialog, QWidget* parent) {
  auto binder = std::make_unique<KQtDialogBinder>(dialog, parent);
  binder->m_window->setWindowFlags(Qt::Widget);
  binder->m_window->setSizeGripEnabled(false);
  return binder;
}

bool KQtDialogBinder::TakeValues() {
  const bool taken = m_dialog.OnOK();
  if (!taken) {
    Refresh();
    ApplyFocus();
  }
  return taken;
}

void KQtDialogBinder::CancelValues() { m_dialog.OnCancel(); }

QDialog& KQtDialogBinder::Window() { return *m_window; }

QWidget* KQtDialogBinder::WidgetOf(UINT id) const {
  const auto it = m_widgets.find(id);
  return it == m_widgets.end() ? nullptr : it->second;
}

QWidget* KQtDialogBinder::CreateWidget(const DialogControl& control) {
  QWidget* widget = nullptr;
  const QString caption = ToQString(control.caption);
  switch (control.kind) {
    case DialogControlKind::kEdit:
    case DialogControlKind::kNumber:
    case DialogControlKind::kReal: {
      auto* edit = new QLineEdit(m_window.get());
      if (control.kind == DialogControlKind::kEdit && control.maxChars >= 0)
        edit->setMaxLength(control.maxChars);
      if (control.kind != DialogControlKind::kEdit)
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(u'0') * 8);
      if (control.kind == DialogControlKind::kEdit) {
        // Wide enough for a typical entry: its limit, or a long line without one.
        const int chars = control.maxChars < 0 ? 48 : std::clamp(control.maxChars, 16, 40);
        edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * chars);
      }
      widget = edit;
      break;
    }
    case DialogControlKind::kCheck:
      widget = new QCheckBox(caption, m_window.get());
      break;
    case DialogControlKind::kRadio: {
      auto* radio = new QRadioButton(caption, m_window.get());
      QButtonGroup*& group = m_radioGroups[control.groupFirst];
      if (group == nullptr) group = new QButtonGroup(m_window.get());
      group->addButton(radio);
      widget = radio;
      break;
    }
    case DialogControlKind::kCombo: {
      auto* combo = new QComboBox(m_window.get());
      for (const std::string& item : control.items) combo->addItem(ToQString(item));
      widget = combo;
      break;
    }
    case DialogControlKind::kList: {
      QAbstractItemView* view = nullptr;
      if (!control.columns.empty()) {
        // A table: one column a field, under headings that scroll with it.
        auto* table = new QTreeWidget(m_window.get());
        table->setRootIsDecorated(false);
        table->setUniformRowHeights(true);
        table->setAllColumnsShowFocus(true);
        QStringList headings;
        for (const std::string& heading : control.columns) headings << ToQString(heading);
        table->setHeaderLabels(headings);
        FillTable(*table, control.items);
        view = table;
      } else {
        auto* list = new QListWidget(m_window.get());
        for (const std::string& item : control.items) list->addItem(ToQString(item));
        view = list;
      }
      // Several rows: a click chooses one, Ctrl adds or removes a row, Shift
      // takes the run from the caret row.
      if (control.multiple) view->setSelectionMode(QAbstractItemView::ExtendedSelection);
      widget = view;
      break;
    }
    case DialogControlKind::kStatic:
      widget = new QLabel(WithoutMnemonic(control.caption), m_window.get());
      break;
    case DialogControlKind::kIcon: {
      auto* icon = new QLabel(m_window.get());
      const int size = m_window->style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
      icon->setPixmap(m_window->style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(size, size));
      icon->setAlignment(Qt::AlignTop);
      widget = icon;
      break;
    }
    case DialogControlKind::kGroup:
      widget = new QGroupBox(caption, m_window.get());
      break;
    case DialogControlKind::kPicture:
      widget = new PictureWidget(
          control, [this] { UserChanged(); }, m_window.get());
      break;
    case DialogControlKind::kSpin: {
      const UINT id = control.id;
      widget = new StepArrows(m_window.get(), [this, id](int delta) {
        if (m_refreshing) return;
        m_dialog.Controls().Step(id, delta);
        UserChanged();
      });
      break;
    }
    case DialogControlKind::kProgress: {
      auto* bar = new QProgressBar(m_window.get());
      bar->setRange(control.minimum, control.maximum);
      bar->setValue(control.value);
      bar->setTextVisible(false);
      widget = bar;
      break;
    }
    case DialogControlKind::kButton:
      if (control.role == DialogButtonRole::kCloses) {
        // A choice that closes the dialog: a large button whose text wraps.
        widget = new QCommandLinkButton(Squeezed(control.caption), m_window.get());
      } else {
        auto* button = new QPushButton(caption, m_window.get());
        button->setAutoDefault(false);
        if (control.role == DialogButtonRole::kOk) button->setDefault(true);
        widget = button;
      }
      break;
  }
  widget->setObjectName(QStringLiteral("control%1").arg(control.id));
  m_widgets[control.id] = widget;
  m_shownCaptions[control.id] = control.caption;
  m_shownItems[control.id] = control.items;
  Connect(control, widget);
  return widget;
}

void KQtDialogBinder::Connect(const DialogControl& control, QWidget* widget) {
  const UINT id = control.id;
  DialogControls& state = m_dialog.Controls();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    QObject::connect(edit, &QLineEdit::textEdited, edit, [this, &state, id](const QString& text) {
      state.SetText(id, FromQString(text));
      UserChanged();
    });
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !control.IsButton()) {
    QObject::connect(button, &QAbstractButton::clicked, button, [this, &state, id](bool checked) {
      state.SetChecked(id, checked ? 1 : 0);
      UserChanged();
    });
  } else if (button) {
    QObject::connect(button, &QAbstractButton::clicked, button, [this, id] { Press(id); });
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    QObject::connect(combo, &QComboBox::activated, combo, [this, &state, id](int index) {
      state.Select(id, index);
      UserChanged();
    });
    if (control.onType) {
      combo->installEventFilter(new TypeAhead(
          combo,
          [this, &state, id](int character) {
            const bool taken = state.TypeChar(id, character);
            if (taken) UserChanged();
            return taken;
          },
          [&state, id] { state.Focus(id); }));
      // With the list dropped down the keys go to the list, whose own search
      // would choose the first row that begins with the letter ("Gb" for G):
      // the model's type-ahead answers them there too, and the open list
      // follows the row it chose.
      QAbstractItemView* list = combo->view();
      list->installEventFilter(new TypeAhead(list,
                                             [this, &state, id, combo, list](int character) {
                                               const bool taken = state.TypeChar(id, character);
                                               if (!taken) return false;
                                               UserChanged();
                                               if (combo->currentIndex() >= 0)
                                                 list->setCurrentIndex(
                                                     combo->model()->index(combo->currentIndex(), 0));
                                               return true;
                                             },
                                             {}));
    }
  } else if (auto* view = qobject_cast<QAbstractItemView*>(widget);
             view != nullptr && control.kind == DialogControlKind::kList) {
    QItemSelectionModel* selection = view->selectionModel();
    if (control.multiple) {
      // The caret row and the chosen rows go to the model together, once
      // both have settled (a click moves the caret, then the choice).
      const auto chosen = [this, &state, id, selection] {
        if (m_refreshing) return;
        std::vector<int> rows;
        for (const QModelIndex& index : selection->selectedRows()) rows.push_back(index.row());
        std::sort(rows.begin(), rows.end());
        const int caret = selection->currentIndex().isValid() ? selection->currentIndex().row() : -1;
        const DialogControl* shown = state.Find(id);
        if (shown != nullptr && shown->selection == rows && shown->value == caret) return;
        state.SelectRows(id, rows, caret);
        UserChanged();
      };
      QObject::connect(selection, &QItemSelectionModel::selectionChanged, view, chosen);
      QObject::connect(selection, &QItemSelectionModel::currentChanged, view, chosen);
    } else {
      QObject::connect(selection, &QItemSelectionModel::currentChanged, view,
                       [this, &state, id](const QModelIndex& current) {
                         if (m_refreshing) return;
                         state.Select(id, current.isValid() ? current.row() : -1);
                         UserChanged();
                       });
    }
    if (control.onDoubleClick) {
      QObject::connect(view, &QAbstractItemView::doubleClicked, view,
                       [this, &state, id](const QModelIndex& index) {
                         if (m_refreshing || !index.isValid()) return;
                         state.DoubleClick(id, index.row());
                         UserChanged();
                       });
    }
  }
}

QWidget* KQtDialogBinder::Place(UINT id) {
  if (WidgetOf(id) != nullptr) return nullptr;  // placed once only
  const DialogControl* control = m_dialog.Controls().Find(id);
  if (control == nullptr) return nullptr;
  QWidget* widget = CreateWidget(*control);
  m_readingOrder.push_back(widget);
  // A page of text longer than the screen holds (a help page's key list)
  // scrolls inside the window, which then fits the screen; its columns line
  // up in a fixed-pitch font.
  if (control->kind == DialogControlKind::kStatic &&
      std::count(control->caption.begin(), control->caption.end(), '\n') >= kScrolledTextLines) {
    auto* label = static_cast<QLabel*>(widget);
    label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* scroll = new QScrollArea(m_window.get());
    scroll->setWidget(label);
    scroll->setWidgetResizable(true);
    const QScreen* screen =
        m_window->screen() != nullptr ? m_window->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize wanted = label->sizeHint();
    const int bar = scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    scroll->setMinimumSize(std::min(wanted.width() + bar + 4, room.width() * 9 / 10),
                           std::min(room.height() * 6 / 10, wanted.height()));
    scroll->setMaximumHeight(room.height() * 7 / 10);
    return scroll;
  }
  return widget;
}

void KQtDialogBinder::PlaceItem(const DialogLayoutItem& item, QBoxLayout& into) {
  using Kind = DialogLayoutItem::Kind;
  switch (item.kind) {
    case Kind::kControl:
      if (QWidget* widget = Place(item.id)) into.addWidget(widget);
      return;
    case Kind::kStretch:
      into.addStretch(1);
      return;
    case Kind::kColumn:
    case Kind::kRow: {
      auto* layout = item.kind == Kind::kRow ? static_cast<QBoxLayout*>(new QHBoxLayout)
                                             : static_cast<QBoxLayout*>(new QVBoxLayout);
      layout->setContentsMargins(0, 0, 0, 0);
      into.addLayout(layout);
      for (const DialogLayoutItem& child : item.children) PlaceItem(child, *layout);
      return;
    }
    case Kind::kGrid: {
      auto* grid = new QGridLayout;
      grid->setContentsMargins(0, 0, 0, 0);
      into.addLayout(grid);
      int r = 0;
      for (const DialogLayoutItem& row : item.children) {
        const std::vector<DialogLayoutItem> cells =
            row.kind == Kind::kRow ? row.children : std::vector<DialogLayoutItem>{row};
        for (size_t c = 0; c < cells.size(); ++c) {
          const DialogLayoutItem& cell = cells[c];
          const int column = static_cast<int>(c);
          if (cell.kind == Kind::kStretch) continue;
          if (cell.kind == Kind::kControl) {
            QWidget* widget = Place(cell.id);
            if (widget == nullptr) continue;
            // A text field fills its cell; anything else stands centred in
            // it, under the centre of its column's heading.
            const bool fills = qobject_cast<QLineEdit*>(widget) != nullptr ||
                               qobject_cast<QComboBox*>(widget) != nullptr ||
                               qobject_cast<QAbstractItemView*>(widget) != nullptr;
            grid->addWidget(widget, r, column, fills ? Qt::Alignment() : Qt::AlignCenter);
            continue;
          }
          auto* holder = new QHBoxLayout;
          holder->setContentsMargins(0, 0, 0, 0);
          grid->addLayout(holder, r, column);
          PlaceItem(cell, *holder);
        }
        ++r;
      }
      return;
    }
    case Kind::kBox: {
      auto* box = qobject_cast<QGroupBox*>(Place(item.id));
      auto* layout = new QVBoxLayout;
      if (box != nullptr) {
        box->setLayout(layout);
        into.addWidget(box);
      } else {
        into.addLayout(layout);
      }
      for (const DialogLayoutItem& child : item.children) PlaceItem(child, *layout);
      return;
    }
    case Kind::kForm:
    case Kind::kField: {
      auto* form = new QFormLayout;
      into.addLayout(form);
      const std::vector<DialogLayoutItem> fields =
          item.kind == Kind::kForm ? item.children : std::vector<DialogLayoutItem>{item};
      for (const DialogLayoutItem& field : fields) {
        auto* label = qobject_cast<QLabel*>(Place(field.id));
        QWidget* widget = Place(field.fieldId);
        if (label != nullptr && widget != nullptr) {
          // The label's mnemonic takes the focus to its field.
          label->setText(ToQString(m_dialog.Controls().Find(field.id)->caption));
          label->setBuddy(widget);
        }
        form->addRow(label, widget);
      }
      return;
    }
  }
}

void KQtDialogBinder::Build() {
  if (m_built) return;
  m_built = true;
  const DialogControls& controls = m_dialog.Controls();
  m_window->setWindowTitle(ToQString(controls.Title()));
  if (m_window->isWindow()) m_window->setSizeGripEnabled(true);
  auto* top = new QVBoxLayout(m_window.get());
  PlaceItem(m_dialog.Layout(), *top);
  // A control the layout does not name still gets its place.
  for (const DialogControl& control : controls.All()) {
    if (!InButtonBox(control) && WidgetOf(control.id) == nullptr) {
      if (QWidget* widget = Place(control.id)) top->addWidget(widget);
    }
  }
  auto* buttons = new QDialogButtonBox(m_window.get());
  for (const DialogControl& control : controls.All()) {
    if (!InButtonBox(control)) continue;
    QWidget* widget = Place(control.id);
    if (auto* button = qobject_cast<QPushButton*>(widget)) buttons->addButton(button, BoxRole(control.role));
  }
  top->addWidget(buttons);
  // F1 opens the dialog's help page, as its Help button does.
  for (const DialogControl& control : controls.All()) {
    if (!control.IsButton() || control.role != DialogButtonRole::kHelp) continue;
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), m_window.get());
    shortcut->setContext(Qt::WindowShortcut);
    const UINT id = control.id;
    QObject::connect(shortcut, &QShortcut::activated, m_window.get(), [this, id] { Press(id); });
    break;
  }
  // Tab order: reading order, then the button row in the order it shows.
  std::vector<QWidget*> order;
  for (QWidget* widget : m_readingOrder) {
    if (widget->focusPolicy() != Qt::NoFocus && widget->parentWidget() != buttons) order.push_back(widget);
  }
  for (QAbstractButton* button : buttons->buttons()) order.push_back(button);
  for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void KQtDialogBinder::RefreshShape(const DialogControl& control, QWidget* widget) {
  if (widget->isVisibleTo(m_window.get()) != control.visible && m_built) widget->setVisible(control.visible);
  if (widget->isEnabled() != control.enabled) widget->setEnabled(control.enabled);
  // Captions and entries the model changed since the window showed them.
  std::string& shownCaption = m_shownCaptions[control.id];
  if (shownCaption != control.caption) {
    shownCaption = control.caption;
    if (auto* label = qobject_cast<QLabel*>(widget);
        label != nullptr && control.kind == DialogControlKind::kStatic) {
      label->setText(label->buddy() != nullptr ? ToQString(control.caption)
                                               : WithoutMnemonic(control.caption));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      button->setText(ToQString(control.caption));
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
      box->setTitle(ToQString(control.caption));
    }
  }
  std::vector<std::string>& shownItems = m_shownItems[control.id];
  if ((control.kind == DialogControlKind::kCombo || control.kind == DialogControlKind::kList) &&
      shownItems != control.items) {
    shownItems = control.items;
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      combo->clear();
      for (const std::string& item : control.items) combo->addItem(ToQString(item));
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
      list->clear();
      for (const std::string& item : control.items) list->addItem(ToQString(item));
    } else if (auto* table = qobject_cast<QTreeWidget*>(widget)) {
      FillTable(*table, control.items);
    }
  }
}

void KQtDialogBinder::Refresh() {
  m_refreshing = true;
  for (auto& [id, group] : m_radioGroups) group->setExclusive(false);
  const QString title = ToQString(m_dialog.Controls().Title());
  if (m_window->windowTitle() != title) m_window->setWindowTitle(title);
  for (const DialogControl& control : m_dialog.Controls().All()) {
    QWidget* widget = WidgetOf(control.id);
    if (widget == nullptr) continue;
    RefreshShape(control, widget);
    if (control.kind == DialogControlKind::kPicture) {
      // A picture the model laid out anew (another picture mode) changes size.
      const QSize size(std::max(control.width, 1), std::max(control.height, 1));
      if (widget->size() != size) {
        widget->setFixedSize(size);
        if (m_built) m_window->adjustSize();
      }
      widget->update();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      const QString text = ToQString(control.text);
      if (edit->text() != text) edit->setText(text);
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
      check->setCheckState(control.value == 2 ? Qt::PartiallyChecked
                           : control.value    ? Qt::Checked
                                              : Qt::Unchecked);
    } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
      radio->setChecked(control.value != 0);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      combo->setCurrentIndex(control.value);
    } else if (auto* view = qobject_cast<QAbstractItemView*>(widget);
               view != nullptr && control.kind == DialogControlKind::kList) {
      ShowListChoice(*view, control);
    } else if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
      if (bar->value() != control.value) bar->setValue(control.value);
    } else if (auto* label = qobject_cast<QLabel*>(widget);
               label && control.kind == DialogControlKind::kStatic) {
      // A handler may change what a text says.
      const QString caption = WithoutMnemonic(control.caption);
      if (label->buddy() == nullptr && label->text() != caption) label->setText(caption);
    }
  }
  for (auto& [id, group] : m_radioGroups) group->setExclusive(true);
  m_refreshing = false;
}

void KQtDialogBinder::UserChanged() {
  // A change handler may have changed other controls (typing a custom text
  // chooses its radio button), or ended the dialog.
  if (const int code = m_dialog.TakeEndRequest(); code != 0 && !m_closed) {
    if (code == IDCANCEL) m_dialog.OnCancel();
    Finish(code);
    return;
  }
  Refresh();
  ApplyFocus();
}

void KQtDialogBinder::ApplyFocus() {
  QWidget* widget = WidgetOf(m_dialog.TakeFocusRequest());
  if (widget == nullptr) return;
  widget->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
}

void KQtDialogBinder::Open() {
  Build();
  m_closed = false;
  m_dialog.OnInitDialog();
  if (const int code = m_dialog.TakeEndRequest(); code != 0) {
    // The dialog ended while it opened (an internal failure).
    m_closed = true;
    m_openEnd = code;
    return;
  }
  Refresh();
  ApplyFocus();
}

void KQtDialogBinder::Finish(int code) {
  m_closed = true;
  m_window->done(code);
}

void KQtDialogBinder::Cancel() {
  m_dialog.OnCancel();
  Finish(IDCANCEL);
}

bool KQtDialogBinder::Press(UINT id) {
  const DialogControl* control = m_dialog.Controls().Find(id);
  if (control == nullptr || !control->IsButton() || m_closed) return m_closed;
  if (control->role == DialogButtonRole::kOk) {
    if (m_dialog.OnOK()) {
      Finish(IDOK);
    } else {
      UserChanged();  // a refusal, or an end with another code
    }
    return m_closed;
  }
  if (control->role == DialogButtonRole::kCancel) {
    Cancel();
    return true;
  }
  const int code = m_dialog.PressButton(id);
  if (code != 0) {
    Finish(code);
    return true;
  }
  UserChanged();
  return m_closed;
}

int KQtDialogBinder::Exec() {
  Open();
  if (m_closed) return m_openEnd;
  const int code = m_window->exec();
  // Closed by the window system without a button: as Cancel.
  if (!m_closed) {
    m_dialog.OnCancel();
    return IDCANCEL;
  }
  return code;
}

int KQtDialogBinder::Run(KModalDialog& dialog, QWidget* parent) {
  KQtDialogBinder binder(dialog, parent);
  return binder.Exec();
}
