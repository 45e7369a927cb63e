// The yardsticks for the program's start-up: a plain Qt window with the same kinds
// of widgets as the main window (menu, line edit, text box, four buttons) at the
// same places, or with --empty an empty window.
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstring>

int main(int argc, char *argv[]) {
  const bool empty = argc > 1 && std::strcmp(argv[1], "--empty") == 0;
  QApplication app(argc, argv);
  if (empty) {
    QWidget window;
    window.resize(712, 460);
    window.show();
    return app.exec();
  }
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Plain window"));
  window.menuBar()->addAction(QStringLiteral("About"));
  auto *client = new QWidget(&window);
  client->setFixedSize(712, 441);
  window.setCentralWidget(client);
  (new QLineEdit(client))->setGeometry(184, 96, 353, 49);
  const QRect buttons[] = {
      {288, 168, 137, 25}, {520, 384, 137, 25}, {296, 384, 137, 25}, {48, 384, 137, 25}};
  for (const QRect &geometry : buttons)
    (new QPushButton(QStringLiteral("Button"), client))->setGeometry(geometry);
  (new QPlainTextEdit(client))->setGeometry(8, 200, 697, 145);
  window.setFixedSize(window.sizeHint());
  window.show();
  return app.exec();
}
