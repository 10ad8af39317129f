#include "engine/html/document_view.h"

#include <gtest/gtest.h>

#include <QScrollBar>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <set>

#include "engine/html/frame_viewer.h"
#include "engine/html/html_document.h"
#include "engine/html/html_error.h"
#include "engine/html/page_render.h"
#include "html_fixture.h"
#include "platform/text.h"
#include "storage/content_archive.h"
#include "support/book_writers.h"

namespace quire::engine::html {
namespace {

using namespace quire::testing;

std::string Cp(const std::string& utf8) {
  return *platform::Utf8ToCp1251(utf8);
}

class DocumentViewTest : public ::testing::Test {
 protected:
  DocumentViewTest() : view(*book.g) { view.resize(600, 300); }
  void Show(const std::string& body) {
    view.LoadFromFile(book.Write("html/page.htm", "<html><body>" + body + "</body></html>"));
  }
  HtmlBook book;
  TDocumentView view;
};

TEST_F(DocumentViewTest, ReadsPagesFromTheArchiveAndPicturesBesideThem) {
  book.dir.Write(
      "cd/run/interface.dat",
      MakeArchive(
          {Folder(
              "RUN",
              {Folder("HTML",
                      {File("A.HTM",
                            Cp("<title>Из архива</title><img src=\"../pics/p.bmp\" alt=x>"))})})})
          .Bytes());
  storage::ContentArchive archive;
  archive.OpenArchive(*book.g->Fs, book.g->ExeDir + "interface.dat");
  archive.SetArchiveRoot(book.g->ArchiveRootDir);
  book.g->Archive = &archive;
  book.WritePicture("pics/p.bmp", QSize(30, 20), Qt::green);
  view.LoadFromFile("d:\\run\\html\\a.htm");
  EXPECT_EQ(view.Title(), Cp("Из архива"));
  EXPECT_EQ(view.LastPictureSize(), QSize(30, 20));
  EXPECT_TRUE(view.ObjectAt(QPoint(20, 18)).IsImage);
  book.g->Archive = nullptr;
}

TEST_F(DocumentViewTest, MissingFileFailsWithItsName) {
  EXPECT_THROW(
      {
        try {
          view.LoadFromFile("d:\\run\\none.htm");
        } catch (const HtmlError& e) {
          EXPECT_STREQ(e.what(), "Can't locate file: d:\\run\\none.htm");
          throw;
        }
      },
      HtmlError);
}

TEST_F(DocumentViewTest, DecodesTheDeclaredCharset) {
  struct Case {
    std::string charset, bytes;
  } cases[] = {
      {"", "\xCF\xF0\xE8\xE2\xE5\xF2"},                               // Windows-1251
      {"koi8-r", "\xF0\xD2\xC9\xD7\xC5\xD4"},                         // KOI8-R
      {"utf-8", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},  // UTF-8
  };
  for (const Case& c : cases) {
    const std::string meta =
        c.charset.empty()
            ? ""
            : "<meta http-equiv=Content-Type content=\"text/html; charset=" + c.charset + "\">";
    view.LoadFromFile(
        book.Write("c.htm", "<html><head>" + meta + "</head><body>" + c.bytes + "</body></html>"));
    EXPECT_EQ(view.DocumentText(), Cp("Привет")) << c.charset;
  }
}

TEST_F(DocumentViewTest, TextFollowsReadingOrderAcrossTableCells) {
  Show(
      "<h1>Head</h1><table><tr><td>a1</td><td>b1</td></tr><tr><td>a2<br>more</td><td>b2</td></tr>"
      "</table><p>after &amp; <b>bold</b>&nbsp;x</p>");
  EXPECT_EQ(view.DocumentText(), "Head\na1\nb1\na2\nmore\nb2\nafter & bold x");
}

TEST_F(DocumentViewTest, CellsTakeBorderAndPaddingFromTheirTableUnlessTheySayOtherwise) {
  struct Case {
    std::string table;
    int textLeft;  // body margin, table border, cell border, cell padding
  } cases[] = {
      {"<table cellspacing=0><tr><td>x", 8 + 1},
      {"<table cellspacing=0 cellpadding=6><tr><td>x", 8 + 6},
      {"<table border=1 cellspacing=0 cellpadding=6><tr><td>x", 8 + 1 + 1 + 6},
      {"<table border=1 cellspacing=0 cellpadding=6><tr><td style=padding-left:2px>x",
       8 + 1 + 1 + 2},
      {"<table border=1 cellspacing=0 cellpadding=6><tr><td>"
       "<table cellspacing=0 cellpadding=3><tr><td>x",
       8 + 1 + 1 + 6 + 3},
  };
  for (const Case& c : cases) {
    Show(c.table);
    ASSERT_FALSE(view.Document()->Text().Runs().empty()) << c.table;
    EXPECT_EQ(view.Document()->Text().Runs()[0].Rect.left(), c.textLeft) << c.table;
  }
}

TEST_F(DocumentViewTest, FindSelectsEachMatchInTurnAndHonoursCase) {
  std::string body = "<p>Valve one</p>";
  for (int i = 0; i < 80; ++i) body += "<p>filler</p>";
  body += "<p>the valve two</p>";
  Show(body);
  EXPECT_TRUE(view.Find("valve", false));
  EXPECT_EQ(view.SelStart(), 0);
  EXPECT_EQ(view.SelLength(), 5);
  EXPECT_EQ(view.Position(), 0);
  EXPECT_TRUE(view.Find("valve", false));
  EXPECT_EQ(view.SelText(), "valve");
  EXPECT_GT(view.Position(), 0);  // scrolled so the match is in the middle
  EXPECT_FALSE(view.Find("valve", false));
  view.SetSelStart(0);
  EXPECT_EQ(view.SelLength(), 0);
  EXPECT_TRUE(view.Find("valve", true));
  EXPECT_GT(view.SelStart(), 5);
}

TEST_F(DocumentViewTest, FindsCyrillicWithoutRegardToCase) {
  Show(Cp("<p>Поршень и ПОРШЕНЬ</p>"));
  EXPECT_TRUE(view.Find(Cp("поршень"), false));
  EXPECT_TRUE(view.Find(Cp("поршень"), false));
  EXPECT_EQ(view.SelText(), Cp("ПОРШЕНЬ"));
  view.SetSelStart(0);
  EXPECT_TRUE(view.Find(Cp("ПОРШЕНЬ"), true));
  EXPECT_EQ(view.SelStart(), 10);
}

TEST_F(DocumentViewTest, CopyIsRefusedPastTheBufferSize) {
  Show("<p>" + std::string(32000, 'x') + "</p><p>tail</p>");
  view.SelectAll();
  EXPECT_GT(view.SelLength(), TDocumentView::kMaxCopyLength);
  try {
    view.CopyToClipboard();
    FAIL() << "copied";
  } catch (const HtmlError& e) {
    EXPECT_STREQ(e.what(), "Selected text exceeds buffer size");
  }
  view.SetSelStart(0);
  view.SetSelLength(TDocumentView::kMaxCopyLength);
  view.CopyToClipboard();
  EXPECT_EQ(QApplication::clipboard()->text().size(), TDocumentView::kMaxCopyLength);
}

TEST_F(DocumentViewTest, MouseSelectionRunsAcrossCells) {
  Show("<table><tr><td>alpha</td><td>beta</td></tr><tr><td>gamma</td><td>delta</td></tr></table>");
  view.show();
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(12, 12));
  QTest::mouseMove(view.viewport(), QPoint(30, 30));
  QMouseEvent move(QEvent::MouseMove, QPointF(30, 31), QPointF(30, 31), Qt::NoButton,
                   Qt::LeftButton, {});
  QApplication::sendEvent(view.viewport(), &move);
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(30, 31));
  EXPECT_NE(view.SelText().find("beta\nga"), std::string::npos) << view.SelText();
}

