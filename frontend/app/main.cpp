#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "library_binding.h"
#include "main_window.h"

int main(int argc, char *argv[]) {
  // Lets desktops match the window to its menu entry and icon (Wayland's app id).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.kordel.Kordel"));
  // Without a display Qt would abort; say so plainly instead.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
      std::getenv("WAYLAND_DISPLAY") == nullptr) {
    std::fprintf(stderr, "%s: no display to show the window on (DISPLAY is not set).\n", argv[0]);
    return 1;
  }
  QApplication app(argc, argv);
  kordel::ui::LibraryBinding binding;
  kordel::ui::MainWindow window(binding);
  window.show();
  return app.exec();
}
