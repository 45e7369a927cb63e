// Helpers shared by the GUI tests.
#pragma once

#include <QApplication>
#include <QDir>
#include <QList>
#include <QTimer>
#include <QWidget>

#include <functional>

#include "dialogs.h"

namespace kordel::ui::test {

struct Box {
  QString title, text;
  bool operator==(const Box &) const = default;
};

// Records every message box instead of showing it, for one test's lifetime.
class RecordedBoxes {
 public:
  RecordedBoxes() {
    MessageBoxes::answer_for_tests = [this](const QString &title, const QString &text) {
      boxes.append({title, text});
    };
  }
  ~RecordedBoxes() { MessageBoxes::answer_for_tests = nullptr; }
  QList<Box> boxes;
};

// Runs `answer` on the modal window that opens next, once it is shown.
template <typename Window>
void when_modal_opens(std::function<void(Window *)> answer) {
  auto *timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    if (auto *window = qobject_cast<Window *>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      answer(window);
    }
  });
  timer->start();
}

// Where tests leave files worth looking at, such as screenshots.
inline QString artifacts_dir() {
  const QString dir = qEnvironmentVariable("KORDEL_ARTIFACTS", QDir::tempPath());
  QDir().mkpath(dir);
  return dir;
}

}  // namespace kordel::ui::test
