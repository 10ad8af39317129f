#include "engine/html/default_style.h"

namespace quire::engine::html {

const std::string& DefaultStyleSheet() {
  static const std::string kSheet = R"css(
html { display: block; }
head, title, meta, link, style, script, base, basefont, map, area, param, noframes, noscript,
frameset, frame, bgsound, option, optgroup, datalist, template { display: none; }
body { display: block; margin: 8px; }
address, blockquote, center, div, dl, dd, dt, fieldset, form, h1, h2, h3, h4, h5, h6,
hr, listing, menu, dir, ol, p, plaintext, pre, ul, xmp, nav, section, article, header,
footer, aside, figure, figcaption { display: block; }
li { display: list-item; }
span, a, b, i, u, s, em, strong, font, big, small, sub, sup, tt, code, kbd, samp, var,
cite, dfn, abbr, acronym, q, strike, label, nobr { display: inline; }
img, select, input, textarea, button { display: inline-block; }
table { display: table; border-spacing: 2px; border-collapse: separate; text-indent: 0; }
caption { display: table-caption; text-align: center; }
tr { display: table-row; vertical-align: inherit; }
thead { display: table-header-group; vertical-align: middle; }
tbody { display: table-row-group; vertical-align: middle; }
tfoot { display: table-footer-group; vertical-align: middle; }
col { display: table-column; }
colgroup { display: table-column-group; }
td, th { display: table-cell; vertical-align: middle; text-align: left; }
th { font-weight: bold; text-align: center; }
p, dl, multicol { margin-top: 1em; margin-bottom: 1em; }
blockquote { margin: 1em 40px; }
dd { margin-left: 40px; }
h1 { font-size: 2em; margin: 0.67em 0; font-weight: bold; }
h2 { font-size: 1.5em; margin: 0.83em 0; font-weight: bold; }
h3 { font-size: 1.17em; margin: 1em 0; font-weight: bold; }
h4 { margin: 1.33em 0; font-weight: bold; }
h5 { font-size: 0.83em; margin: 1.67em 0; font-weight: bold; }
h6 { font-size: 0.67em; margin: 2.33em 0; font-weight: bold; }
b, strong { font-weight: bold; }
i, em, cite, var, dfn, address { font-style: italic; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
pre, xmp, listing, plaintext, tt, code, kbd, samp { font-family: "Courier New", monospace; }
pre, xmp, listing, plaintext { white-space: pre; margin: 1em 0; }
nobr { white-space: nowrap; }
big { font-size: 1.17em; }
small { font-size: 0.83em; }
sub { vertical-align: sub; font-size: 0.83em; position: relative; top: 0.3em; }
sup { vertical-align: super; font-size: 0.83em; position: relative; top: -0.45em; }
center { text-align: center; }
ul, ol, menu, dir { margin: 1em 0; padding-left: 40px; }
ul, menu, dir { list-style-type: disc; }
ol { list-style-type: decimal; }
ul ul, ol ul { list-style-type: circle; margin-top: 0; margin-bottom: 0; }
ul ul ul, ol ol ul, ol ul ul, ul ol ul { list-style-type: square; }
ol ol, ul ol { margin-top: 0; margin-bottom: 0; }
hr { border: 1px inset #a0a0a0; margin: 0.5em auto; height: 0; }
a { cursor: pointer; }
img { border: none; }
a img { border: 2px solid; }
br { display: block; }
)css";
  return kSheet;
}

}  // namespace quire::engine::html