TEST_F(DocumentViewTest, ObjectAtPointGivesImagesWithTheirAltText) {
  book.WritePicture("html/p.bmp", QSize(100, 50), Qt::blue);
  Show(Cp("<img src=p.bmp alt=\"Схема\"><br><a href=x.htm><img src=p.bmp></a>text"));
  const HtmlObject image = view.ObjectAt(QPoint(50, 30));
  EXPECT_TRUE(image.IsImage);
  EXPECT_EQ(image.Alt, Cp("Схема"));
  EXPECT_EQ(image.Src, "d:\\run\\html\\p.bmp");
  const HtmlObject linked = view.ObjectAt(QPoint(50, 90));
  EXPECT_TRUE(linked.IsImage);
  EXPECT_EQ(linked.Alt, "");
  EXPECT_EQ(linked.Url, "x.htm");
  EXPECT_NE(image.Id, linked.Id);
  EXPECT_FALSE(view.ObjectAt(QPoint(500, 280)).IsImage);
}

TEST_F(DocumentViewTest, ImageMapAreasAreHotSpots) {
  book.WritePicture("html/map.bmp", QSize(200, 100), Qt::gray);
  Show(
      "<img src=map.bmp usemap=\"#m\"><map name=m>"
      "<area shape=rect coords=\"0,0,50,50\" href=\"r.htm\" alt=Rect>"
      "<area shape=circle coords=\"100,50,20\" href=\"c.htm\" target=main>"
      "<area shape=poly coords=\"150,0,199,0,199,99\" href=\"p.htm\"></map>");
  struct Case {
    QPoint at;
    std::string url;
  } cases[] = {{{10, 10}, "r.htm"},
               {{100, 55}, "c.htm"},
               {{190, 20}, "p.htm"},
               {{160, 90}, ""},
               {{70, 90}, ""}};
  for (const Case& c : cases) {
    EXPECT_EQ(view.ObjectAt(c.at + QPoint(8, 8)).Url, c.url) << c.at.x() << "," << c.at.y();
  }
  EXPECT_EQ(view.ObjectAt(QPoint(108, 63)).Target, "main");

  std::vector<std::string> covered;
  view.OnHotSpotCovered = [&](const std::string&, const std::string& url) {
    covered.push_back(url);
  };
  std::string clicked;
  view.OnLinkClick = [&](TDocumentView*, const std::string&, const std::string& url) {
    clicked = url;
  };
  view.show();
  QTest::mouseMove(view.viewport(), QPoint(18, 18));
  QTest::mouseMove(view.viewport(), QPoint(80, 100));
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(108, 63));
  EXPECT_EQ(covered, (std::vector<std::string>{"r.htm", ""}));
  EXPECT_EQ(clicked, "c.htm");
}

