// Starts the real program on the demo book under X and looks at the screen.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>

#include "support/qt_wait.h"
#include "support/temp_dir.h"

namespace {

using quire::testing::TempDir;

QImage Screenshot() {
  return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

TEST(QuireWindowX11Test, OpensShapedOnTheFirstScreenOfTheDemoBook) {
  TempDir dir;
  // What the first screen should look like, composed from the book's own files.
  QProcess render;
  render.start(QUIRE_PACK, {"screen", "render", QUIRE_DEMO_BOOK, "0",
                            QString::fromStdString((dir / "screen0.png").string())});
  ASSERT_TRUE(render.waitForFinished(60000));
  const QImage expected((dir / "screen0.png").c_str());
  ASSERT_FALSE(expected.isNull());

  const QImage before = Screenshot();
  QProcess quire;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QUIRE_PREFIX", QString::fromStdString((dir / "prefix").string()));
  env.remove("QT_QPA_PLATFORM");
  quire.setProcessEnvironment(env);
  quire.start(QUIRE_EXE, {"--book", QUIRE_DEMO_BOOK});
  ASSERT_TRUE(quire.waitForStarted());

  // The window is centred; once the opening animation is over its centre shows the screen.
  const QSize screen = QGuiApplication::primaryScreen()->size();
  const QPoint origin((screen.width() - expected.width()) / 2,
                      (screen.height() - expected.height()) / 2);
  const QPoint probe(expected.width() / 3, expected.height() / 2);
  QImage shot;
  const bool shown = quire::testing::WaitUntil(
      [&] {
        QThread::msleep(200);
        shot = Screenshot();
        const QPoint corner = origin + QPoint(expected.width() - 40, expected.height() - 40);
        return shot.pixel(origin + probe) == expected.pixel(probe) &&
               shot.pixel(corner) == expected.pixel(corner - origin);
      },
      30000);
  shot.save(QString::fromStdString((dir / "shot.png").string()));
  quire.kill();
  quire.waitForFinished();
  ASSERT_TRUE(shown) << "the first screen never appeared";

  // Inside: the screen as composed; the window's rounded corner lets the desktop show.
  int same = 0, total = 0;
  for (int y = 60; y < expected.height() - 60; y += 37) {
    for (int x = 60; x < expected.width() - 60; x += 41) {
      ++total;
      same += shot.pixel(origin + QPoint(x, y)) == expected.pixel(x, y);
    }
  }
  EXPECT_GT(same, total * 9 / 10) << same << " of " << total;
  EXPECT_EQ(shot.pixel(origin), before.pixel(origin));  // the top-left corner is cut away
  EXPECT_NE(shot.pixel(origin + QPoint(20, 20)), before.pixel(origin + QPoint(20, 20)));
}

}  // namespace
