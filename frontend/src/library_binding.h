// Loads the decoding library at the first decode and binds its two functions.
#pragma once

#include <QString>
#include <QStringList>

namespace kordel::ui {

class LibraryBinding {
 public:
  using EntryPoint = int (*)(int model_year, const char *vin, char *line1, char *line2, char *line3,
                             char *line4, char *line5);

  // Looks beside the program's own file (the build tree), then in the system's
  // library path by the library's SONAME (the installed layout); never in the
  // working directory.
  LibraryBinding();
  // Tries each entry in order: an absolute path, or a bare file name that the
  // dynamic loader looks up in the system's library path.
  explicit LibraryBinding(QStringList paths);
  ~LibraryBinding();
  LibraryBinding(const LibraryBinding &) = delete;
  LibraryBinding &operator=(const LibraryBinding &) = delete;

  // Loads on first use and keeps the binding; false with a readable reason when
  // the library cannot be loaded or lacks a function (a later call tries again).
  bool bind(QString *error);

  EntryPoint process_13() const { return process_13_; }
  EntryPoint process_17() const { return process_17_; }

 private:
  QStringList paths_;
  void *handle_ = nullptr;
  EntryPoint process_13_ = nullptr;
  EntryPoint process_17_ = nullptr;
};

}  // namespace kordel::ui