TEST_F(DocumentViewTest, SelectsAreRealDropDowns) {
  Show(
      Cp("<form><select name=\"Serial\"><option>111-222<option selected>333-444</select>"
         "<select name=other><optgroup label=g><option>a<option>b</optgroup></select></form>"));
  auto controls = view.FormControls();
  ASSERT_EQ(controls.size(), 2u);
  EXPECT_EQ(controls[0].Name, "Serial");
  EXPECT_EQ(controls[0].Items, (std::vector<std::string>{"111-222", "333-444"}));
  EXPECT_EQ(controls[0].ItemIndex, 1);
  ASSERT_NE(controls[0].Control, nullptr);
  EXPECT_GT(controls[0].Control->width(), 40);
  controls[0].Control->setCurrentIndex(0);
  EXPECT_EQ(view.FormControls()[0].ItemIndex, 0);
  EXPECT_EQ(controls[1].Items.size(), 2u);
  EXPECT_EQ(view.DocumentText(), "");  // option texts are not page text
}

TEST_F(DocumentViewTest, InputsTextAreasAndButtonsAreRealControls) {
  Show(
      Cp("<form>Имя<input name=user value=\"Иван\" size=10><input type=password name=pw>"
         "<input name=wide style=\"width:200px\"><input type=hidden name=h value=x>"
         "<input type=checkbox name=c checked><input type=radio name=r>"
         "<input type=radio name=r checked><textarea name=t rows=4>one\ntwo</textarea>"
         "<input type=submit><input type=reset value=Clear><button type=button>Go <b>on</b>"
         "</button></form>"));
  using K = FormControlKind;
  struct Expected {
    K kind;
    std::string name, text;
    bool checked;
  } expected[] = {
      {K::Text, "user", Cp("Иван"), false},
      {K::Password, "pw", "", false},
      {K::Text, "wide", "", false},
      {K::CheckBox, "c", "", true},
      {K::Radio, "r", "", false},
      {K::Radio, "r", "", true},
      {K::TextArea, "t", "one\ntwo", false},
      {K::Submit, "", "Submit", false},
      {K::Reset, "", "Clear", false},
      {K::Button, "", "Go on", false},
  };
  const auto controls = view.FormControls();
  ASSERT_EQ(controls.size(), std::size(expected));
  for (size_t i = 0; i < controls.size(); ++i) {
    EXPECT_EQ(controls[i].Kind, expected[i].kind) << i;
    EXPECT_EQ(controls[i].Name, expected[i].name) << i;
    EXPECT_EQ(controls[i].Text, expected[i].text) << i;
    EXPECT_EQ(controls[i].Checked, expected[i].checked) << i;
    EXPECT_FALSE(controls[i].IsDropDown);
    ASSERT_NE(controls[i].Widget, nullptr);
  }
  EXPECT_EQ(view.DocumentText(), Cp("Имя"));  // what controls hold is not page text
  EXPECT_EQ(controls[2].Widget->size(), QSize(200, controls[0].Widget->height()));
  EXPECT_GT(controls[6].Widget->height(), 2 * controls[0].Widget->height());

  // What the user does is what the program reads, until the page's reset button.
  qobject_cast<QLineEdit*>(controls[0].Widget)->setText("Petr");
  qobject_cast<QAbstractButton*>(controls[4].Widget)->click();
  auto now = view.FormControls();
  EXPECT_EQ(now[0].Text, "Petr");
  EXPECT_TRUE(now[4].Checked);
  EXPECT_FALSE(now[5].Checked);  // radio buttons of one name exclude each other
  qobject_cast<QAbstractButton*>(controls[8].Widget)->click();
  now = view.FormControls();
  EXPECT_EQ(now[0].Text, Cp("Иван"));
  EXPECT_FALSE(now[4].Checked);
  EXPECT_TRUE(now[5].Checked);
}

