#include "engine/html/frame_viewer.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QMouseEvent>
#include <QTest>
#include <set>

#include "engine/html/document_view.h"
#include "engine/html/html_document.h"
#include "engine/html/html_error.h"
#include "engine/html/page_render.h"
#include "html_fixture.h"
#include "platform/text.h"

namespace quire::engine::html {
namespace {

using namespace quire::testing;

std::string Page(const std::string& title, const std::string& body) {
  return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

class FrameViewerTest : public ::testing::Test {
 protected:
  FrameViewerTest() : viewer(*book.g) {
    viewer.resize(600, 400);
    viewer.OnHistoryChange = [this](TFrameViewer*) { ++historyEvents; };
  }
  HtmlBook book;
  TFrameViewer viewer;
  int historyEvents = 0;
};

TEST_F(FrameViewerTest, MissingPageFailsWithItsName) {
  try {
    viewer.LoadFromFile("d:\\run\\none.htm");
    FAIL() << "loaded";
  } catch (const HtmlError& e) {
    EXPECT_STREQ(e.what(), "Can't locate file: d:\\run\\none.htm");
  }
  EXPECT_EQ(historyEvents, 0);
  EXPECT_TRUE(viewer.History().empty());
}

TEST_F(FrameViewerTest, HistoryKeepsTenEntriesWithTitlesAndPositions) {
  std::vector<std::string> pages;
  for (int i = 0; i < 12; ++i) {
    std::string body;
    for (int line = 0; line < 200; ++line) body += "<p>line " + std::to_string(line) + "</p>";
    pages.push_back(
        book.Write("p" + std::to_string(i) + ".htm", Page("T" + std::to_string(i), body)));
    viewer.LoadFromFile(pages.back());
  }
  EXPECT_EQ(historyEvents, 12);
  ASSERT_EQ(viewer.History().size(), 10u);
  EXPECT_EQ(viewer.History()[0], pages[11]);
  EXPECT_EQ(viewer.TitleHistory()[0], "T11");
  EXPECT_EQ(viewer.History()[9], pages[2]);
  EXPECT_FALSE(viewer.FwdButtonEnabled());
  EXPECT_TRUE(viewer.BackButtonEnabled());

  viewer.ActiveView()->SetPosition(500);
  viewer.GoBack();
  EXPECT_EQ(viewer.CurrentFile(), pages[10]);
  EXPECT_EQ(viewer.HistoryIndex(), 1);
  EXPECT_TRUE(viewer.FwdButtonEnabled());
  viewer.GoFwd();
  EXPECT_EQ(viewer.CurrentFile(), pages[11]);
  EXPECT_EQ(viewer.ActiveView()->Position(), 500);

  const int events = historyEvents;
  viewer.SetHistoryIndex(0);   // the current one
  viewer.SetHistoryIndex(10);  // outside
  EXPECT_EQ(historyEvents, events);
  viewer.SetHistoryIndex(9);
  EXPECT_EQ(viewer.CurrentFile(), pages[2]);
  EXPECT_FALSE(viewer.BackButtonEnabled());

  // A new page drops the entries ahead.
  viewer.LoadFromFile(pages[0]);
  EXPECT_EQ(viewer.History().size(), 2u);
  EXPECT_EQ(viewer.History()[1], pages[2]);
}

TEST_F(FrameViewerTest, DropDownChoicesSurviveHistorySteps) {
  const std::string list = "<select><option>a<option>b<option>c</select>";
  book.Write("left.htm", Page("L", list));
  book.Write("right.htm", Page("R", list));
  viewer.LoadFromFile(book.Write(
      "f.htm", "<frameset cols=\"50%,*\"><frame src=left.htm><frame src=right.htm></frameset>"));
  viewer.Views()[0]->FormControls()[0].Control->setCurrentIndex(1);
  viewer.Views()[1]->FormControls()[0].Control->setCurrentIndex(2);
  for (int i = 0; i < 3; ++i) viewer.LoadFromFile(book.Write("p.htm", Page("P", list)));
  auto choices = [&] {
    std::vector<int> out;
    for (TDocumentView* view : viewer.Views()) out.push_back(view->FormControls()[0].ItemIndex);
    return out;
  };
  viewer.ActiveView()->FormControls()[0].Control->setCurrentIndex(1);
  viewer.SetHistoryIndex(3);
  EXPECT_EQ(choices(), (std::vector<int>{1, 2}));
  viewer.SetHistoryIndex(0);
  EXPECT_EQ(choices(), (std::vector<int>{1}));
  for (int step = 0; step < 3; ++step) viewer.GoBack();
  EXPECT_EQ(choices(), (std::vector<int>{1, 2}));
}

TEST_F(FrameViewerTest, LongPagesAreLaidOutBesideTheirScrollBar) {
  std::string body;
  for (int i = 0; i < 100; ++i) body += "<p>line</p>";
  viewer.show();
  viewer.LoadFromFile(book.Write("long.htm", Page("L", body)));
  const TDocumentView* view = viewer.ActiveView();
  EXPECT_LT(view->viewport()->width(), viewer.width());
  EXPECT_EQ(view->Document()->LayoutWidth(), view->viewport()->width());
}

TEST_F(FrameViewerTest, VisitedListKeepsTheNewestTwenty) {
  for (int i = 0; i < 25; ++i) viewer.AddVisited("d:\\run\\v" + std::to_string(i) + ".htm");
  viewer.AddVisited("D:\\RUN\\V24.HTM#top");
  ASSERT_EQ(viewer.Visited().size(), 20u);
  EXPECT_EQ(viewer.Visited()[0], "D:\\RUN\\V24.HTM");
  EXPECT_TRUE(viewer.IsVisited("d:\\run\\v5.htm"));
  EXPECT_FALSE(viewer.IsVisited("d:\\run\\v4.htm"));
}

TEST_F(FrameViewerTest, FramesetShowsNamedFramesAndLinksLoadIntoTheirTarget) {
  book.Write("html/menu.htm", Page("Menu",
                                   "<a href=\"ch2.htm\" target=\"main\">Chapter two</a><br>"
                                   "<a href=\"ch2.htm\" target=\"_top\">Top</a>"));
  book.Write("html/ch1.htm", Page("One", "<p>First chapter</p>"));
  book.Write("html/ch2.htm", Page("Two", "<p>Second chapter</p>"));
  const std::string frames =
      book.Write("html/index.htm",
                 "<html><head><title>Book</title></head><frameset cols=\"150,*\">"
                 "<frame name=menu src=\"menu.htm\"><frame name=main src=\"ch1.htm\">"
                 "<noframes>old</noframes></frameset></html>");
  viewer.LoadFromFile(frames);
  ASSERT_EQ(viewer.Views().size(), 2u);
  TDocumentView* menu = viewer.ViewOfFrame("MENU");
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->width(), 150);
  EXPECT_EQ(viewer.ViewOfFrame("main")->FileName(), "d:\\run\\html\\ch1.htm");
  EXPECT_EQ(viewer.ActiveView(), viewer.ViewOfFrame("main"));
  EXPECT_EQ(viewer.TitleHistory()[0], "Book");

  std::vector<std::string> clicks;
  viewer.OnHotSpotClick = [&](const std::string& target, const std::string& url, bool&) {
    clicks.push_back(target + "|" + url);
  };
  // Click the first link in the menu frame.
  menu->show();
  viewer.show();
  const QPoint link = menu->Document() ? QPoint(20, 14) : QPoint();
  QTest::mouseClick(menu->viewport(), Qt::LeftButton, {}, link);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], "main|ch2.htm");
  EXPECT_EQ(viewer.ViewOfFrame("main")->FileName(), "d:\\run\\html\\ch2.htm");
  EXPECT_EQ(viewer.CurrentFile(), frames);
  EXPECT_EQ(viewer.History().size(), 2u);

  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  viewer.GoBack();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(viewer.ViewOfFrame("main")->FileName(), "d:\\run\\html\\ch1.htm");
  EXPECT_EQ(viewer.ViewOfFrame("main")->DocumentText(), "First chapter");
  viewer.grab();

