// form3: names the program and its version. Not modal.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace kordel::ui {

// A plain window rather than a dialog: the window system places it as any new
// window, and nothing ties it to the main window.
class AboutBox : public QWidget {
  Q_OBJECT
 public:
  AboutBox();

 private:
  QLabel *about_text_;
  QPushButton *ok_button_;
};

}  // namespace kordel::ui
