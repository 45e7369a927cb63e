// form3: names the program and its version. Not modal.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kordel::ui {

class AboutBox : public QDialog {
  Q_OBJECT
 public:
  AboutBox();

 private:
  QLabel *label1_;
  QPushButton *command1_;
};

}  // namespace kordel::ui
