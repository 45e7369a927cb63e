// Save as and Print: the saved bytes, failures that keep the old file, real printing.
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>

#include "gui_test_support.h"
#include "main_window.h"
#include "report_output.h"

using namespace kordel::ui;

namespace {

QByteArray read_all(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void write_all(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

QString pdf_text(const QString &pdf) {
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0)
    return QStringLiteral("<pdftotext failed>");
  return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

int pdf_pages(const QString &pdf) {
  QProcess pdfinfo;
  pdfinfo.start(QStringLiteral("pdfinfo"), {pdf});
  pdfinfo.waitForFinished(30000);
  for (const QString &line : QString::fromUtf8(pdfinfo.readAllStandardOutput()).split('\n'))
    if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
  return 0;
}

// Answers the next Save As dialogs in order; records what each proposed.
struct SaveAnswers {
  explicit SaveAnswers(QList<std::optional<QString>> answers) : answers(std::move(answers)) {
    SaveAsDialog::answer_for_tests = [this](const QString &proposed) {
      proposals.append(proposed);
      return this->answers.isEmpty() ? std::nullopt : this->answers.takeFirst();
    };
  }
  ~SaveAnswers() { SaveAsDialog::answer_for_tests = nullptr; }
  QList<std::optional<QString>> answers;
  QStringList proposals;
};

struct PrintAnswer {
  explicit PrintAnswer(std::function<bool(QPrinter *)> answer) {
    PrintDialog::answer_for_tests = std::move(answer);
  }
  ~PrintAnswer() { PrintDialog::answer_for_tests = nullptr; }
};

// Limits the size of files this process may write, as a full disk would.
struct FileSizeLimit {
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved);
    previous_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous_handler);
  }
  rlimit saved{};
  void (*previous_handler)(int) = nullptr;
};

