// What a page goes through before layout: charset detection and decoding, caps on nesting that
// would make parsing or layout explode, comment markers inside style sheets, and the HTML 3.2
// presentational attributes turned into style. Each step is a pure function of its input.
#pragma once

#include <string>
#include <string_view>

namespace quire::engine::html {

// The charset a page declares in a <meta> tag ("windows-1251", "koi8-r", "utf-8", lower
// case), or "" when it declares none. Only the first 4 KB are looked at, as browsers do.
std::string DeclaredCharset(std::string_view bytes);

// The page as UTF-8: decoded from its declared charset, Windows-1251 when it declares none.
std::string DecodePage(std::string_view bytes);

// Drops table markup nested deeper than `maxDepth` tables (its text stays, in reading order),
// any element nested deeper than `maxElementDepth` open elements, and formatting elements
// (<font>, <b>, ...) past 24 left open at once.
std::string CapNesting(std::string_view html, int maxDepth = 8, int maxElementDepth = 256);

// Removes "<!--" and "-->" inside <style> elements, so style sheets hidden from very old
// browsers still apply.
std::string StripStyleComments(std::string_view html);

// Rewrites HTML 3.2 presentational attributes (<font face size color>, align, valign,
// bgcolor, background, cellpadding, cellspacing, border, width, height, hspace, vspace, ...)
// as style attributes, and returns the body's link colours as a style sheet in `extraCss`.
// The border and padding a table gives its cells stay on the table, as the attributes below
// ("inset #a0a0a0" or "solid COLOUR", always 1px wide; padding in pixels): cells apply them
// themselves, which costs the layout far less than a dozen style properties per cell.
std::string MapPresentationalAttributes(std::string_view html, std::string* extraCss = nullptr);
inline constexpr const char* kCellBorderAttr = "quire-cell-border";
inline constexpr const char* kCellPaddingAttr = "quire-cell-padding";

// Everything above in order: bytes of a page to the UTF-8 text handed to the layout.
struct PreparedPage {
  std::string Html;
  std::string ExtraCss;
};
PreparedPage PreparePage(std::string_view bytes);

}  // namespace quire::engine::html
