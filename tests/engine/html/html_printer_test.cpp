#include "engine/html/html_printer.h"

#include <gtest/gtest.h>

#include "engine/html/frame_viewer.h"
#include "html_fixture.h"

namespace quire::engine::html {
namespace {

using namespace quire::testing;
using Spans = std::vector<std::pair<int, int>>;

TEST(HtmlPrinterTest, BreaksPagesBetweenLinesAndRowsNeverThroughThem) {
  struct Case {
    int height, page;
    Spans spans, pages;
  } cases[] = {
      {250, 100, {}, {{0, 100}, {100, 200}, {200, 250}}},
      {250, 100, {{90, 110}, {180, 230}}, {{0, 90}, {90, 180}, {180, 250}}},
      {300, 100, {{10, 250}, {95, 105}}, {{0, 95}, {95, 195}, {195, 295}, {295, 300}}},  // too tall
      {200, 100, {{80, 120}, {60, 90}}, {{0, 60}, {60, 160}, {160, 200}}},  // breaks move up twice
      {0, 100, {}, {{0, 0}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(THtmlPrinter::SplitPages(c.height, c.page, c.spans), c.pages) << c.height;
  }
}

class PrintTest : public ::testing::Test {
 protected:
  PrintTest() : viewer(*book.g) {
    viewer.resize(500, 400);
    std::string rows;
    for (int i = 0; i < 60; ++i)
      rows += "<tr><td height=40>row " + std::to_string(i) + "</td></tr>";
    viewer.LoadFromFile(book.Write(
        "p.htm",
        "<body style=\"margin:0\"><table width=100% cellspacing=0 cellpadding=0 bgcolor=#ff0000>" +
            rows + "</table></body>"));
  }
  HtmlBook book;
  TFrameViewer viewer;
  PaperMetrics paper{96, 96, QSize(400, 300)};
};

TEST_F(PrintTest, FormatsPagesWithHeadersAndRowsWhole) {
  std::vector<int> headers;
  viewer.OnPrintHeader = [&](QPainter&, int page, int width, int height) {
    headers.push_back(page);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 300);
  };
  THtmlPrinter printer(*book.g, viewer);
  const int pages = printer.Format(paper, 1.0);
  EXPECT_EQ(pages, 9);  // 7 rows of 40 pixels on each page of 300
  for (int i = 0; i < pages; ++i) {
    const auto [top, bottom] = printer.PageSpan(i);
    EXPECT_EQ(top % 40, 0);
    EXPECT_EQ(bottom % 40, 0);
  }
  QImage page(400, 300, QImage::Format_RGB32);
  page.fill(Qt::white);
  QPainter painter(&page);
  printer.DrawPage(painter, 1);
  painter.end();
  EXPECT_EQ(page.pixelColor(200, 100), QColor(255, 0, 0));
  EXPECT_EQ(page.pixelColor(200, 295), QColor(255, 255, 255));  // below the last whole row
  EXPECT_EQ(headers, std::vector<int>{2});

  // A print scale of 2 doubles the pages; stopping keeps what was made.
  EXPECT_GT(printer.Format(paper, 2.0), 15);
  EXPECT_EQ(printer.Format(paper, 1.0, [](int page) { return page < 3; }), 2);
}

TEST_F(PrintTest, TableBackgroundsCanBeLeftOut) {
  THtmlPrinter printer(*book.g, viewer);
  printer.SetPrintTableBackground(false);
  printer.Format(paper, 1.0);
  QImage page(400, 300, QImage::Format_RGB32);
  page.fill(Qt::white);
  QPainter painter(&page);
  printer.DrawPage(painter, 0);
  painter.end();
  EXPECT_EQ(page.pixelColor(200, 100), QColor(255, 255, 255));
}

}  // namespace
}  // namespace quire::engine::html
