// Where the program finds the library: beside its own file, never in the working
// directory.
#include <dlfcn.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "library_binding.h"

using namespace kordel::ui;

class TestLibraryBinding : public QObject {
  Q_OBJECT

 private slots:
  void loads_the_library_beside_the_program_not_from_the_working_directory() {
    // A copy of the library in the working directory, which must not be the one loaded.
    QTemporaryDir cwd;
    QVERIFY(cwd.isValid());
    const QString name = QStringLiteral(KORDEL_SONAME);
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + '/' + name, cwd.filePath(name)));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(cwd.path()));

    LibraryBinding binding;
    QString error;
    const bool bound = binding.bind(&error);
    QDir::setCurrent(previous);
    QVERIFY2(bound, qPrintable(error));

    Dl_info info{};
    QVERIFY(dladdr(reinterpret_cast<void *>(binding.process_17()), &info) != 0);
    QCOMPARE(QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath(),
             QCoreApplication::applicationDirPath());
  }
};

QTEST_MAIN(TestLibraryBinding)
#include "test_library_binding.moc"
