// Small building blocks shared by the program's windows.
#pragma once

#include <QColor>
#include <QLineEdit>
#include <QPoint>
#include <QPushButton>
#include <QRect>

class QMenu;

namespace kordel::ui {

// A fixed frame: not resizable, no minimise or maximise box, a close box.
inline Qt::WindowFlags fixed_frame(Qt::WindowType kind) {
  return kind | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
         Qt::MSWindowsFixedSizeDialogHint;
}

// A fixed-size window cannot take a maximised or full-screen state: on Wayland
// the compositor would then end the program for a surface of the wrong size. A
// request for one (a title bar's maximise button, a double click on it, the
// program itself) is taken back at once, before the compositor acts on it.
//
// Installed once for the whole application: every top-level window and dialog
// shown from then on is kept so, the program's own as well as Qt's message boxes
// and common dialogs. A resizable window (the Save As and Print dialogs) may take
// the state. Calling it again does nothing.
void keep_windows_normal();

// Where a window of this size opens: centred in the screen's free area, but never
// with its top-left corner off it, so that the title bar and menu stay in reach.
QPoint opening_position(QSize window, QRect available);

// A push button that Return and Enter press as Space does while it has the focus,
// without becoming anybody's default button. While it has the focus it shows a
// two-pixel mark inside its edge, dark on a light button face and light on a dark
// one, so that it stands out against both the face and the frame around it.
class CommandButton : public QPushButton {
  Q_OBJECT
 public:
  CommandButton(const QString &caption, QWidget *parent);

  // The focus mark's colour for a button face of this colour.
  static QColor focus_mark_colour(const QColor &face);

 protected:
  void keyPressEvent(QKeyEvent *event) override;
  void paintEvent(QPaintEvent *event) override;
};

// The VIN box: at most 17 characters, each one an 8-bit VIN buffer can hold and
// none a control character. Pasted and dropped text lands as its first line,
// trimmed of blanks.
class VinBox : public QLineEdit {
  Q_OBJECT
 public:
  static constexpr int capacity = 17;

  explicit VinBox(QWidget *parent);

  // What a paste of this text offers the box: its first non-blank line, trimmed.
  static QString pasted_text(const QString &text);

 signals:
  // The context menu is about to open; the window may add its own entries.
  void context_menu_opening(QMenu *menu);

 protected:
  void keyPressEvent(QKeyEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void contextMenuEvent(QContextMenuEvent *event) override;
  void dropEvent(QDropEvent *event) override;
  void focusInEvent(QFocusEvent *event) override;
  void focusOutEvent(QFocusEvent *event) override;

 private:
  void paste(const QString &text);

  // The whole VIN was selected as the focus left (a decoded VIN, which the next
  // one typed replaces): it is selected again when the focus comes back.
  bool whole_vin_selected_ = false;
};

// Marks a picture as decoration, so that screen readers pass over it.
void mark_as_decoration(QWidget *picture);

}  // namespace kordel::ui