TEST_F(DocumentViewTest, JustifiedLinesReachTheRightEdgeButTheLastOfEachParagraph) {
  book.WritePicture("html/p.bmp", QSize(80, 60), Qt::red);
  const std::string words =
      "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor "
      "incididunt ut labore et dolore magna aliqua, ut enim ad minim veniam.";
  constexpr int kAll = -1;
  struct Case {
    std::string body;
    int shortLines;  // lines left as laid out
  } cases[] = {
      {"<p align=justify style=\"width:300px\">" + words + "</p>", 1},
      {"<p style=\"width:300px\">" + words + "</p>", kAll},
      {"<div style=\"width:300px;text-align:justify\">" + words + "<br>" + words + "</div>", 2},
      {"<div align=justify style=\"width:300px\"><img src=p.bmp align=right width=80 height=60>" +
           words + " <b>" + words + "</b></div>",
       1},
      {"<table cellspacing=0 cellpadding=0><tr><td width=300 align=justify>" + words + words +
           "</td></tr></table>",
       1},
  };
  for (const Case& c : cases) {
    Show(c.body);
    std::vector<std::pair<int, int>> lines;  // top, right edge of the words
    for (const TextRun& run : view.Document()->Text().Runs()) {
      if (run.Text.trimmed().isEmpty()) continue;
      if (lines.empty() || lines.back().first != run.Rect.top())
        lines.emplace_back(run.Rect.top(), 0);
      lines.back().second = run.Rect.right() + 1;
    }
    ASSERT_GT(lines.size(), 2u) << c.body;
    int shortLines = 0;
    for (const auto& [top, right] : lines) {
      const bool besideFloat = c.body.find("<img") != std::string::npos && top < 8 + 60;
      const int edge = besideFloat ? 8 + 300 - 80 : 8 + 300;
      if (right == edge) continue;
      EXPECT_LT(right, edge) << c.body;
      ++shortLines;
    }
    EXPECT_EQ(shortLines, c.shortLines == kAll ? static_cast<int>(lines.size()) : c.shortLines)
        << c.body;
    EXPECT_LT(lines.back().second, 8 + 300) << c.body;
  }
}

