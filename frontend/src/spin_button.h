// A bare pair of arrow buttons, up above down, like a spin box without its text.
#pragma once

#include <QWidget>

class QToolButton;

namespace kordel::ui {

class SpinButton : public QWidget {
  Q_OBJECT
 public:
  explicit SpinButton(QWidget *parent = nullptr);

  QToolButton *up_button() const { return up_; }
  QToolButton *down_button() const { return down_; }

 signals:
  void up();
  void down();

 protected:
  void keyPressEvent(QKeyEvent *event) override;
  void paintEvent(QPaintEvent *event) override;  // the focus frame

 private:
  QToolButton *up_;
  QToolButton *down_;
};

}  // namespace kordel::ui