  // The second link replaces the whole frameset.
  menu = viewer.ViewOfFrame("menu");
  menu->show();
  QTest::mouseClick(menu->viewport(), Qt::LeftButton, {}, QPoint(12, 28));
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[1], "_top|ch2.htm");
  EXPECT_EQ(viewer.CurrentFile(), "d:\\run\\html\\ch2.htm");
  EXPECT_EQ(viewer.Views().size(), 1u);
}

TEST_F(FrameViewerTest, ParentTargetReplacesTheFramesetHoldingTheFrame) {
  book.Write("menu.htm", Page("Menu", "menu"));
  book.Write("a.htm", Page("A", "<a href=\"c.htm\" target=_parent>up</a>"));
  book.Write("b.htm", Page("B", "b"));
  book.Write("c.htm", Page("C", "c"));
  book.Write("sub.htm",
             "<frameset rows=\"50%,*\"><frame name=a src=a.htm><frame src=b.htm></frameset>");
  viewer.LoadFromFile(book.Write("index.htm",
                                 "<frameset cols=\"100,*\"><frame name=menu src=menu.htm><frame "
                                 "name=sub src=sub.htm></frameset>"));
  ASSERT_EQ(viewer.Views().size(), 3u);
  viewer.show();
  TDocumentView* a = viewer.ViewOfFrame("a");
  ASSERT_NE(a, nullptr);
  QTest::mouseClick(a->viewport(), Qt::LeftButton, {}, QPoint(12, 14));
  const auto views = viewer.Views();
  ASSERT_EQ(views.size(), 2u);
  EXPECT_EQ(views[0]->FileName(), "d:\\run\\menu.htm");
  EXPECT_EQ(views[1]->FileName(), "d:\\run\\c.htm");
  EXPECT_EQ(viewer.ViewOfFrame("sub"), views[1]);
}

