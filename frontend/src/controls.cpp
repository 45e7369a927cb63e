#include "controls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QValidator>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace kordel::ui {

QPoint opening_position(QSize window, QRect available) {
  const QPoint centred = available.center() - QRect(QPoint(0, 0), window).center();
  return {std::max(centred.x(), available.left()), std::max(centred.y(), available.top())};
}

namespace {

// Keeps one top-level widget in its normal state while it has a fixed size: a
// maximised or full-screen state, however it came, is taken back as soon as it
// shows. Whether the size is fixed is asked at each request, since a message box
// fixes its size only as it is shown.
//
// On Wayland a request from the program's side (Qt's own title bar sends one from
// its maximise button) reaches the compositor before anybody can take it back, and
// the compositor then configures the window at the output's size, which a
// fixed-size surface must take or be disconnected. So for the moment between the
// request and the compositor's answer the window's size is let free, both ways (a
// window larger than the output, at a scale of 2, must shrink to it); it is fixed
// again once the window is back in its normal state.
class NormalStateKeeper : public QObject {
 public:
  explicit NormalStateKeeper(QWidget *window) : QObject(window), window_(window) {
    setObjectName(QLatin1String(keeper_name));
    window->installEventFilter(this);
    settle_timer_.setSingleShot(true);
    settle_timer_.setInterval(2000);
    connect(&settle_timer_, &QTimer::timeout, this, &NormalStateKeeper::fix_size_again);
    watch_native_window();
  }

  static constexpr char keeper_name[] = "kordel_normal_state_keeper";

  bool eventFilter(QObject * /*watched*/, QEvent *event) override {
    if (event->type() == QEvent::Show) {
      watch_native_window();
    } else if (event->type() == QEvent::Resize && !opened_ && fixed() &&
               window_->size() != window_->minimumSize()) {
      QMetaObject::invokeMethod(this, &NormalStateKeeper::keep_size, Qt::QueuedConnection);
    } else if (event->type() == QEvent::WindowStateChange) {
      if ((window_->windowState() & refused) && fixed())
        QMetaObject::invokeMethod(this, &NormalStateKeeper::take_back, Qt::QueuedConnection);
      else if (event->spontaneous())  // the window system's word that it is normal again
        fix_size_again();
    }
    return false;
  }

 private:
  static constexpr Qt::WindowStates refused = Qt::WindowMaximized | Qt::WindowFullScreen;

  bool fixed() const { return window_->minimumSize() == window_->maximumSize(); }

  // The native window exists once the widget is shown; it may be made anew.
  void watch_native_window() {
    QWindow *handle = window_->windowHandle();
    if (handle == nullptr || handle == watched_) return;
    watched_ = handle;
    connect(watched_, &QWindow::windowStateChanged, this, &NormalStateKeeper::requested);
  }

  // Called within the request itself, before the compositor has answered it.
  void requested(Qt::WindowState state) {
    if (!(state & refused) || watched_ == nullptr || opened_ || !fixed() ||
        !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
      return;
    opened_ = true;
    watched_->setMinimumSize(QSize(0, 0));
    watched_->setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    settle_timer_.start();  // a compositor that refuses the request sends no answer
  }

  void take_back() {
    if ((window_->windowState() & refused) && fixed())
      window_->setWindowState(window_->windowState() & ~refused);
  }

  // A scaled window may come back from the compositor a device pixel off its
  // fixed size, rounded; it is given its size again.
  void keep_size() {
    if (!opened_ && fixed() && !(window_->windowState() & refused) &&
        window_->size() != window_->minimumSize())
      window_->resize(window_->minimumSize());
  }

  void fix_size_again() {
    if (!opened_ || watched_ == nullptr || (watched_->windowStates() & refused)) return;
    opened_ = false;
    settle_timer_.stop();
    watched_->setMinimumSize(window_->minimumSize());
    watched_->setMaximumSize(window_->maximumSize());
    // A scaled window may come back a device pixel off its size; it is fixed.
    if (fixed() && window_->size() != window_->minimumSize())
      window_->resize(window_->minimumSize());
  }

  QWidget *window_;
  QPointer<QWindow> watched_;
  bool opened_ = false;
  QTimer settle_timer_;
};

// Gives every top-level window and dialog a keeper as it is first shown. The
// application's filter sees each event before the widget does, so the keeper is
// in place before the window reaches the window system.
class KeeperForEveryWindow : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
    auto *widget = static_cast<QWidget *>(watched);
    const Qt::WindowType type = widget->windowType();
    if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog) &&
        widget->findChild<NormalStateKeeper *>(QLatin1String(NormalStateKeeper::keeper_name),
                                               Qt::FindDirectChildrenOnly) == nullptr)
      new NormalStateKeeper(widget);
    return false;
  }
};

double relative_luminance(const QColor &colour) {
  const auto linear = [](double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
         0.0722 * linear(colour.blueF());
}

}  // namespace

void keep_windows_normal() {
  static QPointer<KeeperForEveryWindow> installed;
  if (installed != nullptr || QCoreApplication::instance() == nullptr) return;
  installed = new KeeperForEveryWindow(QCoreApplication::instance());
  QCoreApplication::instance()->installEventFilter(installed);
}

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent) {
  setAutoDefault(false);
  setDefault(false);
}

