// The window's pictures on a screen scaled by 2: drawn at the screen's pixel
// density, so their edges are as sharp as the text's, and at 1x they look as
// before.
#include <QApplication>
#include <QTest>

#include <algorithm>
#include <vector>

#include "artwork.h"
#include "main_window.h"

using namespace kordel::ui;

namespace {

// The widths of the edges along the rows of an image: for every stretch of a row
// that only brightens (or only darkens) by at least 96 grey levels in all, the
// number of its pixels that lie well between its two ends. A picture drawn at the
// screen's density has edges one pixel wide; one drawn at 1x and scaled up, two or
// more.
double median_edge_width(const QImage &image) {
  std::vector<int> widths;
  const auto measure = [&](const std::vector<int> &row, int start, int end) {
    const int low = row[start], high = row[end], rise = std::abs(high - low);
    if (rise < 96) return;
    int between = 0;
    for (int i = start + 1; i < end; ++i)
      if (std::abs(row[i] - low) > rise * 15 / 100 && std::abs(row[i] - high) > rise * 15 / 100)
        ++between;
    widths.push_back(between);
  };
  for (int y = 0; y < image.height(); ++y) {
    std::vector<int> row(image.width());
    for (int x = 0; x < image.width(); ++x) row[x] = qGray(image.pixel(x, y));
    int start = 0, direction = 0;
    for (int x = 1; x < image.width(); ++x) {
      const int step = row[x] - row[x - 1];
      if (direction == 0) {
        direction = (step > 0) - (step < 0);
      } else if (step * direction < 0) {  // it turns: the stretch ends at x - 1
        measure(row, start, x - 1);
        start = x - 1;
        direction = (step > 0) - (step < 0);
      }
    }
    measure(row, start, image.width() - 1);
  }
  if (widths.empty()) return -1;
  std::nth_element(widths.begin(), widths.begin() + widths.size() / 2, widths.end());
  return widths[widths.size() / 2];
}

}  // namespace

class TestHiDpi : public QObject {
  Q_OBJECT

  LibraryBinding binding;

 private slots:
  void initTestCase() { QCOMPARE(qApp->devicePixelRatio(), 2.0); }

  void pictures_are_drawn_at_the_screens_density() {
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    for (const char *name : {"Image11", "Image1"}) {
      auto *picture = w.findChild<artwork::Picture *>(QLatin1String(name));
      const QImage shown = picture->grab().toImage();
      QCOMPARE(shown.size(), picture->size() * 2);

      // What the old window showed: the 1x picture, scaled up.
      const artwork::Drawing drawing =
          picture->objectName() == QLatin1String("Image11") ? artwork::banner() : artwork::tile(1);
      const QImage at_1x = artwork::render(drawing, picture->size(), 1).toImage();
      const QImage scaled_up =
          at_1x.scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
      // The banner has the high-contrast edges (letters, car, road); the tiles'
      // stripes are too faint to measure.
      if (picture->objectName() == QLatin1String("Image11")) {
        QCOMPARE(median_edge_width(shown), 1.0);
        QVERIFY(median_edge_width(scaled_up) >= 2);  // the measure tells them apart
      }

      // Brought down to 1x again, it is the same picture.
      const QImage brought_down =
          shown.scaled(at_1x.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
              .convertToFormat(at_1x.format());
      qint64 difference = 0;
      for (int y = 0; y < at_1x.height(); ++y)
        for (int x = 0; x < at_1x.width(); ++x)
          difference += std::abs(qGray(brought_down.pixel(x, y)) - qGray(at_1x.pixel(x, y)));
      const double mean = double(difference) / (at_1x.width() * at_1x.height());
      QVERIFY2(mean < 8, qPrintable(QString::number(mean)));
    }
  }
};

int main(int argc, char *argv[]) {
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  TestHiDpi test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_hidpi.moc"
