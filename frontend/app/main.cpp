#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "library_binding.h"
#include "main_window.h"

namespace {

// True when the user named a Qt platform, or a display is there to show the window on.
bool has_display(int argc, char *argv[]) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
      return true;
  return std::getenv("QT_QPA_PLATFORM") != nullptr || std::getenv("DISPLAY") != nullptr ||
         std::getenv("WAYLAND_DISPLAY") != nullptr;
}

}  // namespace

int main(int argc, char *argv[]) {
  // Without a display Qt would abort; say so plainly instead.
  if (!has_display(argc, argv)) {
    const char *slash = argc > 0 ? std::strrchr(argv[0], '/') : nullptr;
    const char *name = argc == 0 ? "kordel" : slash != nullptr ? slash + 1 : argv[0];
    std::fprintf(stderr,
                 "%s: no display to show the window on "
                 "(neither DISPLAY nor WAYLAND_DISPLAY is set).\n",
                 name);
    return 1;
  }
  QApplication app(argc, argv);
  // Lets Wayland desktops match the window to its menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.kordel.Kordel"));
  kordel::ui::LibraryBinding binding;
  kordel::ui::MainWindow window(binding);
  window.show();
  return app.exec();
}