// Runs `body` as the unprivileged user "nobody" in a child process when the tests
// run as root (root writes anywhere), else right here. Returns its result.
int as_ordinary_user(const std::function<int()> &body) {
  if (geteuid() != 0) return body();
  const pid_t child = fork();
  if (child == 0) _exit(setgid(65534) == 0 && setuid(65534) == 0 ? body() : 99);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

QString strerror_text(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

}  // namespace

class TestSavePrint : public QObject {
  Q_OBJECT

  LibraryBinding binding;
  QTemporaryDir dir;

  QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }

  static void click(MainWindow &w, const char *name) {
    QTest::mouseClick(w.findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
  }
  static void decode(MainWindow &w, const QString &vin) {
    w.findChild<QLineEdit *>(QStringLiteral("Vin"))->setText(vin);
    click(w, "Command1");
  }

 private slots:
  void saved_form() {
    QCOMPARE(saved_report(QString()), QByteArray("\"\"\r\n"));
    QCOMPARE(saved_report(QStringLiteral("a\r\nb")), QByteArray("\"a\r\nb\"\r\n"));
  }

  void saving_an_empty_report() {
    MainWindow w(binding);
    test::RecordedBoxes boxes;
    SaveAnswers answers({path("empty.txt")});
    click(w, "Command3");
    QCOMPARE(read_all(path("empty.txt")), QByteArray("\"\"\r\n"));
    QVERIFY(boxes.boxes.isEmpty());
  }

  void saving_a_13_character_report_replaces_the_old_file() {
    write_all(path("report.txt"), QByteArray(5000, 'x'));
    MainWindow w(binding);
    test::RecordedBoxes boxes;
    decode(w, QStringLiteral("A1F031B300011"));
    SaveAnswers answers({path("report.txt")});
    click(w, "Command3");
    const QByteArray saved = read_all(path("report.txt"));
    QCOMPARE(saved, "\"" + w.report().toLocal8Bit() + "\"\r\n");
    QVERIFY(saved.startsWith("\"Your VIN# of A1F031B300011 decodes as follows\r\n1971 AMC Hornet"));
    QVERIFY(saved.endsWith("plant in 1971\r\n" + QByteArray(1000, ' ') + "\"\r\n"));
    QVERIFY(boxes.boxes.isEmpty());
  }

  void the_second_dialog_proposes_the_first_name() {
    MainWindow w(binding);
    SaveAnswers answers({path("first"), std::nullopt});
    click(w, "Command3");
    click(w, "Command3");
    QCOMPARE(answers.proposals.value(0), QDir::homePath() + QStringLiteral("/amcreport.txt"));
    QCOMPARE(answers.proposals.value(1), path("first.txt"));  // with the default suffix
    QVERIFY(QFile::exists(path("first.txt")));
  }

  void a_cancelled_dialog_stays_silent() {
    MainWindow w(binding);
    test::RecordedBoxes boxes;
    SaveAnswers answers({std::nullopt});
    PrintAnswer print([](QPrinter *) { return false; });
    click(w, "Command3");
    click(w, "Command4");
    QVERIFY(boxes.boxes.isEmpty());
  }

  void a_failed_write_keeps_the_old_file_and_says_so() {
    write_all(path("kept.txt"), "old report");
    MainWindow w(binding);
    test::RecordedBoxes boxes;
    decode(w, QStringLiteral("1AMCM3877BK100021"));
    SaveAnswers answers({path("kept.txt")});
    {
      FileSizeLimit full_disk(64);  // the report is longer than this
      click(w, "Command3");
    }
    QCOMPARE(read_all(path("kept.txt")), QByteArray("old report"));
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Save As"));
    QVERIFY(boxes.boxes[0].text.startsWith(QStringLiteral("The report was not saved")));
    QVERIFY(QDir(dir.path()).entryList({"kept.txt*"}, QDir::Files | QDir::Hidden).size() == 1);
  }

  void a_folder_that_cannot_be_written() {
    // The superuser writes into any folder whose permissions forbid it; /proc takes
    // no new files from anyone.
    QString folder = QStringLiteral("/proc");
    if (geteuid() != 0) {  // a new file there fails; the one already there would be saved
      folder = path("read-only");
      QVERIFY(QDir().mkpath(folder));
      write_all(folder + "/amcreport.txt", "old report");
      QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    }
    MainWindow w(binding);
    test::RecordedBoxes boxes;
    SaveAnswers answers({folder + "/new-report.txt"});
    click(w, "Command3");
    QCOMPARE(boxes.boxes.size(), 1);
    QVERIFY(boxes.boxes[0].text.startsWith(QStringLiteral("The report was not saved")));
    if (geteuid() != 0) {
      QCOMPARE(read_all(folder + "/amcreport.txt"), QByteArray("old report"));
      QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
  }

  void saving_in_place_keeps_owner_mode_and_links() {
    const QByteArray file = QFile::encodeName(path("shared.txt"));
    write_all(path("shared.txt"), QByteArray(5000, 'x'));
    QVERIFY(link(file, QFile::encodeName(path("twin.txt"))) == 0);
    const bool root = geteuid() == 0;
    QVERIFY(chmod(file, root ? 0444 : 0640) == 0);
    if (root) QVERIFY(chown(file, 65534, 65534) == 0);
    struct stat before {
    }, after{};
    QVERIFY(stat(file, &before) == 0);

    MainWindow w(binding);
    test::RecordedBoxes boxes;
    decode(w, QStringLiteral("1AMCM3877BK100021"));
    SaveAnswers answers({path("shared.txt")});
    click(w, "Command3");
    QVERIFY(boxes.boxes.isEmpty());
    QVERIFY(stat(file, &after) == 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_nlink, nlink_t(2));
    QCOMPARE(read_all(path("twin.txt")), saved_report(w.report()));
  }

  void a_writable_file_in_a_locked_folder_is_saved() {
    const QString folder = path("locked");
    QVERIFY(QDir().mkpath(folder));
    write_all(folder + "/amcreport.txt", "an old report, longer than the new one");
    QVERIFY(chmod(QFile::encodeName(folder + "/amcreport.txt"), 0666) == 0);
    QVERIFY(chmod(QFile::encodeName(folder), 0555) == 0);
    QVERIFY(chmod(QFile::encodeName(dir.path()), 0755) == 0);  // nobody may pass
    const int status = as_ordinary_user([&] {
      if (save_report(folder + "/amcreport.txt", QStringLiteral("new")) != std::nullopt) return 1;
      // A new file there cannot be made, and the message says why.
      return save_report(folder + "/new.txt", QStringLiteral("new")) == strerror_text(EACCES) ? 0
                                                                                              : 2;
    });
    QVERIFY(chmod(QFile::encodeName(folder), 0755) == 0);
    QCOMPARE(status, 0);
    QCOMPARE(read_all(folder + "/amcreport.txt"), saved_report(QStringLiteral("new")));
    QVERIFY(!QFile::exists(folder + "/new.txt"));
  }

  void pipes_and_sockets_are_refused_at_once() {
    const QByteArray fifo = QFile::encodeName(path("pipe"));
    QVERIFY(mkfifo(fifo, 0666) == 0);
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socket_name = QFile::encodeName(path("socket"));
    QVERIFY(socket_name.size() < qsizetype(sizeof address.sun_path));
    std::memcpy(address.sun_path, socket_name.constData(), socket_name.size());
    QVERIFY(bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
    for (const QByteArray &target : {fifo, socket_name}) {
      alarm(10);  // a save that waits for a reader ends the test here
      const std::optional<QString> refused = save_report(QFile::decodeName(target), QString());
      alarm(0);
      QVERIFY(refused && refused->contains(QStringLiteral("pipe or socket")));
    }
    close(listener);
  }

  void a_missing_folder_says_so() {
    QCOMPARE(save_report(path("no-such-folder/report.txt"), QString()), strerror_text(ENOENT));
    QCOMPARE(save_report(QStringLiteral("/dev/null"), QStringLiteral("report")), std::nullopt);
  }

  void a_full_device() {
    MainWindow w(binding);
    test::RecordedBoxes boxes;
    SaveAnswers answers({QStringLiteral("/dev/full")});
    click(w, "Command3");
    QCOMPARE(boxes.boxes.size(), 1);
    QVERIFY(boxes.boxes[0].text.startsWith(QStringLiteral("The report was not saved")));
    QVERIFY(QFileInfo(QStringLiteral("/dev/full")).isFile() == false);  // still the device
  }

  void printing_to_pdf() {
    MainWindow w(binding);
    test::RecordedBoxes boxes;
    decode(w, QStringLiteral("1AMCM3877BK100021"));
    const QString pdf = path("report.pdf");
    PrintAnswer print([&](QPrinter *printer) {
      printer->setOutputFormat(QPrinter::PdfFormat);
      printer->setOutputFileName(pdf);
      return true;
    });
    click(w, "Command4");
    QVERIFY(boxes.boxes.isEmpty());
    const QString text = pdf_text(pdf).simplified();
    QVERIFY2(text.contains(QStringLiteral("Your VIN# of 1AMCM3877BK100021 decodes as follows")),
             qPrintable(text));
    QVERIFY(text.contains(
        QStringLiteral("This was the 21st car ordered from the Kenosha WI, USA plant in 1981")));
    QVERIFY(text.contains(QStringLiteral("your check digit is 7.")));
    QVERIFY2(text.contains(QStringLiteral("4spd manual floor shift")), "no ligature glyphs");
    QCOMPARE(pdf_pages(pdf), 1);
  }

  void the_printer_is_kept_between_prints() {
    MainWindow w(binding);
    test::RecordedBoxes boxes;
    QList<QPrinter *> offered;
    QStringList files_offered;
    PrintAnswer print([&](QPrinter *printer) {
      offered.append(printer);
      files_offered.append(printer->outputFileName());
      printer->setOutputFormat(QPrinter::PdfFormat);
      if (offered.size() == 1) printer->setOutputFileName(path("chosen.pdf"));
      return true;
    });
    click(w, "Command4");
    click(w, "Command4");
    QCOMPARE(offered.size(), 2);
    QCOMPARE(offered[1], offered[0]);
    QCOMPARE(files_offered[1], path("chosen.pdf"));  // the choice made the first time
    QVERIFY(boxes.boxes.isEmpty());
  }

  void a_long_report_goes_on_to_the_next_page() {
    QStringList lines;
    for (int i = 1; i <= 150; ++i) lines.append(QStringLiteral("line %1").arg(i));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path("long.pdf"));
    QCOMPARE(render_report(&printer, lines.join(QStringLiteral("\r\n"))), std::nullopt);
    QVERIFY(pdf_pages(path("long.pdf")) >= 2);
    const QString text = pdf_text(path("long.pdf"));
    QVERIFY(text.contains(QStringLiteral("line 1\n")) && text.contains(QStringLiteral("line 150")));
  }

  void a_failed_print_says_so() {
    MainWindow w(binding);
    test::RecordedBoxes boxes;
    PrintAnswer print([&](QPrinter *printer) {
      printer->setOutputFormat(QPrinter::PdfFormat);
      printer->setOutputFileName(QStringLiteral("/nonexistent/folder/report.pdf"));
      return true;
    });
    click(w, "Command4");
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Print"));
    QVERIFY(boxes.boxes[0].text.startsWith(QStringLiteral("The report was not printed")));
  }

  // Through a real CUPS queue that writes PDF files; the test script sets it up.
  // Qt proposes a file name only on X11; the offscreen platform, like Wayland,
  // would get the bare folder.
  void print_to_file_proposes_a_file() {
    QPrinter printer;
    const std::unique_ptr<QPrintDialog> dialog = PrintDialog::build(nullptr, &printer);
    auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
    QVERIFY(file != nullptr);
    const QFileInfo proposed(file->text());
    QVERIFY2(proposed.isAbsolute() && !proposed.isDir(), qPrintable(file->text()));
    QCOMPARE(proposed.fileName(), QStringLiteral("print.pdf"));
  }

  void printing_through_cups() {
    const QString queue = qEnvironmentVariable("KORDEL_CUPS_QUEUE");
    const QString output = qEnvironmentVariable("KORDEL_CUPS_OUTPUT");
    if (queue.isEmpty()) QSKIP("no CUPS queue set up (KORDEL_CUPS_QUEUE)");
    const QStringList before = QDir(output).entryList({"*.pdf"}, QDir::Files);

    MainWindow w(binding);
    test::RecordedBoxes boxes;
    decode(w, QStringLiteral("A1F031B300011"));
    PrintAnswer print([&](QPrinter *printer) {
      printer->setPrinterName(queue);
      printer->setDocName(QStringLiteral("kordel-report"));
      return printer->isValid();
    });
    click(w, "Command4");
    QVERIFY(boxes.boxes.isEmpty());

    QString pdf;
    QElapsedTimer waited;
    waited.start();
    while (pdf.isEmpty() && waited.elapsed() < 60000) {
      for (const QString &name : QDir(output).entryList({"*.pdf"}, QDir::Files))
        if (!before.contains(name)) pdf = QDir(output).filePath(name);
      if (pdf.isEmpty()) QTest::qWait(200);
    }
    QVERIFY2(!pdf.isEmpty(), "the queue wrote no PDF within a minute");
    QTest::qWait(500);  // let the backend finish the file
    const QString text = pdf_text(pdf).simplified();
    QVERIFY2(text.contains(QStringLiteral("1971 AMC Hornet SC 360 2dr hatchback")),
             qPrintable(text));
    QVERIFY(text.contains(
        QStringLiteral("This was the 200011th car ordered from the Kenosha plant in 1971")));
  }
};

QTEST_MAIN(TestSavePrint)
#include "test_save_print.moc"
