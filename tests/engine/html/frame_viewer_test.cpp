#include "engine/html/frame_viewer.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>

#include "engine/html/document_view.h"
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

  viewer.GoBack();
  EXPECT_EQ(viewer.ViewOfFrame("main")->FileName(), "d:\\run\\html\\ch1.htm");
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
  EXPECT_LE(viewer.Views().size(), 64u);
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