TEST_F(FrameViewerTest, PicturesOpenAsDocuments) {
  const std::string picture = book.WritePicture("pics/big.bmp", QSize(320, 240), Qt::blue);
  viewer.LoadFromFile(picture);
  EXPECT_EQ(viewer.CurrentFile(), picture);
  EXPECT_EQ(viewer.LastPictureSize(), QSize(320, 240));
  EXPECT_EQ(viewer.grab().toImage().pixelColor(100, 100), QColor(Qt::blue));
}

TEST_F(FrameViewerTest, HandledClickIsNotFollowed) {
  const std::string page = book.Write("a.htm", Page("A", "<a href=\"b.htm\">go</a>"));
  book.Write("b.htm", Page("B", "b"));
  viewer.LoadFromFile(page);
  viewer.OnHotSpotClick = [](const std::string&, const std::string&, bool& handled) {
    handled = true;
  };
  viewer.show();
  QTest::mouseClick(viewer.ActiveView()->viewport(), Qt::LeftButton, {}, QPoint(12, 14));
  EXPECT_EQ(viewer.CurrentFile(), page);
  EXPECT_EQ(historyEvents, 1);
}

TEST_F(FrameViewerTest, FramesetThatIncludesItselfStops) {
  const std::string self = book.Write(
      "self.htm",
      "<frameset rows=\"50%,50%\"><frame src=\"self.htm\"><frame src=\"self.htm\"></frameset>");
  viewer.LoadFromFile(self);
  EXPECT_GT(viewer.Views().size(), 1u);
  EXPECT_LE(viewer.Views().size(), 48u);

  // A wide grid of frames that each hold the grid again.
  std::string stars(127, ',');
  for (size_t i = 0; i < stars.size(); i += 2) stars[i] = '*';
  std::string grid = "<frameset rows=\"" + stars + "\" cols=\"" + stars + "\">";
  for (int i = 0; i < 4096; ++i) grid += "<frame src=grid.htm>";
  viewer.LoadFromFile(book.Write("grid.htm", grid + "</frameset>"));
  EXPECT_LE(viewer.Views().size(), 48u);
}

TEST_F(FrameViewerTest, RendersAFramesetToAPicture) {
  book.Write("html/left.htm", "<body bgcolor=#ff0000>left</body>");
  book.Write("html/right.htm", "<body bgcolor=#0000ff>right</body>");
  book.Write("html/f.htm",
             "<frameset cols=\"100,*\"><frame src=left.htm><frame src=right.htm></frameset>");
  const QImage image = RenderPage(*book.g, "html/f.htm", 400, 300);
  ASSERT_EQ(image.size(), QSize(400, 300));
  EXPECT_EQ(image.pixelColor(50, 150), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(300, 150), QColor(0, 0, 255));
  EXPECT_EQ(PageText(*book.g, "html/f.htm"), "left\nright\n");
}

}  // namespace
}  // namespace quire::engine::html