TEST_F(DocumentViewTest, AnchorsAndScrollPositionsAreClamped) {
  std::string body;
  for (int i = 0; i < 100; ++i) body += "<p>line</p>";
  body += "<a name=end>End</a>";
  for (int i = 0; i < 10; ++i) body += "<p>more</p>";
  view.LoadFromFile(book.Write("long.htm", body) + "#end");
  EXPECT_GT(view.Position(), 1000);
  view.SetPosition(-5);
  EXPECT_EQ(view.Position(), 0);
  view.SetPosition(1000000);
  EXPECT_EQ(view.Position(), view.DocumentHeight() - view.height());
}

// Scrolling sideways reaches what is wider than the view, and nothing else.
TEST_F(DocumentViewTest, ScrollsSidewaysOnlyOverContentWiderThanTheView) {
  std::string words;
  for (int i = 0; i < 40; ++i) words += "a long description of the part ";
  // A table nested in a cell leaves its outer boxes wider than the page it lays out.
  Show(
      "<table width=100% cellpadding=12><tr><td><table width=100%><tr><th width=38%>Name</th>"
      "<th>Text</th></tr><tr><td>forms</td><td>" +
      words + "</td></tr></table></td></tr></table>");
  EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
  Show("<table width=900 border=1><tr><td>wide</td></tr></table>");
  EXPECT_GT(view.horizontalScrollBar()->maximum(), 250);
}

TEST_F(DocumentViewTest, HiddenViewLoadsWithoutPictures) {
  book.WritePicture("html/p.bmp", QSize(300, 200), Qt::blue);
  auto hidden = TDocumentView::CreateHidden(*book.g);
  hidden->LoadFromFile(book.Write("html/h.htm", "<img src=p.bmp>word"));
  EXPECT_FALSE(hidden->isVisible());
  EXPECT_EQ(hidden->LastPictureSize(), QSize());
  EXPECT_TRUE(hidden->Find("word", false));
  EXPECT_TRUE(hidden->TitleHistory().size() == 1);
}

TEST_F(DocumentViewTest, MalformedPagesLoadAndKeepTheirText) {
  std::string deepTables, deepDivs;
  for (int i = 0; i < 300; ++i) deepTables += "<table><tr><td>t" + std::to_string(i);
  for (int i = 0; i < 50000; ++i) deepDivs += "<div><font>";
  std::string unclosedFonts;
  for (int i = 0; i < 1000; ++i) unclosedFonts += "<font size=" + std::to_string(i) + ">";
  for (int i = 0; i < 3000; ++i) unclosedFonts += "<p>p" + std::to_string(i);
  struct Case {
    std::string page, text;
  } cases[] = {
      {deepTables, "t299"},
      {unclosedFonts, "p2999"},
      {deepDivs + "deep", "deep"},
      {"<p title=\"" + std::string(1 << 20, 'a') + "\">long attribute</p>", "long attribute"},
      {"<b><i>unclosed <table><tr><td>cell &bogus; &#999999999; <p><li>end", "end"},
      {std::string("\0\xFF<\xFE", 4) + "bytes", "bytes"},
      {"<img src=p.bmp width=90000 height=90000><div style=\"background:url(p.bmp);"
       "width:90000px;height:90000px;background-size:1px\">huge</div>"
       "<table background=p.bmp width=50000 height=50000><tr><td>cell</table>",
       "huge"},
  };
  book.WritePicture("html/p.bmp", QSize(2, 2), Qt::red);
  for (const Case& c : cases) {
    view.LoadFromFile(book.Write("html/bad.htm", c.page));
    view.grab();
    EXPECT_NE(view.DocumentText().find(c.text), std::string::npos) << c.text;
  }
}

