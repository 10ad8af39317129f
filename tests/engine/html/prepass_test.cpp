#include "engine/html/html_prepass.h"

#include <gtest/gtest.h>

#include "engine/html/frameset_parser.h"

namespace quire::engine::html {
namespace {

TEST(PrepassTest, FindsTheDeclaredCharset) {
  struct Case {
    std::string page, charset;
  } cases[] = {
      {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">",
       "windows-1251"},
      {"<META CONTENT='text/html; CHARSET=KOI8-R'>", "koi8-r"},
      {"<meta charset=\"utf-8\">", "utf-8"},
      {"<p>no charset here</p>", ""},
      {std::string(5000, ' ') + "<meta charset=utf-8>", ""},  // too late to count
  };
  for (const Case& c : cases) EXPECT_EQ(DeclaredCharset(c.page), c.charset) << c.page;
  EXPECT_EQ(DecodePage("\xEF\xBB\xBF\xD0\x96"), "\xD0\x96");  // a UTF-8 mark wins
  EXPECT_EQ(DecodePage("\xC6"), "\xD0\x96");                  // Windows-1251 by default
}

TEST(PrepassTest, CapsTableNestingKeepingTheText) {
  std::string page;
  for (int i = 0; i < 20; ++i) page += "<table><tr><td>t" + std::to_string(i);
  const std::string capped = CapNesting(page, 3);
  EXPECT_EQ(capped.substr(0, 54), "<table><tr><td>t0<table><tr><td>t1<table><tr><td>t2<br");
  size_t tables = 0;
  for (size_t at = capped.find("<table"); at != std::string::npos;
       at = capped.find("<table", at + 1))
    ++tables;
  EXPECT_EQ(tables, 3u);
  EXPECT_NE(capped.find("t19"), std::string::npos);
  EXPECT_EQ(CapNesting("<table><tr><td>a</td></tr></table><table><tr><td>b</table>", 1),
            "<table><tr><td>a</td></tr></table><table><tr><td>b</table>");
}

TEST(PrepassTest, CapsElementNesting) {
  std::string page;
  for (int i = 0; i < 1000; ++i) page += "<div>";
  page += "x";
  for (int i = 0; i < 1000; ++i) page += "</div>";
  const std::string capped = CapNesting(page, 8, 100);
  EXPECT_EQ(capped, std::string(capped.size(), ' ').replace(0, capped.size(), capped));
  size_t opens = 0, closes = 0;
  for (size_t at = capped.find("<div>"); at != std::string::npos; at = capped.find("<div>", at + 1))
    ++opens;
  for (size_t at = capped.find("</div>"); at != std::string::npos;
       at = capped.find("</div>", at + 1))
    ++closes;
  EXPECT_EQ(opens, 100u);
  EXPECT_EQ(closes, 100u);
  // Paragraphs and list items close each other and do not count as nesting.
  std::string items;
  for (int i = 0; i < 500; ++i) items += "<li>item";
  EXPECT_EQ(CapNesting(items, 8, 100), items);
}

TEST(PrepassTest, RemovesCommentMarkersOnlyInsideStyleSheets) {
  EXPECT_EQ(
      StripStyleComments("<!-- c --><style type=text/css><!--\np{x:y}\n--></style><!-- d -->"),
      "<!-- c --><style type=text/css>\np{x:y}\n</style><!-- d -->");
  EXPECT_EQ(StripStyleComments("<STYLE><!-- a"), "<STYLE> a");
}

TEST(PrepassTest, MapsPresentationalAttributesToStyle) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"<font face=\"Arial, Times New Roman\" size=+1 color=ff0000>",
       "<font style=\"font-family:&quot;Arial&quot;,&quot;Times New Roman&quot;;"
       "font-size:1.13rem;color:#ff0000;\">"},
      {"<p align=center id=x>", "<p id=\"x\" style=\"text-align:center;\">"},
      {"<img src=a.gif width=10 align=left hspace=5 vspace=2 border=0>",
       "<img src=\"a.gif\" width=\"10\" style=\"width:10px;float:left;margin-left:5px;"
       "margin-right:5px;margin-top:2px;margin-bottom:2px;border:none;\">"},
      {"<td bgcolor=#c0c0c0 width=50% valign=top nowrap colspan=2 style=\"color:red\">",
       "<td colspan=\"2\" style=\"background-color:#c0c0c0;vertical-align:top;width:50%;"
       "white-space:nowrap;color:red\">"},
      {"<p>plain</p>", "<p>plain</p>"},
      {"<font color=\"red;x:url(j)\">", "<font color=\"red;x:url(j)\">"},  // not a colour
  };
  for (const Case& c : cases) EXPECT_EQ(MapPresentationalAttributes(c.in), c.out) << c.in;
}

