#include "controls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QValidator>

#include <algorithm>

namespace kordel::ui {

QPoint opening_position(QSize window, QRect available) {
  const QPoint centred = available.center() - QRect(QPoint(0, 0), window).center();
  return {std::max(centred.x(), available.left()), std::max(centred.y(), available.top())};
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
  menu->popup(event->globalPos());
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