TEST_F(DocumentViewTest, StyleSheetsApplyByTypeClassAndIdFromLinkedFilesToo) {
  book.Write("html/s.css", "<!-- .big { font-size: 30px } #box { background-color: #00ff00 } -->");
  Show(
      "<link rel=stylesheet type=text/css href=s.css>"
      "<style type=text/css>p { margin: 0 }</style>"
      "<p class=big id=box>MMMM</p>");
  view.show();
  const QImage image = view.grab().toImage();
  EXPECT_EQ(image.pixelColor(300, 20), QColor(0, 255, 0));
  EXPECT_GE(view.DocumentHeight(), 30);
}

// The first row with ink in a page of `body`.
int TopInk(HtmlBook& book, const std::string& body) {
  book.Write("html/ink.htm", "<html><body>" + body + "</body></html>");
  const QImage image = RenderPage(*book.g, "html/ink.htm", 200);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 128) return y;
  return -1;
}

TEST_F(DocumentViewTest, SuperscriptsRiseAndSubscriptsSink) {
  // Against text of the same size on the line.
  const int plain = TopInk(book, "<p><small>3</small></p>");
  EXPECT_LT(TopInk(book, "<p>cm<sup>3</sup></p>"), plain - 2);
  EXPECT_GT(TopInk(book, "<p><sub>2</sub></p>"), TopInk(book, "<p><small>2</small></p>") + 2);
}

TEST_F(DocumentViewTest, RendersATypicalPage) {
  book.WritePicture("pics/red.bmp", QSize(60, 40), Qt::red);
  book.Write("html/p.htm", Cp(R"(<html><head><title>Глава</title></head>
<body bgcolor="#FFFFE0"><h2 align=center>Двигатель</h2>
<table border=1 cellpadding=4 cellspacing=0 width="90%" align=center>
<tr bgcolor=silver><th>Деталь</th><th>Номер</th></tr>
<tr><td><img src="../pics/red.bmp" align=left hspace=5>Поршень</td><td align=right>12</td></tr>
</table></body></html>)"));
  const QImage image = RenderPage(*book.g, "html/p.htm", 400);
  EXPECT_EQ(image.width(), 400);
  EXPECT_EQ(image.pixelColor(2, 2), QColor(0xFF, 0xFF, 0xE0));
  EXPECT_EQ(PageText(*book.g, "html/p.htm"), Cp("Двигатель\nДеталь\nНомер\nПоршень\n12\n"));
}

}  // namespace
}  // namespace quire::engine::html

namespace quire::engine::html {
namespace {

using namespace quire::testing;

TEST(LinkColoursTest, LinksVisitedLinksAndHoverHaveTheirColours) {
  HtmlBook book;
  TFrameViewer viewer(*book.g);
  viewer.resize(300, 200);
  ViewerSettings settings;
  settings.HotSpotColor = QColor(0, 0, 255);
  settings.VisitedColor = QColor(0, 160, 0);
  settings.OverColor = QColor(255, 0, 0);
  settings.LinksChangeColor = true;
  settings.NoLinkUnderline = true;
  viewer.SetSettings(settings);
  const std::string page = book.Write(
      "l.htm",
      "<body style=\"font-size:40px\"><a href=a.htm>MMMM</a><br><a href=b.htm>MMMM</a></body>");
  viewer.AddVisited("d:\\run\\b.htm");
  viewer.LoadFromFile(page);
  viewer.show();
  auto colours = [&](QPoint from, QPoint to) {
    const QImage image = viewer.grab().toImage();
    std::set<QRgb> seen;
    for (int y = from.y(); y < to.y(); ++y) {
      for (int x = from.x(); x < to.x(); ++x) seen.insert(image.pixel(x, y) & 0xFFFFFF);
    }
    return seen;
  };
  EXPECT_TRUE(colours({8, 8}, {100, 50}).count(0x0000FF));
  EXPECT_TRUE(colours({8, 56}, {100, 100}).count(0x00A000));
  QTest::mouseMove(viewer.ActiveView()->viewport(), QPoint(30, 30));
  EXPECT_TRUE(colours({8, 8}, {100, 50}).count(0xFF0000));
}

}  // namespace
}  // namespace quire::engine::html
