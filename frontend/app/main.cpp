#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "artwork.h"
#include "library_binding.h"
#include "main_window.h"

namespace {

struct StartupMessage {
  QtMsgType type;
  QString text;
};
QList<StartupMessage> startup_messages;

// While Qt connects to the display it may fail with a fatal error, which would
// abort the program. Say in one plain line why instead, and end with status 1.
void hold_startup_message(QtMsgType type, const QMessageLogContext &, const QString &text) {
  if (type != QtFatalMsg) {
    startup_messages.append({type, text});
    return;
  }
  QString reason = text.section(QLatin1Char('\n'), 0, 0);
  for (const StartupMessage &held : startup_messages)
    if (held.type != QtDebugMsg && held.type != QtInfoMsg) {
      reason = held.text.section(QLatin1Char('\n'), 0, 0);
      break;
    }
  std::fprintf(stderr, "kordel: cannot show the window: %s\n", qPrintable(reason));
  std::fflush(stderr);
  std::_Exit(1);
}

}  // namespace

int main(int argc, char *argv[]) {
  // Lets desktops match the window to its menu entry and icon (Wayland's app id).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.kordel.Kordel"));
  // Without a display Qt would abort; say so plainly instead.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
      std::getenv("WAYLAND_DISPLAY") == nullptr) {
    std::fprintf(stderr, "%s: no display to show the window on (DISPLAY is not set).\n", argv[0]);
    return 1;
  }
  // The program reads no command line: Qt sees only the program's name, so that
  // its own options (-style, -reverse, -qwindowtitle ...) change nothing.
  int qt_argc = std::min(argc, 1);
  const QtMessageHandler default_handler = qInstallMessageHandler(hold_startup_message);
  QApplication app(qt_argc, argv);
  qInstallMessageHandler(default_handler);
  if (default_handler != nullptr)
    for (const StartupMessage &held : startup_messages)
      default_handler(held.type, QMessageLogContext(), held.text);

  QApplication::setWindowIcon(kordel::ui::artwork::window_icon());  // every window, every box
  kordel::ui::LibraryBinding binding;
  kordel::ui::MainWindow window(binding);
  window.show();
  window.activateWindow();  // as a window manager would; without one the keys go nowhere
  return app.exec();
}