namespace quire::engine::html {
namespace {

using namespace quire::testing;

// A 1 x 1 GIF with two frames, red then blue, 100 ms each, looping.
std::string TwoFrameGif() {
  std::string gif("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13);
  gif += std::string("\xFF\x00\x00\x00\x00\xFF", 6);
  gif += std::string("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
  for (char index : {'\x44', '\x4C'}) {
    gif += std::string("\x21\xF9\x04\x00\x0A\x00\x00\x00", 8);
    gif += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);
    gif += std::string("\x02\x02", 2) + index + std::string("\x01\x00", 2);
  }
  return gif + "\x3B";
}

TEST(AnimationTest, AnimatedGifsPlay) {
  HtmlBook book;
  book.Write("a.gif", TwoFrameGif());
  TFrameViewer viewer(*book.g);
  viewer.resize(200, 100);
  viewer.LoadFromFile(
      book.Write("a.htm", "<body style=margin:0><img src=a.gif width=20 height=20>"));
  viewer.show();
  std::set<QRgb> seen;
  for (int i = 0; i < 20 && seen.size() < 2; ++i) {
    QTest::qWait(30);
    seen.insert(viewer.grab().toImage().pixel(10, 10) & 0xFFFFFF);
  }
  EXPECT_TRUE(seen.count(0xFF0000));
  EXPECT_TRUE(seen.count(0x0000FF));
  EXPECT_EQ(viewer.LastPictureSize(), QSize(1, 1));
}

TEST(ViewerEventsTest, KeysAndMouseReachTheProgramWithViewCoordinates) {
  HtmlBook book;
  TFrameViewer viewer(*book.g);
  viewer.resize(300, 200);
  viewer.LoadFromFile(book.Write("e.htm", "<p>text</p>"));
  std::vector<std::string> events;
  viewer.OnKeyDown = [&](int key, Qt::KeyboardModifiers shift) {
    events.push_back("key " + std::to_string(key) + (shift & Qt::ControlModifier ? " ctrl" : ""));
  };
  viewer.OnMouseDown = [&](Qt::MouseButton b, Qt::MouseButtons, Qt::KeyboardModifiers, int x,
                           int y) {
    events.push_back("down " + std::to_string(b) + " " + std::to_string(x) + "," +
                     std::to_string(y));
  };
  viewer.OnMouseUp = [&](Qt::MouseButton b, Qt::MouseButtons, Qt::KeyboardModifiers, int x, int y) {
    events.push_back("up " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  viewer.show();
  QWidget* view = viewer.ActiveView()->viewport();
  QTest::mouseClick(view, Qt::RightButton, {}, QPoint(40, 50));
  QTest::keyClick(viewer.ActiveView(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(events, (std::vector<std::string>{"down 2 40,50", "up 2 40,50",
                                              "key " + std::to_string(Qt::Key_Control) + " ctrl",
                                              "key " + std::to_string(Qt::Key_C) + " ctrl"}));
}

TEST(ViewerEventsTest, ReloadAppliesNewDefaultFonts) {
  HtmlBook book;
  TFrameViewer viewer(*book.g);
  viewer.resize(300, 200);
  std::string body;
  for (int i = 0; i < 30; ++i) body += "<p>line</p>";
  viewer.LoadFromFile(book.Write("f.htm", body));
  const int before = viewer.ActiveView()->DocumentHeight();
  viewer.ActiveView()->SetPosition(100);
  viewer.SetDefFontSize(16);
  viewer.Reload();
  EXPECT_GT(viewer.ActiveView()->DocumentHeight(), before * 3 / 2);
  EXPECT_EQ(viewer.ActiveView()->Position(), 100);
  EXPECT_EQ(viewer.History().size(), 1u);
}

}  // namespace
}  // namespace quire::engine::html

namespace quire::engine::html {
namespace {

using namespace quire::testing;

TEST(HistoryPicturesTest, PagesShownAgainFromHistoryKeepTheirPictures) {
  HtmlBook book;
  book.WritePicture("p.bmp", QSize(40, 40), Qt::green);
  TFrameViewer viewer(*book.g);
  viewer.resize(200, 100);
  viewer.LoadFromFile(book.Write("a.htm", "<body style=margin:0><img src=p.bmp>"));
  viewer.LoadFromFile(book.Write("b.htm", "<p>b"));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  viewer.GoBack();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(viewer.grab().toImage().pixelColor(20, 20), QColor(Qt::green));
}

}  // namespace
}  // namespace quire::engine::html

namespace quire::engine::html {
namespace {

using namespace quire::testing;

TEST(ImageCacheTest, PagesShownBeforeKeepTheirPicturesUpToTheCount) {
  struct Case {
    int count;
    QColor shown;  // red: the picture decoded before; blue: read again
  } cases[] = {{0, Qt::blue}, {1, Qt::blue}, {2, Qt::red}};
  for (const Case& c : cases) {
    HtmlBook book;
    TFrameViewer viewer(*book.g);
    viewer.resize(200, 100);
    viewer.SetImageCacheCount(c.count);
    book.WritePicture("p.bmp", QSize(40, 40), Qt::red);
    viewer.LoadFromFile(book.Write("a.htm", "<body style=margin:0><img src=p.bmp>"));
    viewer.LoadFromFile(book.Write("b.htm", "<p>b"));
    viewer.LoadFromFile(book.Write("c.htm", "<p>c"));
    book.WritePicture("p.bmp", QSize(40, 40), Qt::blue);
    viewer.SetHistoryIndex(2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(viewer.grab().toImage().pixelColor(20, 20), c.shown) << c.count;
  }
}

}  // namespace
}  // namespace quire::engine::html
