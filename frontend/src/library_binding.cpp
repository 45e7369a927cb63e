#include "library_binding.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QFileInfo>

namespace kordel::ui {

namespace {
constexpr const char *library_file = KORDEL_SONAME;
}

// applicationDirPath() is the absolute folder of the running executable (read from
// /proc/self/exe), whatever the working directory.
LibraryBinding::LibraryBinding()
    : LibraryBinding(QStringList{
          QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(library_file),
          QLatin1String(library_file)}) {}

LibraryBinding::LibraryBinding(QStringList paths) : paths_(std::move(paths)) {}

LibraryBinding::~LibraryBinding() {
  if (handle_ != nullptr) dlclose(handle_);
}

bool LibraryBinding::bind(QString *error) {
  if (process_13_ != nullptr && process_17_ != nullptr) return true;

  QString reasons;
  if (handle_ == nullptr) {
    for (const QString &path : paths_) {
      // A path with a folder is tried only where the file is; a bare name goes to
      // the loader's search of the system's library path.
      if (path.contains(QLatin1Char('/')) && !QFileInfo::exists(path)) continue;
      handle_ = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
      if (handle_ != nullptr) break;
      reasons += QLatin1Char('\n') + QString::fromLocal8Bit(dlerror());
    }
  }
  if (handle_ == nullptr) {
    if (error != nullptr)
      *error = QStringLiteral("The decoding library %1 could not be loaded.%2")
                   .arg(QLatin1String(library_file),
                        reasons.isEmpty() ? QStringLiteral("\nLooked in:\n") + paths_.join('\n')
                                          : reasons);
    return false;
  }

  process_13_ = reinterpret_cast<EntryPoint>(dlsym(handle_, "process_13"));
  process_17_ = reinterpret_cast<EntryPoint>(dlsym(handle_, "process_17"));
  if (process_13_ == nullptr || process_17_ == nullptr) {
    if (error != nullptr)
      *error = QStringLiteral("The decoding library %1 lacks the function %2.")
                   .arg(QLatin1String(library_file),
                        QLatin1String(process_13_ == nullptr ? "process_13" : "process_17"));
    process_13_ = process_17_ = nullptr;
    dlclose(handle_);
    handle_ = nullptr;
    return false;
  }
  return true;
}

}  // namespace kordel::ui
