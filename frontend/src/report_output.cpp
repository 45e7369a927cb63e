#include "report_output.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <cerrno>
#include <cstring>
#include <utility>

namespace kordel::ui {

QByteArray saved_report(const QString &report) {
  return QByteArray("\"") + report.toLocal8Bit() + QByteArray("\"\r\n");
}

namespace {

QString reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Closes the descriptor on every way out.
struct Descriptor {
  int fd;
  explicit Descriptor(int fd) : fd(fd) {}
  Descriptor(const Descriptor &) = delete;
  Descriptor &operator=(const Descriptor &) = delete;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  // Closes now, where a late write error shows; errno holds it.
  bool close() { return ::close(std::exchange(fd, -1)) == 0; }
};

bool write_all(int fd, const QByteArray &bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;  // a device that takes nothing more
      return false;
    }
    done += n;
  }
  return true;
}

// Makes sure the file can grow to `length` before a byte of it changes, so that
// a full disk, a quota or a file size limit stops the save while the old content
// still stands whole.
std::optional<QString> reserve(int fd, off_t old_length, off_t length) {
  if (length <= old_length) return std::nullopt;
  rlimit limit{};
  if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      static_cast<rlim_t>(length) > limit.rlim_cur)
    return reason(EFBIG);
  if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, old_length, length - old_length) == 0)
    return std::nullopt;
  if (errno != EOPNOTSUPP && errno != ENOSYS) return reason(errno);
  // A file system that cannot reserve: at least its free space must suffice.
  struct statvfs space {};
  if (::fstatvfs(fd, &space) == 0 && space.f_blocks > 0 &&
      static_cast<unsigned long long>(space.f_bavail) * space.f_frsize <
          static_cast<unsigned long long>(length - old_length))
    return reason(ENOSPC);
  return std::nullopt;
}

// Rewrites an existing file in place, so that its owner, group, permissions and
// hard links stay as they are, and no write access to its folder is needed.
std::optional<QString> overwrite(int fd, off_t old_length, const QByteArray &bytes) {
  if (std::optional<QString> refused = reserve(fd, old_length, bytes.size())) return refused;
  if (!write_all(fd, bytes) || ::ftruncate(fd, bytes.size()) != 0 || ::fsync(fd) != 0)
    return reason(errno);
  return std::nullopt;
}

// A new file: written whole, or removed again.
std::optional<QString> create(const QByteArray &name, const QByteArray &bytes) {
  Descriptor file(::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (file.fd < 0) return reason(errno);
  if (!write_all(file.fd, bytes) || ::fsync(file.fd) != 0 || !file.close()) {
    const int error = errno;
    ::unlink(name.constData());
    return reason(error);
  }
  return std::nullopt;
}

}  // namespace

std::optional<QString> save_report(const QString &path, const QString &report) {
  const QByteArray bytes = saved_report(report);
  const QByteArray name = QFile::encodeName(path);

  struct stat target {};
  if (::stat(name.constData(), &target) != 0) {
    if (errno != ENOENT) return reason(errno);
    return create(name, bytes);
  }
  // A pipe or socket would keep the window waiting for a reader; a folder or a
  // disk is no place for a report.
  if (S_ISFIFO(target.st_mode) || S_ISSOCK(target.st_mode))
    return QStringLiteral("It is a pipe or socket, not a file.");
  if (!S_ISREG(target.st_mode) && !S_ISCHR(target.st_mode))
    return QStringLiteral("It is not a file.");

  // O_NONBLOCK: should the name have become a pipe since, open() must not wait.
  Descriptor file(::open(name.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.fd < 0) return reason(errno);
  if (::fstat(file.fd, &target) != 0) return reason(errno);
  std::optional<QString> failure;
  if (S_ISREG(target.st_mode)) {
    failure = overwrite(file.fd, target.st_size, bytes);
  } else if (S_ISCHR(target.st_mode)) {  // /dev/null, /dev/full, a terminal: written as it is
    const int flags = ::fcntl(file.fd, F_GETFL);
    if (flags < 0 || ::fcntl(file.fd, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
        !write_all(file.fd, bytes))
      failure = reason(errno);
  } else {
    failure = QStringLiteral("It is a pipe or socket, not a file.");
  }
  if (!failure && !file.close()) failure = reason(errno);
  return failure;
}

std::optional<QString> render_report(QPrinter *printer, const QString &report) {
  QPainter painter;
  if (!painter.begin(printer)) return QStringLiteral("The printer could not be started.");
  // The printer's default font, without shaping: no ligature glyphs, so that a
  // printed-to-PDF report searches and copies as its words ("floor", not "fl").
  QFont font = painter.font();
  font.setStyleStrategy(QFont::PreferNoShaping);
  painter.setFont(font);

  const QFontMetrics metrics(painter.font(), painter.device());
  const int page_height = painter.viewport().height();
  int y = 0;
  for (const QString &line : report.split(QStringLiteral("\r\n"))) {
    if (y + metrics.height() > page_height && y > 0) {
      if (!printer->newPage()) return QStringLiteral("The printer could not start a new page.");
      y = 0;
    }
    painter.drawText(0, y + metrics.ascent(), line);
    y += metrics.lineSpacing();
  }
  if (!painter.end()) return QStringLiteral("The printer could not finish the document.");
  if (printer->printerState() == QPrinter::Error)
    return QStringLiteral("The printer reported an error.");
  return std::nullopt;
}

}  // namespace kordel::ui