void CommandButton::keyPressEvent(QKeyEvent *event) {
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    click();
    return;
  }
  QPushButton::keyPressEvent(event);
}

QColor CommandButton::focus_mark_colour(const QColor &face) {
  // A deep blue on light faces (7:1 and more against a light grey), a warm yellow
  // on dark ones.
  return relative_luminance(face) > 0.18 ? QColor(16, 52, 128) : QColor(255, 214, 64);
}

void CommandButton::paintEvent(QPaintEvent *event) {
  QPushButton::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(this);
  painter.setPen(QPen(focus_mark_colour(palette().color(QPalette::Button)), 2));
  // Two pixels inside the edge, leaving the style's frame around the mark.
  painter.drawRect(QRectF(rect()).adjusted(3, 3, -3, -3));
}

namespace {

// Only characters one byte of the VIN buffer holds as they are, and no control
// characters: whatever the box shows is what the library is given.
class VinCharacters : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString &input, int & /*position*/) const override {
    const auto holdable = [](QChar c) {
      const char16_t u = c.unicode();
      return (u >= 0x20 && u < 0x7f) || (u >= 0xa0 && u <= 0xff);
    };
    return std::all_of(input.cbegin(), input.cend(), holdable) ? Acceptable : Invalid;
  }
};

bool is_line_break(QChar c) {
  return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == u'\x85' ||
         c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

}  // namespace

VinBox::VinBox(QWidget *parent) : QLineEdit(parent) {
  setMaxLength(capacity);
  setValidator(new VinCharacters(this));
}

QString VinBox::pasted_text(const QString &text) {
  const QString trimmed = text.trimmed();
  const auto line_end = std::find_if(trimmed.cbegin(), trimmed.cend(), is_line_break);
  return trimmed.first(line_end - trimmed.cbegin()).trimmed();
}

void VinBox::paste(const QString &text) {
  if (isReadOnly()) return;
  insert(pasted_text(text));  // the validator refuses it whole if a character does not fit
}

void VinBox::keyPressEvent(QKeyEvent *event) {
  if (event->matches(QKeySequence::Paste)) {
    paste(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void VinBox::mouseReleaseEvent(QMouseEvent *event) {
  QClipboard *clipboard = QGuiApplication::clipboard();
  if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
    deselect();
    paste(clipboard->text(QClipboard::Selection));
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void VinBox::contextMenuEvent(QContextMenuEvent *event) {
  QMenu *menu = createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  // The menu's Paste entry is known by the shortcut its text shows.
  const QString paste_keys =
      QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
  for (QAction *action : menu->actions()) {
    if (paste_keys.size() > 1 && action->text().endsWith(paste_keys)) {
      disconnect(action, &QAction::triggered, nullptr, nullptr);
      connect(action, &QAction::triggered, this, [this] {
        paste(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
      });
    }
  }
  emit context_menu_opening(menu);
  menu->popup(event->globalPos());
}

// Qt keeps a selection only when the focus leaves for another window or a popup
// menu; a button clicked, the menu bar reached with Alt or a dialog's own focus
// would leave the cursor behind a full box, and the next VIN typed would be
// dropped or appended. The selection of a decoded VIN comes back with the focus,
// whatever took it away; a click into the box then places the cursor as usual.
void VinBox::focusOutEvent(QFocusEvent *event) {
  whole_vin_selected_ = !text().isEmpty() && selectedText() == text();
  QLineEdit::focusOutEvent(event);
}

void VinBox::focusInEvent(QFocusEvent *event) {
  QLineEdit::focusInEvent(event);
  if (whole_vin_selected_ && !text().isEmpty()) selectAll();
}

void VinBox::dropEvent(QDropEvent *event) {
  if (event->source() == this || !event->mimeData()->hasText()) {
    QLineEdit::dropEvent(event);
    return;
  }
  QMimeData first_line;
  first_line.setText(pasted_text(event->mimeData()->text()));
  QDropEvent dropped(event->position(),
                     event->possibleActions(),
                     &first_line,
                     event->buttons(),
                     event->modifiers(),
                     event->type());
  dropped.setDropAction(event->dropAction());
  QLineEdit::dropEvent(&dropped);
  event->setDropAction(dropped.dropAction());
  event->setAccepted(dropped.isAccepted());
}

namespace {

const char decoration_property[] = "kordel_decoration";

// A picture without a name that reports itself invisible: screen readers skip it.
class Decoration : public QAccessibleWidget {
 public:
  explicit Decoration(QWidget *picture) : QAccessibleWidget(picture, QAccessible::Graphic) {}
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.invisible = true;
    return state;
  }
  QString text(QAccessible::Text) const override { return {}; }
};

QAccessibleInterface *decoration_interface(const QString & /*class_name*/, QObject *object) {
  auto *widget = qobject_cast<QWidget *>(object);
  if (widget == nullptr || !widget->property(decoration_property).toBool()) return nullptr;
  return new Decoration(widget);
}

}  // namespace

void mark_as_decoration(QWidget *picture) {
  static const bool installed = (QAccessible::installFactory(decoration_interface), true);
  Q_UNUSED(installed);
  picture->setProperty(decoration_property, true);
}

}  // namespace kordel::ui
