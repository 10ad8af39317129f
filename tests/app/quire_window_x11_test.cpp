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

// The real program on the demo book, in a private prefix, and the desktop it shows on.
class QuireX11Test : public ::testing::Test {
 protected:
  ~QuireX11Test() override {
    quire.kill();
    quire.waitForFinished();
  }

  // Screen `index` as composed from the book's own files.
  QImage Render(int index) {
    const QString out =
        QString::fromStdString((dir / ("screen" + std::to_string(index) + ".png")).string());
    QProcess render;
    render.start(QUIRE_PACK, {"screen", "render", QUIRE_DEMO_BOOK, QString::number(index), out});
    render.waitForFinished(60000);
    return QImage(out);
  }

  void Start(QSize window) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QUIRE_PREFIX", QString::fromStdString((dir / "prefix").string()));
    env.remove("QT_QPA_PLATFORM");
    quire.setProcessEnvironment(env);
    quire.start(QUIRE_EXE, {"--book", QUIRE_DEMO_BOOK});
    // The window is centred.
    const QSize screen = QGuiApplication::primaryScreen()->size();
    origin = QPoint((screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2);
  }

  // Waits until the window shows `expected` at two probes; `shot` is the last screenshot.
  bool WaitForScreen(const QImage& expected, QImage& shot) {
    const QPoint probe(expected.width() / 3, expected.height() / 2);
    const QPoint corner(expected.width() - 40, expected.height() - 40);
    return quire::testing::WaitUntil(
        [&] {
          QThread::msleep(200);
          shot = Screenshot();
          return shot.pixel(origin + probe) == expected.pixel(probe) &&
                 shot.pixel(origin + corner) == expected.pixel(corner);
        },
        30000);
  }

  // A left click at a point of the window, through the X server.
  void Click(QPoint at) {
    const QPoint p = origin + at;
    QProcess::execute("xdotool", {"mousemove", QString::number(p.x()), QString::number(p.y())});
    QThread::msleep(150);
    QProcess::execute("xdotool", {"mousedown", "1"});
    QThread::msleep(100);
    QProcess::execute("xdotool", {"mouseup", "1"});
  }

  TempDir dir;
  QProcess quire;
  QPoint origin;
};

TEST_F(QuireX11Test, OpensShapedOnTheFirstScreenOfTheDemoBook) {
  const QImage expected = Render(0);
  ASSERT_FALSE(expected.isNull());
  const QImage before = Screenshot();
  Start(expected.size());
  ASSERT_TRUE(quire.waitForStarted());

  // Once the opening animation is over the window shows the screen.
  QImage shot;
  const bool shown = WaitForScreen(expected, shot);
  shot.save(QString::fromStdString((dir / "shot.png").string()));
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

// The page of the reading screen's area, once it has stopped changing.
const QRect kPageArea(33, 90, 673, 421);

TEST_F(QuireX11Test, ReadsAChapterFollowsALinkAndComesBack) {
  const QImage cover = Render(0);
  ASSERT_FALSE(cover.isNull());
  Start(cover.size());
  QImage shot;
  ASSERT_TRUE(WaitForScreen(cover, shot)) << "the first screen never appeared";

  const auto page = [&] { return Screenshot().copy(kPageArea.translated(origin)); };
  // Differing pixels of two pages, sampled on a grid.
  const auto differing = [](const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); y += 7)
      for (int x = 0; x < a.width(); x += 7) count += a.pixel(x, y) != b.pixel(x, y);
    return count;
  };
  const int samples = (kPageArea.width() / 7 + 1) * (kPageArea.height() / 7 + 1);
  // Waits for a page that differs much from `from` (or, with `near`, little) and holds still.
  const auto nextPage = [&](const QImage& from, bool near) {
    QImage now, last;
    quire::testing::WaitUntil(
        [&] {
          QThread::msleep(300);
          last = now;
          now = page();
          const int diff = differing(now, from);
          return (near ? diff < samples / 50 : diff > samples / 20) && now == last;
        },
        20000);
    return now;
  };

  Click({600, 290});  // "read the book": the reading screen with its start page
  const QImage start = nextPage(cover.copy(kPageArea), false);
  Click({60, 528});  // the first section's tab opens its chapter
  const QImage chapter = nextPage(start, false);
  ASSERT_GT(differing(chapter, start), samples / 20) << "the chapter did not open";
  chapter.save(QString::fromStdString((dir / "chapter.png").string()));

  // The first link of the chapter: the first pixel of the pages' link colour.
  QPoint link;
  for (int y = 0; y < chapter.height() && link.isNull(); ++y) {
    for (int x = 0; x < chapter.width() - 20 && link.isNull(); ++x) {
      if (chapter.pixel(x, y) == qRgb(0x00, 0x33, 0x66)) link = QPoint(x + 3, y);
    }
  }
  ASSERT_FALSE(link.isNull()) << "no link on the chapter's page";
  Click(kPageArea.topLeft() + link);
  const QImage linked = nextPage(chapter, false);
  ASSERT_GT(differing(linked, chapter), samples / 20) << "the link was not followed";

  Click({596, 73});  // back
  const QImage back = nextPage(chapter, true);
  back.save(QString::fromStdString((dir / "back.png").string()));
  EXPECT_LT(differing(back, chapter), samples / 50) << "the chapter did not come back";
}

}  // namespace