TEST(PrepassTest, StylesManyTagsShareBecomeClassRules) {
  std::string css;
  std::string page;
  for (int i = 0; i < 5; ++i) page += "<td align=right class=own>x</td>";
  const std::string out = MapPresentationalAttributes(page + "<td align=left>y</td>", &css);
  EXPECT_EQ(css, ".quire-p0{text-align:right;}");
  EXPECT_NE(out.find("<td class=\"own quire-p0\">x"), std::string::npos) << out;
  EXPECT_NE(out.find("<td style=\"text-align:left;\">y"), std::string::npos) << out;
}

TEST(PrepassTest, TablesPassBorderAndPaddingToTheirCells) {
  const std::string out = MapPresentationalAttributes(
      "<table border=1 cellpadding=4 cellspacing=0 align=center><tr "
      "align=right><td>a</td></tr></table>"
      "<table><tr><td>b</td></tr></table>");
  EXPECT_NE(out.find("<table quire-cell-border=\"inset #a0a0a0\" quire-cell-padding=\"4\" "
                     "style=\"border:1px outset "
                     "#a0a0a0;border-spacing:0px;margin-left:auto;margin-right:auto;\""),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("<td style=\"text-align:right;\">a"), std::string::npos) << out;
  EXPECT_NE(out.find("<table><tr><td>b"), std::string::npos) << out;
  EXPECT_NE(MapPresentationalAttributes("<table border=2 bordercolor=red cellpadding=0>")
                .find("quire-cell-border=\"solid red\" quire-cell-padding=\"0\""),
            std::string::npos);
}

TEST(PrepassTest, BodyColoursBecomeCanvasAndLinkRules) {
  std::string css;
  const std::string out = MapPresentationalAttributes(
      "<body bgcolor=white background=\"bg.gif\" text=navy link=#0000ff vlink=purple>", &css);
  EXPECT_EQ(css,
            "html{background-color:white;background-image:url(\"bg.gif\");}a[href]{color:#0000ff}"
            "a[href].quire-visited{color:purple}");
  EXPECT_NE(out.find("style=\"color:navy;\""), std::string::npos) << out;
}

TEST(FramesetTest, ReadsFramesAndNestedFramesets) {
  auto set = ParseFrameset(
      "<html><head><title>t</title></head><frameset rows=\"20%,*\" border=0>"
      "<frame name=top src=top.htm scrolling=no><frameset cols=100,*><frame name=menu src=m.htm>"
      "<frame name=main src=c.htm></frameset><noframes><frame "
      "src=ignored.htm></noframes></frameset>");
  ASSERT_TRUE(set.has_value());
  EXPECT_EQ(set->Rows, "20%,*");
  EXPECT_EQ(set->Border, 0);
  ASSERT_EQ(set->Frames.size(), 2u);
  EXPECT_EQ(set->Frames[0].Name, "top");
  EXPECT_TRUE(set->Frames[0].NoScroll);
  ASSERT_TRUE(set->Frames[1].Nested);
  ASSERT_EQ(set->Frames[1].Nested->Frames.size(), 2u);
  EXPECT_EQ(set->Frames[1].Nested->Frames[1].Src, "c.htm");
  EXPECT_FALSE(ParseFrameset("<html><body><frameset><frame src=a></frameset>").has_value());
  EXPECT_FALSE(ParseFrameset("text first<frameset>").has_value());
}

TEST(FramesetTest, IgnoresFramesBeyondItsCellsAndDeepNesting) {
  std::string deep;
  for (int i = 0; i < 100; ++i) deep += "<frameset cols=*,*><frame src=a.htm>";
  auto set = ParseFrameset(deep);
  ASSERT_TRUE(set.has_value());
  int depth = 0;
  for (const FrameSetDef* s = &*set; s; ++depth) {
    s = s->Frames.size() > 1 ? s->Frames[1].Nested.get() : nullptr;
  }
  EXPECT_LE(depth, 8);
  auto crowded = ParseFrameset("<frameset rows=*,*><frame><frame><frame><frame></frameset>");
  EXPECT_EQ(crowded->Frames.size(), 2u);
}

TEST(FramesetTest, SharesOutSpaceByRowsAndCols) {
  struct Case {
    std::string lengths;
    int total;
    std::vector<int> sizes;
  } cases[] = {
      {"100,*", 400, {100, 300}},   {"25%,*,2*", 400, {100, 100, 200}},
      {"100,100", 400, {200, 200}},  // no "*": scaled to fit
      {"300,*", 200, {200, 0}},     {"", 50, {50}},
      {"*,*,*", 10, {3, 4, 3}},     {"abc,-5", 10, {5, 5}},
  };
  for (const Case& c : cases) EXPECT_EQ(ShareOut(c.lengths, c.total), c.sizes) << c.lengths;
  EXPECT_EQ(LengthCount(std::string(1000, ',')), 64);
}

}  // namespace
}  // namespace quire::engine::html
