// The message box the decoding library calls: a real modal box. The library names
// no owner; the box is placed over the program's active window (the main window
// during a decode), so that the compositor shows it there and not on its own.
#include <QApplication>
#include <QMainWindow>

#include "dialogs.h"

namespace {

QWidget *box_owner() {
  if (QWidget *active = QApplication::activeWindow()) return active;
  for (QWidget *window : QApplication::topLevelWidgets())
    if (qobject_cast<QMainWindow *>(window) != nullptr && window->isVisible()) return window;
  return nullptr;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int MessageBoxA(void * /*owner*/,
                                                                  const char *text,
                                                                  const char *caption,
                                                                  unsigned /*type*/) {
  kordel::ui::MessageBoxes::show(box_owner(),
                                 QString::fromLatin1(caption ? caption : ""),
                                 QString::fromLatin1(text ? text : ""));
  return 1;  // OK
}
